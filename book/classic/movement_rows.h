#pragma once
#include "book/classic/book_listing.h"
#include "book/classic/component_lists.h"

#include <QDate>
#include <QString>

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

// Fetches one day's rows of one kind for one component into `rows` (cleared first; its capacity
// is reused from day to day). Returns false when the query cannot be opened; `statement` holds
// the SQL text either way, for the message. Errors while reading rows propagate, and so does a
// database that cannot be reached (data::DatabaseUnavailable): that is no failure of the query.
bool fetchDayMovements(data::Query& query, MovementKind kind, const QString& storeCnpj,
                       const ControlledComponent& component, const QDate& day, std::vector<MovementRow>& rows,
                       QString& statement);

} // namespace livros::classic
