#include "report/dataset_connection.h"

#include "data/cached_dataset.h"
#include "data/data_module.h"

namespace livros::report {

bool DatasetConnection::active() const { return m_dataset.active(); }
void DatasetConnection::open() { m_dataset.open(); }
void DatasetConnection::close() { m_dataset.close(); }
int DatasetConnection::rowCount() const { return m_dataset.active() ? m_dataset.recordCount() : 0; }
QStringList DatasetConnection::fieldNames() const { return m_dataset.fieldNames(); }

QVariant DatasetConnection::value(int row, const QString& field) const { return m_dataset.value(row, field); }

QString DatasetConnection::displayText(int row, const QString& field) const { return m_dataset.displayText(row, field); }

DataModuleConnections::DataModuleConnections(data::TDM& dm)
    : RvDSLivContr(dm.LivroContr), RvDSPeriodo(dm.Periodo), RvDSCompon(dm.Componentes), RvDSDadosGer(dm.DadosGer),
      RvDSConRelLivrosRev(dm.CDS_LivroRevContr)
{
    set.add(QStringLiteral("RvDSLivContr"), &RvDSLivContr);
    set.add(QStringLiteral("RvDSPeriodo"), &RvDSPeriodo);
    set.add(QStringLiteral("RvDSCompon"), &RvDSCompon);
    set.add(QStringLiteral("RvDSDadosGer"), &RvDSDadosGer);
    set.add(QStringLiteral("RvDSConRelLivrosRev"), &RvDSConRelLivrosRev);
}

} // namespace livros::report
