#pragma once
#include "book/classic/book_listing.h"
#include "book/classic/component_lists.h"
#include "book/classic/movement_rows.h"

#include <QDate>
#include <QString>

#include <functional>

namespace livros::data {
class Query;
}

namespace livros::classic {

// A movement query that failed: which kind, where it was reading (e.g. "do período 01/05/24 a
// 31/05/24"), the server's reason and the statement. A lost database is not this: it propagates
// as data::DatabaseUnavailable.
struct MovementQueryFailed {
    MovementKind kind;
    QString where;
    QString reason;
    QString statement;
};

using MovementVisitor = std::function<void(MovementKind, const MovementRow&)>;

// Where the classic walk takes its movements from: each product's entries, exits and losses of
// the period in the book's order (by date; within a day entries, then exits, then losses; within
// a kind movementOrder). Failures throw MovementQueryFailed.
class MovementSource {
public:
    virtual ~MovementSource() = default;
    // Called once before the group's first product, with the query the movements are read by.
    virtual void startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products,
                            const QDate& first, const QDate& last) = 0;
    // Visits the movements of product `number` (1..count of the group) in the book's order.
    virtual void walkProduct(int number, const MovementVisitor& visit) = 0;
};

} // namespace livros::classic
