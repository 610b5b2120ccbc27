#pragma once
#include <QString>
#include <optional>

namespace livros::data {

// The Firebird series that Debian's packages installed on this machine: Firebird 3.0 (Debian 12)
// or 4.0 (Debian 13). Its engine opens only database files of its own on-disk structure (ODS).
struct FirebirdInstallation {
    QString series;           // "3.0", "4.0"
    QString root;             // its root folder: plugins, messages, character sets
    QString securityDatabase; // the packaged security database
    int odsMajor = 0;         // on-disk structure its engine creates and opens: 12 or 13
    // The server program itself. Debian 13 makes /usr/sbin/firebird (and isql-fb, gbak...) a
    // script that sets FIREBIRD to the system's root, so a server of our own root runs the
    // program behind it.
    QString serverProgram;

    // A tool of the series (isql-fb, gfix...) that honours FIREBIRD: the program behind Debian
    // 13's script when there is one, else the name itself (found on the PATH).
    QString toolProgram(const QString& name) const;
};

// The newest installed series with an embedded engine; none when no engine is installed.
std::optional<FirebirdInstallation> systemFirebird();

// The on-disk structure's major version of the series whose engine reads files of that version
// ("3.0" for 12, "4.0" for 13); empty for one we do not know.
QString seriesOfOds(int odsMajor);

} // namespace livros::data
