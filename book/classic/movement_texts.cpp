#include "book/classic/movement_texts.h"

#include "platform/number_format.h"

namespace livros::classic {

namespace {
constexpr int kSupplierLength = 20;
constexpr int kReasonLength = 23;
} // namespace

QString historyText(MovementKind kind, const MovementRow& row, const QLocale& locale)
{
    const QString quantity = formatNumber(row.quantity, QStringLiteral("#,###,##0.000000"), locale);
    QString text;
    text.reserve(96);
    if (kind == MovementKind::Loss) {
        text += QStringLiteral("Perda - Forn: ");
        text += row.supplier.left(kSupplierLength);
        text += QStringLiteral(" Lote: ");
        text += row.lot;
    } else {
        text += QStringLiteral("Forn: ");
        text += row.supplier.left(kSupplierLength);
        text += QStringLiteral(" Lote: ");
        text += row.lot;
        text += QStringLiteral(" Val: ");
        text += row.expiry;
    }
    text += QStringLiteral("  Qde: ");
    text += quantity;
    text += QLatin1Char(' ');
    text += row.unit;
    return text;
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
