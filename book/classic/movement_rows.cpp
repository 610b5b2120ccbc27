#include "book/classic/movement_rows.h"

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

double bookQuantity(MovementKind kind, const MovementRow& row, const QString& bookUnit)
{
    if (kind != MovementKind::Entry)
        return row.quantity;
    const QString purchaseUnit = row.unit.trimmed().toUpper();
    const QString unit = bookUnit.trimmed().toUpper();
    const bool thousandfold = (purchaseUnit == QLatin1String("KG") || purchaseUnit == QLatin1String("L"))
        && (unit == QLatin1String("G") || unit == QLatin1String("ML"));
    return thousandfold ? row.quantity * 1000 : row.quantity;
}

} // namespace livros::classic
