#pragma once
#include <QString>

namespace livros::cli {

// Where the files that an installation holds beside the programs are found: the folder of the
// running program first (an installed suite folder), then the source tree this program was built
// from (a build tree). Empty when neither has it.
QString findShippedFolder(const QString& name); // "db", "rpt"
// The window program beside this one (installed) or in the build tree.
QString findWindowProgram();

} // namespace livros::cli
