#include "book/classic/movement_texts.h"

#include "platform/number_format.h"

#include <algorithm>

namespace livros::classic {

namespace {
constexpr int kSupplierLength = 20;
constexpr int kReasonLength = 23;
} // namespace

namespace {

QString composedHistory(MovementKind kind, const MovementRow& row, const QString& supplier, const QString& lot,
                        const QString& quantity)
{
    QString text;
    text.reserve(96);
    text += kind == MovementKind::Loss ? QStringLiteral("Perda - Forn: ") : QStringLiteral("Forn: ");
    text += supplier;
    text += QStringLiteral(" Lote: ");
    text += lot;
    if (kind != MovementKind::Loss) {
        text += QStringLiteral(" Val: ");
        text += row.expiry;
    }
    text += QStringLiteral("  Qde: ");
    text += quantity;
    text += QLatin1Char(' ');
    text += row.unit;
    return text;
}

QString quantityText(const MovementRow& row, const QLocale& locale)
{
    return formatNumber(row.quantity, QStringLiteral("#,###,##0.000000"), locale);
}

} // namespace

QString historyText(MovementKind kind, const MovementRow& row, const QLocale& locale)
{
    return composedHistory(kind, row, row.supplier.left(kSupplierLength), row.lot, quantityText(row, locale));
}

QString fittedHistoryText(MovementKind kind, const MovementRow& row, int width, const QLocale& locale)
{
    QString supplier = row.supplier.left(kSupplierLength);
    QString lot = row.lot;
    const QString quantity = quantityText(row, locale);
    const qsizetype excess = composedHistory(kind, row, supplier, lot, quantity).size() - width;
    if (excess > 0) {
        const qsizetype fromSupplier = std::min(excess, supplier.size());
        supplier.chop(fromSupplier);
        lot.chop(std::min(excess - fromSupplier, lot.size()));
    }
    // Only a quantity and unit wider than the column itself are cut.
    return composedHistory(kind, row, supplier, lot, quantity).left(width);
}

QString observationText(MovementKind kind, const MovementRow& row)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("Compra");
    case MovementKind::Exit:
        return QStringLiteral("Venda");
    case MovementKind::Loss:
        break;
    }
    return row.reason.left(kReasonLength);
}

QString movementName(MovementKind kind)
{
    return kind == MovementKind::Entry ? QStringLiteral("Entrada") : QStringLiteral("Saída");
}

} // namespace livros::classic
