#pragma once
#include "book/revised/movement_statement.h"

#include <QString>

namespace livros::data {
class Query;
}

namespace livros::revised {

// Clears the running-stock context variable of the product `codigo` in the current transaction
// (the variable is named after the product's code, as the movement statement names it).
void resetRunningStock(data::Query& query, const QString& codigo);

// Re-reads the lines that the movement statement has just written for one product (same
// transaction) and checks them: the opening line holds the inventory of the start date (0 without
// one), and opening + entries - exits - losses gives every line's stock in book order (by date;
// opening, entries, losses, exits within a date) and the closing stock. Throws
// book::StockCheckFailed naming `productName` when they do not add up.
void checkProductLines(data::Query& query, RevisedMode mode, const MovementValues& values, const QString& productName);

} // namespace livros::revised
