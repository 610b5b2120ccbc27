#include "forms/form_period.h"

#include <QRegularExpression>

namespace livros::forms {

namespace {

// The years the suite's dates can hold sensibly: a typing slip ("226") is refused.
bool plausibleYear(int year) { return year >= 1900 && year <= 9999; }

FormPeriod makePeriod(FormPeriod::Kind kind, int number, int year, const QDate& first, const QDate& last)
{
    FormPeriod period;
    period.kind = kind;
    period.number = number;
    period.year = year;
    period.first = first;
    period.last = last;
    return period;
}

} // namespace

QString FormPeriod::text() const
{
    switch (kind) {
    case Kind::Quarter:
        return QStringLiteral("%1º trimestre de %2").arg(number).arg(year);
    case Kind::Year:
        return QStringLiteral("Anual %1").arg(year);
    case Kind::Month:
        break;
    }
    return QStringLiteral("%1/%2").arg(number, 2, 10, QLatin1Char('0')).arg(year);
}

QString FormPeriod::annualOrQuarterly() const
{
    return kind == Kind::Year ? QStringLiteral("ANUAL") : QStringLiteral("TRIMESTRAL");
}

std::optional<FormPeriod> quarterPeriod(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([1-4])/(\\d{4})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch() || !plausibleYear(match.captured(2).toInt()))
        return std::nullopt;
    const int quarter = match.captured(1).toInt();
    const int year = match.captured(2).toInt();
    const QDate first(year, 3 * (quarter - 1) + 1, 1);
    return makePeriod(FormPeriod::Kind::Quarter, quarter, year, first, first.addMonths(3).addDays(-1));
}

std::optional<FormPeriod> yearPeriod(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}$"));
    if (!pattern.match(text.trimmed()).hasMatch() || !plausibleYear(text.trimmed().toInt()))
        return std::nullopt;
    const int year = text.trimmed().toInt();
    return makePeriod(FormPeriod::Kind::Year, 0, year, QDate(year, 1, 1), QDate(year, 12, 31));
}

std::optional<FormPeriod> monthPeriod(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{4})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int month = match.captured(1).toInt();
    const int year = match.captured(2).toInt();
    if (month < 1 || month > 12 || !plausibleYear(year))
        return std::nullopt;
    const QDate first(year, month, 1);
    return makePeriod(FormPeriod::Kind::Month, month, year, first, first.addMonths(1).addDays(-1));
}

} // namespace livros::forms
