#pragma once
#include <QString>

namespace livros::data {

// The Firebird client's message (one line per status entry, the later ones starting with "-") in
// Portuguese: the lines Firebird writes around the cause (the kind of error, the SQL error code,
// the operation and file of an input or output error...) and the common causes are translated;
// names, numbers and the lines without a translation stay as Firebird wrote them.
QString portugueseFirebirdText(const QString& text);

} // namespace livros::data
