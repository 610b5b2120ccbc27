#pragma once
#include <QDate>
#include <QString>

#include <optional>

namespace livros {

// Reads a date typed as "dd/mm/yy": day, month and year of one or two digits each, in that
// order, separated by "/". Blanks around the numbers are skipped (the period edits leave untyped
// positions blank). The year is placed in the century that puts it between 50 years before and
// 49 years after currentYear, the window the server also uses for the "mm/dd/yy" dates of the
// classic book. Anything that is not a real calendar date, including the empty edit "  /  /  ",
// gives no value.
std::optional<QDate> parseDateText(const QString& text, int currentYear = QDate::currentDate().year());

// The text of the period edits, "dd/mm/yy"; an invalid (null) date gives the empty edit "  /  /  ".
QString dateText(const QDate& date);

// A date inside the classic book's SQL text: "mm/dd/yy", which the server reads month first.
QString sqlDateText(const QDate& date);

// A date with the full year, "dd/mm/yyyy".
QString fullDateText(const QDate& date);

} // namespace livros
