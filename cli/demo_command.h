#pragma once
#include "cli/demo_data.h"

#include <QString>

namespace livros::cli {

// `livros-cli demo DIR`: a ready installation in DIR, which is program folder and suite folder at
// once: QUILMARA.INI naming no server, the main and interface databases created from db/ and
// filled with demo data, the report project files and the two programs. An existing
// installation is replaced only with `force`. Returns the exit code (0 done, 1 failure).
int runDemoCommand(const QString& dir, const DemoOptions& options, bool force);

} // namespace livros::cli
