#pragma once
#include "book/revised/movement_statement.h"

#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::revised {

// True when the store has lines in LIVROREVCONTR but none of the given mode: its stored book was
// built by another mode, and showing it under this mode's title would misname it. A store without
// any line is not such a case (its book is shown empty).
bool storedBookIsOfAnotherMode(data::TDM& dm, RevisedMode mode, const QString& cnpj);

// What the user is told instead, `store` being the store as shown to the user.
QString noBookOfThisModeMessage(const QString& store);

} // namespace livros::revised
