#include "book/classic/movement_rows.h"

#include "book/classic/classic_sql.h"
#include "data/db_error.h"
#include "data/query.h"

namespace livros::classic {

namespace {

struct MovementColumns {
    QString date;
    QString quantity;
    QString expiry;  // empty: the kind has none
    QString unit;
    QString reason;  // empty: the kind has none
};

const MovementColumns& columnsOf(MovementKind kind)
{
    static const MovementColumns entry{QStringLiteral("DATARECEBIM"), QStringLiteral("QUANTIDADE"),
                                       QStringLiteral("VALIDADE"), QStringLiteral("UNIDADE"), QString()};
    static const MovementColumns exit{QStringLiteral("DATAPEDIDO"), QStringLiteral("QDEESTOQUE"),
                                      QStringLiteral("VALIDADELOTE"), QStringLiteral("UNID"), QString()};
    static const MovementColumns loss{QStringLiteral("DATA"), QStringLiteral("QUANTIDADE"), QString(),
                                      QStringLiteral("UNIDADE"), QStringLiteral("MOTIVO")};
    switch (kind) {
    case MovementKind::Entry:
        return entry;
    case MovementKind::Exit:
        return exit;
    case MovementKind::Loss:
        break;
    }
    return loss;
}

} // namespace

bool fetchDayMovements(data::Query& query, MovementKind kind, const QString& storeCnpj,
                       const ControlledComponent& component, const QDate& day, std::vector<MovementRow>& rows,
                       QString& statement)
{
    static const QString kSupplier = QStringLiteral("FORNECEDOR");
    static const QString kLot = QStringLiteral("LOTE");

    rows.clear();
    statement = movementSql(kind, storeCnpj, component.codigo, component.dcb, day);
    query.close();
    query.setSql(statement);
    try {
        query.open();
    } catch (const data::DatabaseUnavailable&) {
        throw; // not this query's failure: no query can run now
    } catch (const data::DbError&) {
        query.close();
        return false;
    }

    const MovementColumns& columns = columnsOf(kind);
    for (; !query.eof(); query.next()) {
        MovementRow& row = rows.emplace_back();
        row.date = query.asDateTime(columns.date).date();
        if (!row.date.isValid())
            row.date = day;
        row.quantity = query.asFloat(columns.quantity);
        row.supplier = query.asString(kSupplier);
        row.lot = query.asString(kLot);
        if (!columns.expiry.isEmpty())
            row.expiry = query.asString(columns.expiry);
        row.unit = query.asString(columns.unit);
        if (!columns.reason.isEmpty())
            row.reason = query.asString(columns.reason);
    }
    query.close();
    return true;
}

} // namespace livros::classic
