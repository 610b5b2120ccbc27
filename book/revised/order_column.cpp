#include "book/revised/order_column.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/query.h"

namespace livros::revised {

void ensureRevisedOrderColumn(data::Connection& connection)
{
    data::Query query(connection, QStringLiteral("RevisedOrderColumn"));
    query.setSql(QStringLiteral("select count(*) N from RDB$RELATION_FIELDS where RDB$RELATION_NAME = 'LIVROREVCONTR' "
                                "and RDB$FIELD_NAME = 'ORDEM'"));
    query.open();
    const bool present = query.asInteger(QStringLiteral("N")) > 0;
    query.close();
    if (present)
        return;
    try {
        connection.execute(QStringLiteral("ALTER TABLE LIVROREVCONTR ADD ORDEM INTEGER"));
    } catch (const data::DbError&) {
        // A database that cannot take the column (read-only) cannot take a build either: the
        // build's own statements then say why.
    }
}

} // namespace livros::revised
