#pragma once
#include "book/revised/movement_statement.h"
#include "book/revised/revised_book_builder.h"

namespace livros::data {
class Query;
}

namespace livros::revised::testing {

// The one INSERT ... SELECT that writes every book line of a component for the store and the
// period, the running stock computed by the server in a transaction context variable.
QString composeMovementStatement(RevisedMode mode, const MovementValues& values);

// The parts of the statement derived from the values, exposed for their own tests.
// " - (" + unit with A-Z in lower case + ")" as an SQL text literal.
QString unitLiteral(const QString& unid);
// The list as an SQL text literal cut to the book's column, '' when it holds only blanks.
QString listLiteral(const QString& lista);
// "dd/mm/yyyy a dd/mm/yyyy", as an SQL text literal.
QString periodLiteral(const QDate& start, const QDate& end);

// The statement values of one selected component: the store's and period's of `values`, the
// component's own from its row.
MovementValues forComponent(MovementValues values, const ComponentRow& row);

// Clears the running-stock context variable of the product `codigo` in the current transaction.
void resetRunningStock(data::Query& query, const QString& codigo);

} // namespace livros::revised::testing
