#include "book/classic/book_listing.h"

#include "platform/date_text.h"
#include "platform/number_format.h"

namespace livros::classic {

namespace {

constexpr int kListingWidth = 153;
constexpr int kHistoryWidth = 85;
constexpr int kBalanceWidth = 14;

QString blankLine() { return QStringLiteral(" "); }

QString rule(QChar c, int width = kListingWidth) { return QString(width, c); }

QString movementCellPiece(MovementKind kind)
{
    // The movement cell with its surrounding bars: the cell is 10 characters and, with the
    // blank before it, fills the 11-character column of the heading.
    return kind == MovementKind::Entry ? QStringLiteral(" | Entrada   | ") : QStringLiteral(" | Saída     | ");
}

} // namespace

QString upperAsciiLetters(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    }
    return out;
}

QStringList componentHeading(const QString& groupTitleLine, const QDate& initialDate, const QDate& finalDate)
{
    return {
        blankLine(),
        blankLine(),
        blankLine(),
        rule(QLatin1Char('=')),
        groupTitleLine,
        QStringLiteral(" Período: ") + dateText(initialDate) + QStringLiteral(" a ") + dateText(finalDate),
        blankLine(),
    };
}

QStringList unitErrorBlock(const QString& catalogueUnit, const QString& inventoryUnit, double inventoryQuantity,
                           const QLocale& locale)
{
    const QString stars = QStringLiteral("* * * * * * * * * *");
    return {
        stars,
        QStringLiteral("ERRO: Inconsistência na Unidade do componente"),
        QStringLiteral("  Em COMPONEN: Unid = ") + catalogueUnit,
        QStringLiteral("  Em BALANCOS: Unid = ") + inventoryUnit,
        QStringLiteral("  Em BALANCOS: QDE. = ") + formatNumber(inventoryQuantity, QStringLiteral("#,###,##0.0000"), locale),
        stars,
    };
}

QString balanceLineWithoutInventory(const QString& componente, const QString& dcb, const QString& bookUnit)
{
    return QLatin1Char(' ') + upperAsciiLetters(componente) + QStringLiteral("    DCB: ") + dcb
        + QStringLiteral("    SALDO INICIAL: 0.000 ") + bookUnit;
}

QString balanceLineWithInventory(const QString& componente, const QString& dcb, double openingBalance,
                                 const QString& bookUnit, const QLocale& locale)
{
    return QLatin1Char(' ') + upperAsciiLetters(componente) + QStringLiteral("    DCB: ") + dcb
        + QStringLiteral("    SALDO INICIAL: ") + formatNumber(openingBalance, QStringLiteral("###,##0.0000"), locale)
        + QLatin1Char(' ') + bookUnit;
}

QStringList columnHeading()
{
    const QChar bar = QLatin1Char('|');
    const QString titles = QStringLiteral(" DATA").leftJustified(10) + bar
        + QStringLiteral(" HISTÓRICO").leftJustified(87) + bar + QStringLiteral(" MOVIMENTO ") + bar
        + QStringLiteral(" ESTOQUE").leftJustified(16) + bar + QStringLiteral(" OBSERVAÇÃO").leftJustified(25);
    const QChar dash = QLatin1Char('-');
    const QString columnRule = QString(10, dash) + bar + QString(87, dash) + bar + QString(11, dash) + bar
        + QString(16, dash) + bar + QString(25, dash);
    return {blankLine(), rule(dash), titles, columnRule};
}

QString movementLine(MovementKind kind, const QDate& date, const QString& history, double runningBalance,
                     const QString& observation, const QLocale& locale)
{
    const QString balance = formatNumber(runningBalance, QStringLiteral("###,##0.00000"), locale);
    QString line;
    line.reserve(kListingWidth + 8);
    line += QLatin1Char(' ');
    line += dateText(date);
    line += QStringLiteral(" | ");
    line += history.leftJustified(kHistoryWidth);
    line += movementCellPiece(kind);
    line += balance.rightJustified(kBalanceWidth);
    line += QStringLiteral(" | ");
    line += observation;
    return line;
}

QString noMovementLine() { return QStringLiteral("NÃO HOUVE MOVIMENTAÇÃO NESSE PERÍODO"); }

QStringList componentClosing() { return {rule(QLatin1Char('=')), blankLine(), blankLine()}; }

QStringList groupClosing() { return {blankLine()}; }

QStringList listingClosing()
{
    return {blankLine(), QString(60, QLatin1Char('-')) + QStringLiteral("  FIM  ") + QString(75, QLatin1Char('-'))};
}

} // namespace livros::classic
