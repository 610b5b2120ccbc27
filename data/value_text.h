#pragma once
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace livros::data {

// How a field value reads as text, integer, number or date-time, the same for ad-hoc queries and
// cached datasets: dates in the Brazilian short form dd/mm/yyyy, numbers with a decimal comma,
// null as "" or 0, whatever the machine's regional settings. A text that is not a number reads as an error.
QString valueText(const QVariant& value);
int valueInteger(const QVariant& value);
double valueDouble(const QVariant& value);
QDateTime valueDateTime(const QVariant& value);

} // namespace livros::data
