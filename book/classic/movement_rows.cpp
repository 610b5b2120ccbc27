#include "book/classic/movement_rows.h"

#include "book/ledger/units.h"
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

MovementRow readMovementRow(const data::Query& query, MovementKind kind)
{
    static const QString kSupplier = QStringLiteral("FORNECEDOR");
    static const QString kLot = QStringLiteral("LOTE");

    const MovementColumns& columns = columnsOf(kind);
    MovementRow row;
    row.date = query.asDateTime(columns.date).date();
    row.quantity = query.asFloat(columns.quantity);
    row.supplier = query.asString(kSupplier);
    row.lot = query.asString(kLot);
    if (!columns.expiry.isEmpty())
        row.expiry = query.asString(columns.expiry);
    row.unit = query.asString(columns.unit);
    if (!columns.reason.isEmpty())
        row.reason = query.asString(columns.reason);
    return row;
}

double bookQuantity(const MovementRow& row, const QString& bookUnit)
{
    return row.quantity * ledger::unitFactor(row.unit, bookUnit).value_or(1.0);
}

MovementRow movementRowOf(const ledger::Movement& movement)
{
    MovementRow row;
    row.date = movement.date;
    row.quantity = movement.quantity;
    row.supplier = movement.supplier;
    row.lot = movement.lot;
    row.expiry = movement.expiry;
    row.unit = movement.unit;
    row.reason = movement.reason;
    row.factor = movement.factor;
    return row;
}

} // namespace livros::classic
