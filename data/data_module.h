#pragma once
#include "data/cached_dataset.h"
#include "data/connection.h"
#include "data/query.h"

#include <QString>

namespace livros::data {

// The data module: the two connections, the two ad-hoc queries and the cached datasets that
// the window, the builders and the reports share. One instance, `DM`, for the whole run.
class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Start-up: ReadConfiguration, the client library choice, the database paths. A missing
    // QUILMARA.INI shows its message and ends the program; a file error is shown in the standard
    // error display and the remaining steps are skipped.
    void DataModuleCreate();
    void ReadConfiguration();

    const QString& centralServerAddress() const { return m_serverAddress; }

    Connection sqlcon1; // main database
    Connection sqlcon2; // interface database (PERIODO)
    Query SQLQuery1;
    Query SQLQuery2;

    CachedDataset LivroContr;
    CachedDataset CDS_LivroRevContr; // its command text is SQLDS_LivroRevContr's
    CachedDataset Periodo;
    CachedDataset DadosGer;
    CachedDataset Componentes;

    Field PeriodoDATAINICIAL() { return Periodo.field(QStringLiteral("DATAINICIAL")); }
    Field PeriodoDATAFINAL() { return Periodo.field(QStringLiteral("DATAFINAL")); }
    Field DadosGerCNPJ() { return DadosGer.field(QStringLiteral("CNPJ")); }

    // The command text of `SQLDS_LivroRevContr` (the revised book's selection).
    void setRevisedBookSelection(const QString& text) { CDS_LivroRevContr.setCommandText(text); }

    // Applies the period record's change log and refreshes it, after every post.
    void PeriodoAfterPost();

private:
    void chooseClientLibrary();
    void setDatabasePaths();

    QString m_serverAddress;
};

// The one instance, created by the main program (and by tests).
extern TDM* DM;

// The selects of the report-facing datasets.
QString livroContrSelect();
// The classic book lines of one store (what printing a store's book shows).
QString livroContrSelect(const QString& storeCnpj);
QString livroRevContrDesignedSelect();
QString periodoSelect();
QString dadosGerSelect();
QString componentesSelect();

} // namespace livros::data
