#pragma once
#include "book/revised/movement_statement.h"
#include "book/revised/revised_build_view.h"

#include "data/query.h"

#include <QDate>
#include <QString>
#include <vector>

namespace livros::data {
class TDM;
class Query;
class Transaction;
}

namespace livros::revised {

inline constexpr char16_t kBadStartDateMessage[] = u"Data Inicial incorreta. Corrija e tente novamente.";
inline constexpr char16_t kBadEndDateMessage[] = u"Data Final incorreta. Corrija e tente novamente.";
inline constexpr char16_t kStatementFailedMessage[] = u"Falha ao buscar movimentações!";

// The SQL texts of a build besides the movement statement.
QString deleteStoreBook(const QString& cnpj);
QString componentSelection(RevisedMode mode);
// The catalogue rows of the SIPROQUIM report (its WHERE condition): the controlled chemicals,
// shared with the monthly map so that both declare the same products.
QString siproquimComponentCondition();

// One row of the component selection, as the build uses it. Code, unit and list are kept as
// read: the lines apply their widths and the blank-list rule.
struct ComponentRow {
    QString codigo;
    QString componente; // first 80 characters, shown in the progress footer
    QString unid;
    QString lista;
    QString fornecedor;
    QString name;       // COMPONENTE whole
    bool nameKnown = true;
    QString dcb;
    QString registration; // REGMSMEDICAM
};

// The component selection's rows, as a build reads them.
std::vector<ComponentRow> readComponentRows(data::Query& query, RevisedMode mode);

enum class RevisedBuildOutcome {
    Built,           // every line was written and the preview was shown
    NoInventory,     // the store has no inventory on the first day; nothing changed
    Refused,         // the ledger refused movements or inventory rows, each named; nothing changed
    BadStartDate,    // nothing changed in the database
    BadEndDate,      // invalid or before the start date; nothing changed in the database
    StatementFailed, // nothing changed: the store's previous book is whole
};

struct RevisedBuildResult {
    RevisedBuildOutcome outcome = RevisedBuildOutcome::Built;
    int components = 0;      // rows of the component selection
    int statementsRun = 0;   // products whose lines were computed
    QString failedStatement; // the text of the statement that failed
    QString failureReason;   // the server's message for it
};

// Rebuilds one store's revised book in LIVROREVCONTR for a period: the store's lines are
// deleted, the store's ledger of the run mode's products is read (one query per kind), each
// product's lines and running stock are computed from it and written in batches, the lines are
// checked (opening stock, then every line's stock in their stored order), then the book is
// previewed. A store without inventory on the first day, or a movement the ledger refuses,
// stops the build before anything is written.
//
// The build is one transaction that holds the store's claim on LIVROREVCONTR: a build of the same
// store from another workstation waits for it (showing why) up to the lock timeout, builds of
// other stores go on at the same time, and the delete, the lines and the check
// commit together before the preview. Any failure rolls it back: the store's previous book stays
// whole. A failing movement statement is reported with its text and ends the build; a check that
// does not add up throws book::StockCheckFailed naming the product; other errors (the laboratory
// read, the component selection, a database that cannot serve the build at all, the preview)
// propagate with no preview, their text saying that the book was not built.
class RevisedBookBuilder {
public:
    RevisedBookBuilder(data::TDM& dm, RevisedBuildView& view);

    // The dates as the period edits hold them, "dd/mm/yy".
    RevisedBuildResult build(RevisedMode mode, const QString& cnpj, const QString& startText,
                             const QString& endText);
    // Dates already read; an invalid date is reported as the edit's text would be.
    RevisedBuildResult build(RevisedMode mode, const QString& cnpj, const QDate& start, const QDate& end);

private:
    RevisedBuildResult writeBook(RevisedMode mode, const MovementValues& values,
                                 const std::vector<ComponentRow>& components, data::Transaction& transaction);

    data::TDM& m_dm;
    RevisedBuildView& m_view;
    data::Query m_query; // the builder's own: the selection, the ledger, the numbering, the check
};

} // namespace livros::revised
