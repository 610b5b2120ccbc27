#pragma once
#include "book/revised/movement_statement.h"

#include <QString>

#include <vector>

namespace livros::data {
class Query;
}

namespace livros::revised {

// Clears the running-stock context variable of the product `codigo` in the current transaction
// (the variable is named after the product's code, as the movement statement names it).
void resetRunningStock(data::Query& query, const QString& codigo);

struct ComponentRow;

// Re-reads every line the build has written for the store (same transaction) and the store's
// inventories of the start date, in one query each, and checks each product's lines: the opening
// line holds the inventory of the start date (0 without one), and opening + entries - exits -
// losses gives every line's stock in book order (by date; opening, entries, losses, exits within
// a date) and the closing stock. Throws book::StockCheckFailed naming the product when they do
// not add up.
void checkStoreLines(data::Query& query, RevisedMode mode, const MovementValues& values,
                     const std::vector<ComponentRow>& products);

} // namespace livros::revised
