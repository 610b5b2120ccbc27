#include "data/value_text.h"

#include "data/db_error.h"
#include "platform/book_locale.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cmath>

namespace livros::data {

QString valueText(const QVariant& value)
{
    if (value.isNull())
        return {};
    const QLocale& locale = bookLocale();
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDate:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return locale.toString(value.toTime(), QLocale::LongFormat);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return locale.toString(dt.date(), QLocale::ShortFormat);
        return locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ')
            + locale.toString(dt.time(), QLocale::LongFormat);
    }
    case QMetaType::Double: {
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        return plain.toString(value.toDouble(), 'g', 15);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

double valueDouble(const QVariant& value)
{
    if (value.isNull())
        return 0;
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const QString text = value.toString().trimmed();
        double d = bookLocale().toDouble(text, &ok);
        if (!ok)
            d = text.toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' não é um número válido").arg(value.toString()));
        return d;
    }
    return value.toDouble();
}

int valueInteger(const QVariant& value)
{
    if (value.isNull())
        return 0;
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const int i = value.toString().trimmed().toInt(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' não é um número inteiro válido").arg(value.toString()));
        return i;
    }
    if (value.metaType().id() == QMetaType::Double)
        return int(std::lround(value.toDouble()));
    return value.toInt();
}

QDateTime valueDateTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QDateTime:
        return value.toDateTime();
    default:
        throw DbError(QStringLiteral("'%1' não é uma data e hora válida").arg(valueText(value)));
    }
}

} // namespace livros::data
