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

// Reads one store's month from the ledger that the SIPROQUIM book reads (its products, the
// store's laboratories, product identity and unit rule): the purchase items of the store's
// invoices received in the month, the formula components of its orders, its losses, and the
// inventory of the month's first day, so that a chemical in stock is declared even without
// movement. Quantities go from each chemical's catalogue unit to kilograms or litres. A movement
// the ledger refuses is a problem, as it stops the book. Database errors propagate.
MonthMap readMonthMap(data::TDM& dm, const QString& cnpj, int year, int month);

} // namespace livros::siproquim
