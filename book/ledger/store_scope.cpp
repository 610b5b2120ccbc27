#include "book/ledger/store_scope.h"

#include "data/query.h"
#include "platform/sql_literal.h"

namespace livros::ledger {

bool StoreScope::owns(const QString& laboratory, bool laboratoryKnown, OneStore whenOneStore) const
{
    if (!severalStores && whenOneStore == OneStore::EveryLaboratory)
        return true;
    return laboratoryKnown && laboratories.contains(comparedText(laboratory));
}

StoreScope readStoreScope(data::Query& query, const QString& cnpj)
{
    StoreScope scope;
    scope.cnpj = cnpj;
    query.close();
    query.setSql(QStringLiteral("Select count(distinct LOJA) as QDE from TABLAB"));
    query.open();
    scope.severalStores = query.asInteger(QStringLiteral("QDE")) > 1;
    query.close();

    query.setSql(QStringLiteral("Select LABORATORIO from TABLAB where LOJA = cast(? as varchar(255)) "
                                "order by LABORATORIO"),
                 {cnpj});
    query.open();
    for (; !query.eof(); query.next()) {
        if (query.isNull(QStringLiteral("LABORATORIO")))
            continue;
        const QString laboratory = comparedText(query.asString(QStringLiteral("LABORATORIO")));
        if (!scope.laboratories.contains(laboratory))
            scope.laboratories << laboratory;
    }
    query.close();
    // A store without a laboratory of its own owns only the formulas recorded without one.
    if (scope.laboratories.isEmpty())
        scope.laboratories << QString();
    return scope;
}

} // namespace livros::ledger
