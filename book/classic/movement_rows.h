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
};

// Whose movements a book counts: the store's entries and losses, and the exits of its
// laboratory's formulas when one is given (see exitsLaboratory).
struct StoreScope {
    QString cnpj;
    std::optional<QString> laboratory;
};

// The current row of a movement query of `kind` (the columns of the book's movement selects).
MovementRow readMovementRow(const data::Query& query, MovementKind kind);

// The quantity a movement adds to or takes from a balance kept in the book unit: a purchase in
// kilograms or litres (KG, L, in any letter case) into a book kept in grams or millilitres
// (G, ML) counts a thousand times its invoice quantity; anything else counts as stored.
double bookQuantity(MovementKind kind, const MovementRow& row, const QString& bookUnit);

} // namespace livros::classic
