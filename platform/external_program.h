#pragma once
#include <QString>

namespace livros {

// Starts another program of the suite by its command line (the program's full path, optionally
// followed by arguments) and returns at once without waiting. A program that cannot be started
// produces no message: the caller goes on as if it had started.
void runExternalProgram(const QString& commandLine);

} // namespace livros
