#pragma once
#include <QString>

namespace livros::data {

// Firebird's default embedded engine (SuperServer) takes a database file for one process alone:
// the window and a livros-cli run could not open the suite's database at the same time. This
// points the client library of this process at a private configuration folder that includes the
// system's firebird.conf and sets ServerMode = SuperClassic, under which every embedded engine of
// ours shares the file (they coordinate through Firebird's lock manager). Other programs keep the
// system's settings. Call before the client library is loaded; it does nothing when the user set
// FIREBIRD, or when the folder cannot be made (the engine then keeps its exclusive default).
// FIREBIRD_LOCK is pinned to the folder's "lock" folder in either case, so that every process of
// ours locks a database file in one place. Returns whether FIREBIRD now names the private folder.
bool prepareSharedEmbeddedEngine();

// A plugins.conf for a root of our own (our embedded engine's, the tests' server's) that names each
// module of the system's root by its real file.
QByteArray pluginsConfByRealPaths(const QString& systemRoot);

// The private folder of the installed Firebird series (~/.cache/livros/firebird-4.0); empty when
// no engine is installed or there is no cache folder.
QString sharedEngineFolder();

} // namespace livros::data
