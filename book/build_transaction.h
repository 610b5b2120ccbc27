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

// The transaction of the build of one store's book in a table that holds many stores' books
// (LIVROREVCONTR): it holds only that store's claim, so that another workstation building the
// same store's book waits for this one (with `showWaiting` and the lock timeout as above) while
// builds of other stores go on at the same time. The claim's table and the line numbering are
// created in the database the first time.
std::unique_ptr<data::Transaction> startStoreBuildTransaction(data::Connection& connection, const QString& bookTable,
                                                              const QString& cnpj,
                                                              const std::function<void(const QString&)>& showWaiting);

// Takes `count` consecutive numbers for new lines of LIVROREVCONTR and returns the first. The
// numbers grow in the order they are taken and are never given twice, whichever store or
// transaction takes them (a rolled-back build leaves a gap).
qint64 reserveRevisedLineIds(data::Connection& connection, int count = 1);

// Inside a catch block of a failed build: throws the same error again, of the same kind, with the
// sentence that says the book was not built added to its text.
[[noreturn]] void rethrowAsNotBuilt();

} // namespace livros::book
