#include "platform/number_format.h"

#include <cmath>

namespace livros {

QString formatNumber(double value, const QString& picture, const QLocale& locale)
{
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QStringView intPart = point < 0 ? QStringView(picture) : QStringView(picture).left(point);
    const int decimals = point < 0 ? 0 : int(picture.size() - point - 1);
    const bool grouped = intPart.contains(QLatin1Char(','));
    int minIntDigits = int(intPart.count(QLatin1Char('0')));
    if (minIntDigits < 1)
        minIntDigits = 1;

    QLocale loc = locale;
    loc.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    QString text = loc.toString(std::fabs(value), 'f', decimals);

    // Left zero padding beyond one integer digit (not used with grouping in practice).
    const QString decimalPoint = loc.decimalPoint();
    qsizetype intLen = decimals > 0 ? text.indexOf(decimalPoint) : text.size();
    if (intLen < 0)
        intLen = text.size();
    if (!grouped && intLen < minIntDigits)
        text.prepend(QString(minIntDigits - intLen, QLatin1Char('0')));

    bool allZero = true;
    for (QChar c : text) {
        if (c.isDigit() && c != QLatin1Char('0')) {
            allZero = false;
            break;
        }
    }
    if (value < 0 && !allZero)
        text.prepend(loc.negativeSign());
    return text;
}

} // namespace livros
