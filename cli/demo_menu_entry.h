#pragma once
#include <QString>

namespace livros::cli {

// The menu entry of a demo installation: the installed package's entry with every Exec line
// pointed at the demo folder's own copy of the window program, with the demo folder as suite
// folder, and the folder named in the title.
QString demoMenuEntry(const QString& installedEntry, const QString& demoFolder);

// One argument of a menu entry's Exec line, quoted where the desktop entry rules require it.
QString desktopExecArgument(const QString& argument);

// When the running program is the installed package's, writes the demo's menu entry into the
// user's applications folder; otherwise (a build tree, no package entry) writes nothing and
// leaves `path` empty.
struct DemoMenuEntryResult {
    QString path;  // the entry's file, when one was due
    bool written = false;
};
DemoMenuEntryResult installDemoMenuEntry(const QString& demoFolder);

} // namespace livros::cli
