#pragma once
#include "book/classic/book_listing.h"
#include "book/classic/movement_rows.h"

#include "platform/book_locale.h"

#include <QLocale>
#include <QString>

namespace livros::classic {

// The history text of a movement: supplier (first 20 characters), lot, expiry (not for losses),
// and the quantity with six decimals in the Brazilian number form, followed by its unit.
QString historyText(MovementKind kind, const MovementRow& row, const QLocale& locale = bookLocale());
// The same within `width` characters (the HISTORICO column): the supplier and then the lot are
// shortened, so that "Qde: <quantity> <unit>", the quantity an inspector reads, stays whole.
QString fittedHistoryText(MovementKind kind, const MovementRow& row, int width, const QLocale& locale = bookLocale());

// "Compra", "Venda", or the first 23 characters of a loss's reason.
QString observationText(MovementKind kind, const MovementRow& row);

// The value of MOVIMENTO: "Entrada" or "Saída".
QString movementName(MovementKind kind);

} // namespace livros::classic
