#include "platform/date_text.h"

namespace livros {

namespace {

// A small scanner over the text: blanks are skipped wherever a number or a separator may start.
class DateScanner {
public:
    explicit DateScanner(const QString& text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char(' '))
            ++m_pos;
    }

    // Reads an unsigned number of one or two digits; returns the number of digits read, 0 when
    // there is none or more than two.
    int number(int& value)
    {
        skipBlanks();
        value = 0;
        int digits = 0;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                break;
            value = value * 10 + (c.unicode() - '0');
            ++digits;
            ++m_pos;
            if (digits > 2)
                return 0;
        }
        return digits;
    }

    bool separator()
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('/')) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool atEnd()
    {
        skipBlanks();
        return m_pos == m_text.size();
    }

private:
    const QString& m_text;
    qsizetype m_pos = 0;
};

int windowedYear(int twoDigitYear, int currentYear)
{
    const int first = currentYear - 50;
    int year = first - ((first % 100) + 100) % 100 + twoDigitYear;
    if (year < first)
        year += 100;
    return year;
}

} // namespace

std::optional<QDate> parseDateText(const QString& text, int currentYear)
{
    DateScanner scan(text);
    int day = 0, month = 0, year = 0;
    if (scan.number(day) == 0 || !scan.separator())
        return std::nullopt;
    if (scan.number(month) == 0 || !scan.separator())
        return std::nullopt;
    if (scan.number(year) == 0 || !scan.atEnd())
        return std::nullopt;
    const QDate date(windowedYear(year, currentYear), month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString dateText(const QDate& date)
{
    if (!date.isValid())
        return QStringLiteral("  /  /  ");
    return date.toString(QStringLiteral("dd/MM/yy"));
}

QString sqlDateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd/yy"));
}

QString fullDateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace livros
