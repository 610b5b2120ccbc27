#pragma once
// What the fault tests share: a revised build view that records what the build shows and lets a
// test act at a chosen moment, the id of a test server process, the revised test products and a
// readable form of table rows.
#include "classic_test_view.h"
#include "firebird_fixture.h"
#include "recording_revised_view.h"

#include <QStringList>
#include <functional>
#include <ostream>
#include <sys/types.h>

#include "qt_test_print.h"

namespace livros::faults {

// The stores the tests build; kStoreA is the classic tests' store.
inline const QString kStoreA = QStringLiteral("12345678000199");
inline const QString kStoreB = QStringLiteral("99888777000166");

using RevisedView = testing::RecordingRevisedView;

// The firebird server process that `suite` started: the one whose environment names the
// suite's own server root. 0 when none runs. Reading /proc, so it may be called from any thread.
pid_t serverPid(const testing::ServerSuite& suite);

// Stops the suite's server as an administrator would (SIGTERM). A firebird server that hangs in
// its shutdown with attachments open is killed after a second and a half.
void stopServer(testing::ServerSuite& suite);

// Products of the compounding-inputs book (and of classic group 1): P01..Pnn, each with an
// inventory on `inventoryDate` and `entries` purchases on the days after it, for `store`.
void addRevisedProducts(testing::EmbeddedSuite& suite, int count, int entries, const QString& store,
                        const QString& inventoryDate = QStringLiteral("2024-05-01"));

// LIVROREVCONTR rows of a store in build order, every column but ID joined by '|'.
QStringList revisedLines(testing::EmbeddedSuite& suite, const QString& store);
// The same rows grouped per component code, in the order the lines were written.
QStringList revisedLinesOf(testing::EmbeddedSuite& suite, const QString& store, const QString& codigo);

// Every column of every LIVROCONTR row, by ID.
QStringList classicLines(testing::EmbeddedSuite& suite);

} // namespace livros::faults
