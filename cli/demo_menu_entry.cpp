#include "cli/demo_menu_entry.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace livros::cli {
namespace {
constexpr char kAppId[] = "br.com.zunsistemas.livros";
} // namespace

QString desktopExecArgument(const QString& argument)
{
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted;
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument) {
        if (kReserved.contains(c))
            needsQuotes = true;
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    if (needsQuotes)
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    // The entry's own string escapes come on top of the Exec quoting; % starts a field code.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return quoted;
}

QString demoMenuEntry(const QString& installedEntry, const QString& demoFolder)
{
    const QString folder = QDir(demoFolder).absolutePath();
    const QString launch = QStringLiteral("env ") + desktopExecArgument(QStringLiteral("QUILMARA_HOME=") + folder)
                           + QLatin1Char(' ') + desktopExecArgument(folder + QStringLiteral("/livros"));
    QStringList lines = installedEntry.split(QLatin1Char('\n'));
    bool mainGroup = false;
    for (QString& line : lines) {
        if (line.startsWith(QLatin1Char('[')))
            mainGroup = line == QLatin1String("[Desktop Entry]");
        if (line.startsWith(QLatin1String("Exec=livros"))) {
            line = QStringLiteral("Exec=") + launch + line.mid(int(qstrlen("Exec=livros")));
        } else if (mainGroup && line.startsWith(QLatin1String("Name="))) {
            QString title = line.mid(5) + QStringLiteral(" (") + folder + QLatin1Char(')');
            title.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
            line = QStringLiteral("Name=") + title;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

DemoMenuEntryResult installDemoMenuEntry(const QString& demoFolder)
{
    // Only the installed programs have the schema scripts beside them; a build tree reads them
    // from the sources and leaves the user's menu alone.
    if (!QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/db")).isDir())
        return {};
    const QString entryName = QStringLiteral("applications/%1.desktop").arg(QLatin1String(kAppId));
    QFile installed(QStandardPaths::locate(QStandardPaths::GenericDataLocation, entryName));
    if (installed.fileName().isEmpty() || !installed.open(QIODevice::ReadOnly))
        return {};
    const QString folder = QDir(demoFolder).absolutePath();
    const QByteArray folderHash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    const QString applications = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    const QString path = QStringLiteral("%1/%2-demo-%3.desktop")
                             .arg(applications, QLatin1String(kAppId), QString::fromLatin1(folderHash));
    QSaveFile entry(path);
    const bool written = QDir().mkpath(applications) && entry.open(QIODevice::WriteOnly)
                         && entry.write(demoMenuEntry(QString::fromUtf8(installed.readAll()), folder).toUtf8()) >= 0
                         && entry.commit();
    return {path, written};
}

} // namespace livros::cli
