#pragma once
#include "book/classic/book_listing.h"
#include "book/classic/component_lists.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace livros::data {
class Query;
}

namespace livros::classic {

// What the book needs of one movement row, whichever table it comes from.
struct MovementRow {
    QDate date;              // the row's date column
    double quantity = 0;     // null counts as 0
    QString supplier;
    QString lot;
    QString expiry;          // the expiry date as text (the workstation's short date); empty for losses
    QString unit;
    QString reason;          // losses only
    double factor = 1;       // into the book's unit (ledger::unitFactor)
};

// A movement of the ledger as the classic book shows it.
MovementRow movementRowOf(const ledger::Movement& movement);

using StoreScope = ledger::StoreScope;

// The current row of a movement query of `kind` (the columns of the book's movement selects).
MovementRow readMovementRow(const data::Query& query, MovementKind kind);

// The quantity a movement adds to or takes from a balance kept in the book unit, by the ledger's
// unit rule (ledger::unitFactor); a unit the rule cannot convert counts as recorded (the ledger
// refuses such a movement before any book is built).
double bookQuantity(const MovementRow& row, const QString& bookUnit);

} // namespace livros::classic
