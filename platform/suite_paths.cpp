#include "platform/suite_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace livros {
namespace {
QString g_programFolder;

// Resolves the components under base one by one: the exact name when it exists, else the one
// entry of the folder equal to it without regard to letter case, else the name as written.
QString resolveUnder(QString base, const QStringList& components)
{
    for (const QString& part : components) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        const QString exact = QDir(base).filePath(part);
        if (!QFileInfo::exists(exact)) {
            const QStringList entries = QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            QString found;
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
            }
            base = QDir(base).filePath(found.isEmpty() ? part : found);
        } else {
            base = exact;
        }
    }
    return base;
}
} // namespace

QString suiteRoot()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\quilmara");
#else
    const QString env = qEnvironmentVariable("QUILMARA_HOME");
    return env.isEmpty() ? QStringLiteral("/opt/quilmara") : env;
#endif
}

QString mapSuitePath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QString kRoot = QStringLiteral("c:/quilmara");
    if (p.size() >= kRoot.size() && p.left(kRoot.size()).compare(kRoot, Qt::CaseInsensitive) == 0
        && (p.size() == kRoot.size() || p.at(kRoot.size()) == QLatin1Char('/'))) {
        return resolveUnder(suiteRoot(), p.mid(kRoot.size()).split(QLatin1Char('/')));
    }
    return p;
#endif
}

QString programFolder()
{
    QString folder = g_programFolder;
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QDir::separator();
    return folder;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

QString localPath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString p = mapSuitePath(path);
    if (QFileInfo::exists(p) || !p.startsWith(QLatin1Char('/')))
        return p;
    return resolveUnder(QStringLiteral("/"), p.split(QLatin1Char('/')));
#endif
}

} // namespace livros
