#include "forms/controlled_sales.h"

#include "data/data_module.h"
#include "data/query.h"

namespace livros::forms {

namespace {

// One select per kind of sale; `source` is the formula (F) or the item (I) carrying the
// notification and the laboratory. Its placeholders: the first and last day, then the store.
QString salesSelect(bool drugstore)
{
    const QString source = drugstore ? QStringLiteral("I") : QStringLiteral("F");
    QString sql = QStringLiteral("Select P.DATAPEDIDO, P.ESTACAO, P.NPEDIDO, P.PACIENTE, P.MEDICO, "
                                 "P.CONSELHOPROFISSIONAL, P.CRM, P.UFCONSELHO, %1.NUMERONOTIFICACAO, C.CODIGO, "
                                 "C.COMPONENTE, C.DCB, C.LISTA, ")
                      .arg(source);
    if (drugstore)
        sql += QStringLiteral("I.QDE as QUANTIDADE, C.UNID as UNIDADE, 1 as DROGARIA from PEDIDOS P "
                              "join ITENS I on I.ESTACAO = P.ESTACAO and I.NPEDIDO = P.NPEDIDO "
                              "join COMPONEN C on C.CODIGO = I.CODPROD ");
    else
        sql += QStringLiteral("CP.QDEESTOQUE as QUANTIDADE, CP.UNID as UNIDADE, 0 as DROGARIA from PEDIDOS P "
                              "join PEDIFORM F on F.ESTACAO = P.ESTACAO and F.NPEDIDO = P.NPEDIDO "
                              "join COMPEDID CP on CP.ESTACAO = F.ESTACAO and CP.NPEDIDO = F.NPEDIDO and "
                              "CP.NFORMULA = F.NFORMULA join COMPONEN C on C.CODIGO = CP.CODIGOCOMP ");
    sql += QStringLiteral("where P.TIPOPEDIDO = 'Pedido' and P.DATAPEDIDO between ? and ?"
                          " and C.CONTROLADA = 'Sim' and C.LISTA is not null and C.LISTA <> ''");
    // Orders of several stores share the tables; only the laboratory tells them apart.
    sql += QStringLiteral(" and ((select count(distinct T.LOJA) from TABLAB T) <= 1 or %1.LABORATORIO in "
                          "(select T.LABORATORIO from TABLAB T where T.LOJA = cast(? as varchar(255))))")
               .arg(source);
    return sql;
}

} // namespace

std::vector<ControlledSale> readControlledSales(data::TDM& dm, const QString& cnpj, const QDate& first,
                                                const QDate& last)
{
    data::Query query(dm.sqlcon1, QStringLiteral("ControlledSalesQuery"));
    query.setSql(salesSelect(false) + QStringLiteral(" union all ") + salesSelect(true)
                     + QStringLiteral(" order by 1, 2, 3, 10"),
                 {first, last, cnpj, first, last, cnpj});
    query.open();
    std::vector<ControlledSale> sales;
    for (; !query.eof(); query.next()) {
        ControlledSale sale;
        sale.date = query.asDateTime(QStringLiteral("DATAPEDIDO")).date();
        sale.station = query.asString(QStringLiteral("ESTACAO")).trimmed();
        sale.order = query.asString(QStringLiteral("NPEDIDO")).trimmed();
        sale.patient = query.asString(QStringLiteral("PACIENTE")).trimmed();
        sale.prescriber = query.asString(QStringLiteral("MEDICO")).trimmed();
        sale.council = query.asString(QStringLiteral("CONSELHOPROFISSIONAL")).trimmed();
        sale.councilNumber = query.asString(QStringLiteral("CRM")).trimmed();
        sale.councilState = query.asString(QStringLiteral("UFCONSELHO")).trimmed();
        sale.notification = query.asString(QStringLiteral("NUMERONOTIFICACAO")).trimmed();
        sale.codigo = query.asString(QStringLiteral("CODIGO")).trimmed();
        sale.name = query.asString(QStringLiteral("COMPONENTE")).trimmed();
        sale.dcb = query.asString(QStringLiteral("DCB")).trimmed();
        sale.lista = query.asString(QStringLiteral("LISTA")).trimmed();
        sale.quantity = query.asFloat(QStringLiteral("QUANTIDADE"));
        sale.unit = query.asString(QStringLiteral("UNIDADE")).trimmed();
        sale.drugstore = query.asInteger(QStringLiteral("DROGARIA")) == 1;
        sales.push_back(std::move(sale));
    }
    query.close();
    return sales;
}

} // namespace livros::forms
