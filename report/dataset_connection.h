#pragma once
#include "report/report_data_source.h"

namespace livros::data {
class CachedDataset;
class TDM;
} // namespace livros::data

namespace livros::report {

// A report data connection over one of the data module's cached datasets: the report reads the
// dataset's rows and display texts; opening and closing are the dataset's own.
class DatasetConnection : public ReportDataSource {
public:
    explicit DatasetConnection(data::CachedDataset& dataset) : m_dataset(dataset) {}

    bool active() const override;
    void open() override;
    void close() override;
    int rowCount() const override;
    QStringList fieldNames() const override;
    QVariant value(int row, const QString& field) const override;
    QString displayText(int row, const QString& field) const override;

private:
    data::CachedDataset& m_dataset;
};

// The five named connections that the layouts read, each on its dataset of the data module.
struct DataModuleConnections {
    explicit DataModuleConnections(data::TDM& dm);
    DataModuleConnections(const DataModuleConnections&) = delete;
    DataModuleConnections& operator=(const DataModuleConnections&) = delete;

    DatasetConnection RvDSLivContr;        // LivroContr: the classic book
    DatasetConnection RvDSPeriodo;         // Periodo
    DatasetConnection RvDSCompon;          // Componentes: the catalogue
    DatasetConnection RvDSDadosGer;        // DadosGer: the company record
    DatasetConnection RvDSConRelLivrosRev; // CDS_LivroRevContr: the revised book
    ConnectionSet set;
};

} // namespace livros::report
