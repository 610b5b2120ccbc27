#pragma once
#include "data/transaction.h"

#include <QString>

#include <functional>
#include <memory>

namespace livros::data {
class Connection;
}

namespace livros::book {

// "Outra estação está montando este livro; aguardando..."
QString otherStationBuildingMessage();
// The wait for the other station ran out: nothing changed.
QString otherStationStillBuildingMessage();

// The transaction of one book build: it reserves the book table for writing, so that builds of
// that table from other workstations wait for this one to commit or roll back. When another build
// holds it, `showWaiting` gets the waiting message, and the start waits up to the lock timeout;
// then data::LockTimeout with otherStationStillBuildingMessage(). Nothing is committed before
// commit(); destroyed without it, the transaction rolls back and the previous book stays whole.
std::unique_ptr<data::Transaction> startBuildTransaction(data::Connection& connection, const QString& bookTable,
                                                         const std::function<void(const QString&)>& showWaiting);

// Inside a catch block of a failed build: throws the same error again, of the same kind, with the
// sentence that says the book was not built added to its text.
[[noreturn]] void rethrowAsNotBuilt();

} // namespace livros::book
