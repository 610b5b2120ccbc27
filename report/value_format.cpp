#include "report/value_format.h"

#include "platform/book_locale.h"
#include "platform/number_format.h"

#include <QDate>
#include <QDateTime>

namespace livros::report {
namespace {

QString trimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

} // namespace

QString formatPictureNumber(double value, const QString& picture)
{
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    if (point < 0)
        return formatNumber(value, picture);
    const QString decimals = picture.mid(point + 1);
    const int maxDecimals = int(decimals.size());
    const int minDecimals = int(decimals.count(QLatin1Char('0')));
    QString text = formatNumber(value, picture.left(point + 1) + QString(maxDecimals, QLatin1Char('0')));
    if (minDecimals == maxDecimals)
        return text;
    const QString separator = bookLocale().decimalPoint();
    const qsizetype sep = text.lastIndexOf(separator);
    if (sep < 0)
        return text;
    qsizetype keep = text.size();
    while (keep > sep + separator.size() + minDecimals && text.at(keep - 1) == QLatin1Char('0'))
        --keep;
    if (keep == sep + separator.size())
        keep = sep; // no decimal left: no separator either
    text.truncate(keep);
    if (text == bookLocale().negativeSign() + QLatin1Char('0'))
        text = QStringLiteral("0");
    return text;
}

QString applyMask(const QString& text, const QString& mask)
{
    QString out;
    qsizetype next = 0;
    for (QChar m : mask) {
        if (m == QLatin1Char('#')) {
            if (next < text.size())
                out += text.at(next++);
        } else {
            out += m;
        }
    }
    return out;
}

QString formatFieldValue(const QVariant& value, const QString& displayText, const ValueFormat& format)
{
    if (value.isNull())
        return QString();
    QString text;
    if (!format.number.isEmpty()) {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok) {
            text = trimRight(displayText);
        } else {
            if (format.blankWhenZero && d == 0)
                return QString();
            text = formatPictureNumber(d, format.number);
        }
    } else if (!format.date.isEmpty()) {
        const QDate date = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        text = date.isValid() ? date.toString(format.date) : trimRight(displayText);
    } else if (!format.mask.isEmpty()) {
        text = applyMask(displayText.trimmed(), format.mask);
    } else if (!format.words.isEmpty()) {
        const QString code = displayText.trimmed();
        text = format.words.value(code, code);
    } else {
        text = trimRight(displayText);
    }
    if (text.isEmpty())
        return text;
    return format.prefix + text + format.suffix;
}

} // namespace livros::report
