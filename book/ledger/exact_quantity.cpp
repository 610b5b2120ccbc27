#include "book/ledger/exact_quantity.h"

#include <QRegularExpression>

#include <cmath>

namespace livros::ledger {

ExactQuantity ExactQuantity::fromText(const QString& text, int powerOfTen)
{
    QString digits;
    bool negative = false;
    int pointAt = -1;
    int exponent = 0;
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+'))
        negative = trimmed[i++] == u'-';
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c.isDigit()) {
            digits += c;
        } else if ((c == u'.' || c == u',') && pointAt < 0) {
            pointAt = int(digits.size());
        } else if (c == u'e' || c == u'E') {
            bool ok = false;
            exponent = trimmed.mid(i + 1).toInt(&ok);
            if (!ok)
                return {};
            break;
        } else {
            return {};
        }
    }
    if (digits.isEmpty())
        return {};
    if (pointAt < 0)
        pointAt = int(digits.size());
    // The value is 0.digits * 10^(pointAt + exponent + powerOfTen); keep six decimals and one
    // more digit to round by.
    const int integerDigits = pointAt + exponent + powerOfTen;
    const int kept = integerDigits + 6;
    if (kept < 0)
        return {};
    QString scaled = digits.left(kept);
    if (scaled.size() < kept)
        scaled += QString(kept - scaled.size(), u'0');
    // Beyond 18 digits a count of millionths no longer fits: the quantity cannot be kept.
    const qsizetype significant = QString(scaled).remove(QRegularExpression(QStringLiteral("^0+"))).size();
    if (significant > 18) {
        ExactQuantity tooLarge;
        tooLarge.m_valid = false;
        return tooLarge;
    }
    const bool roundUp = kept < digits.size() && digits[kept] >= u'5';
    qint64 value = scaled.isEmpty() ? 0 : scaled.toLongLong();
    if (roundUp)
        ++value;
    return ExactQuantity(negative ? -value : value);
}

QString ExactQuantity::text() const
{
    const qint64 magnitude = m_millionths < 0 ? -m_millionths : m_millionths;
    return (m_millionths < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 1000000) + u'.'
        + QString::number(magnitude % 1000000).rightJustified(6, u'0');
}

int powerOfTenOf(double factor) { return int(std::lround(std::log10(factor))); }

} // namespace livros::ledger
