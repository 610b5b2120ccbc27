#pragma once
#include "book/ledger/exact_quantity.h"
#include "book/revised/movement_statement.h"

#include <QString>

#include <vector>

namespace livros::data {
class Query;
}

namespace livros::revised {

struct ComponentRow;

// The opening stock the build computed for a product (its inventory converted to its unit).
struct RevisedOpening {
    QString codigo;
    ledger::ExactQuantity stock;
};

// Re-reads every line the build has written for the store (same transaction) in one query and
// checks each product's lines in their stored order (ORDEM): the opening line holds the opening
// the build computed, and opening + entries - exits - losses gives every line's stock and the
// closing stock. Throws book::StockCheckFailed naming the product when they do not add up.
void checkStoreLines(data::Query& query, RevisedMode mode, const MovementValues& values,
                     const std::vector<ComponentRow>& products, const std::vector<RevisedOpening>& openings);

} // namespace livros::revised
