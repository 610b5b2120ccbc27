#include "book/classic/store_laboratory.h"

#include "data/data_module.h"
#include "platform/sql_literal.h"

namespace livros::classic {

std::optional<QString> exitsLaboratory(data::TDM& dm, const QString& storeCnpj)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("Select count(distinct LOJA) as QDE from TABLAB"));
    query.open();
    const int stores = query.asInteger(QStringLiteral("QDE"));
    query.close();
    if (stores <= 1)
        return std::nullopt;

    query.setSql(QStringLiteral("Select FIRST 1 LABORATORIO from TABLAB where LOJA = ") + sqlLiteral(storeCnpj));
    query.open();
    const QString laboratory = query.eof() ? QString() : query.asString(QStringLiteral("LABORATORIO"));
    query.close();
    return laboratory;
}

} // namespace livros::classic
