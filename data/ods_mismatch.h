#pragma once
#include <QString>

namespace livros::data {

// The on-disk structure (ODS) of a database file and the one the engine that refused it reads.
struct OdsMismatch {
    int foundMajor = 0;
    int foundMinor = 0;
    int supportedMajor = 0;
    int supportedMinor = 0;
};

// The message for a database file that the installed engine cannot open because another Firebird
// version made it: both versions, and the two ways out (a server of the file's own version named
// in QUILMARA.INI, or a backup and a restore with gbak, the commands written out).
QString odsMismatchMessage(const QString& database, const OdsMismatch& ods);

} // namespace livros::data
