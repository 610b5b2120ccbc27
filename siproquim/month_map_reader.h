#pragma once
#include "siproquim/map_content.h"

#include <QString>
#include <QStringList>

namespace livros::data {
class TDM;
}

namespace livros::siproquim {

struct MonthMap {
    MapContent content;
    QStringList problems; // data that cannot be declared (unit, density, product shared wrongly)
};

// Reads one store's month from the suite's tables, from the same rows as the SIPROQUIM report:
// the chemicals of its catalogue selection, the purchase items of the store's invoices received
// in the month, the formula components of the store's laboratory ordered in the month, the
// store's losses of the month; and the inventory of the month's first day, so that a chemical
// in stock is declared even without movement. Quantities are converted to kilograms or litres
// by the units recorded with each row (the catalogue's when a row has none) and the catalogue's
// density. Database errors propagate.
MonthMap readMonthMap(data::TDM& dm, const QString& cnpj, int year, int month);

} // namespace livros::siproquim
