#pragma once
#include "book/revised/movement_statement.h"

#include <QDate>
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `revised`: rebuilds the store's revised book for the period as the window's preparation does,
// without the preview. Messages go through userMessages(); progress to standard error when it is
// a terminal. Exit code: 0 built, 1 database error (a wait for another workstation's build that
// ran out among them), 3 bad date (an invalid QDate), 4 a movement statement failed (its text in
// the message) or the lines written did not add up.
int runRevisedCommand(data::TDM& dm, revised::RevisedMode mode, const QString& cnpj,
                      const QDate& from, const QDate& to);

} // namespace livros::cli
