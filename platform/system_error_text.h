#pragma once
#include <QString>

namespace livros {

// The reason of a failed file operation in Portuguese, whatever language the workstation's C
// library speaks (a machine without the Brazilian locale gives English): the common error numbers
// have their own text; any other one the C library's, decoded from the workstation's encoding.
QString systemErrorText(int error);

// A text Qt took from the C library (QFile::errorString() of a failed open, read or write) in
// Portuguese as systemErrorText gives it; any other text unchanged.
QString portugueseSystemText(const QString& text);

} // namespace livros
