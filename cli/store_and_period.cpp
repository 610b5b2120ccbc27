#include "cli/store_and_period.h"

#include "data/data_module.h"

namespace livros::cli {

QString singleStoreCnpj(data::TDM& dm)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select count(*) QDELAB from TABLAB"));
    query.open();
    const int stores = query.asInteger(QStringLiteral("QDELAB"));
    query.close();
    if (stores != 1)
        return {};
    dm.DadosGer.open();
    const QString cnpj = dm.DadosGer.isEmpty() ? QString() : dm.DadosGerCNPJ().asString().left(18);
    dm.DadosGer.close();
    return cnpj;
}

int countRows(data::TDM& dm, const QString& sql)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(sql);
    query.open();
    const int count = query.asInteger(QStringLiteral("N"));
    query.close();
    return count;
}

void periodRecordDates(data::TDM& dm, QDate& from, QDate& to)
{
    dm.Periodo.open();
    from = to = QDate();
    if (!dm.Periodo.isEmpty()) {
        from = dm.PeriodoDATAINICIAL().asDate();
        to = dm.PeriodoDATAFINAL().asDate();
    }
    dm.Periodo.close();
}

} // namespace livros::cli
