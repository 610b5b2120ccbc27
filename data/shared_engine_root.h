#pragma once
#include <QString>

namespace livros::data {

// The embedded Firebird engine opens a database exclusively in its default server mode, so a
// second program on the same workstation (the window and a livros-cli run, two windows) is
// refused with "Database already opened with engine instance, incompatible with current".
// In the SuperClassic mode the embedded engines of several processes share the database
// through the lock manager. This prepares a private configuration root that sets that mode
// (links to the installed plugins and messages, a copy of the character sets module) and
// points FIREBIRD at it for this process and the programs it starts, before the client library
// is loaded. A FIREBIRD already set by the user is kept. Returns the root in use, or an empty
// text when the default configuration stays (no installed engine found, no writable folder).
QString useSharedEmbeddedEngine();

// Builds the private configuration root in `folder` from the installed engine in `engineFolder`
// (the one holding plugins/, intl/, firebird.msg); true when the root is complete.
bool prepareSharedEngineRoot(const QString& folder, const QString& engineFolder);

} // namespace livros::data
