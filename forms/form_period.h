#pragma once
#include <QDate>
#include <QString>

#include <optional>

namespace livros::forms {

// The period a form covers, with the text its cover prints.
struct FormPeriod {
    QDate first;
    QDate last;
    enum class Kind { Quarter, Year, Month } kind = Kind::Quarter;
    int number = 0;  // the quarter (1..4) or the month (1..12); 0 for a year
    int year = 0;
    // "1º trimestre de 2026", "Anual 2026", "05/2026".
    QString text() const;
    // "ANUAL" or "TRIMESTRAL", as the company record keeps it.
    QString annualOrQuarterly() const;
};

// "Q/YYYY" (quarter 1 to 4), "YYYY" and "MM/YYYY" (month 01 to 12); nullopt for any other text.
std::optional<FormPeriod> quarterPeriod(const QString& text);
std::optional<FormPeriod> yearPeriod(const QString& text);
std::optional<FormPeriod> monthPeriod(const QString& text);

} // namespace livros::forms
