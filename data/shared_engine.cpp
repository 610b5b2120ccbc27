#include "data/shared_engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace livros::data {
namespace {

// Where Debian's packages put Firebird's root (plugins, messages, character sets).
const QString kSystemRoot = QStringLiteral(LIVROS_FIREBIRD_ROOT);

bool writeIfDifferent(const QString& path, const QByteArray& content)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

bool linkTo(const QString& target, const QString& link)
{
    const QFileInfo info(link);
    if (info.isSymLink() && info.symLinkTarget() == target)
        return true;
    if (info.exists() || info.isSymLink())
        QFile::remove(link);
    return QFile::link(target, link) || QFileInfo(link).symLinkTarget() == target; // another process made it
}

// The character sets module must be a real file in the root: reached through a link, the engine
// does not define WIN1252.
bool copyIntl(const QString& folder)
{
    const QString intl = folder + QStringLiteral("/intl");
    if (!QDir().mkpath(intl))
        return false;
    QFile conf(kSystemRoot + QStringLiteral("/intl/fbintl.conf"));
    if (!conf.open(QIODevice::ReadOnly) || !writeIfDifferent(intl + QStringLiteral("/fbintl.conf"), conf.readAll()))
        return false;
    // The module is copied again only when the system's is newer or of another size (an upgrade),
    // not read whole at every start.
    const QFileInfo system(kSystemRoot + QStringLiteral("/intl/libfbintl.so"));
    const QFileInfo copy(intl + QStringLiteral("/libfbintl.so"));
    if (copy.exists() && copy.size() == system.size() && copy.lastModified() >= system.lastModified())
        return true;
    QFile module(system.filePath());
    if (!module.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = module.readAll();
    QSaveFile file(copy.filePath()); // a process that has the old copy loaded keeps it whole
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

bool makeRoot(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QStringList entries =
        QDir(kSystemRoot).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry == QLatin1String("firebird.conf") || entry == QLatin1String("intl"))
            continue;
        if (!linkTo(kSystemRoot + QLatin1Char('/') + entry, folder + QLatin1Char('/') + entry))
            return false;
    }
    // The later settings win over the included ones. SuperClassic keeps a cache per process:
    // SuperServer's default size keeps a book build's reads as fast as before.
    const QByteArray config = "# Livros: the system's settings, with an embedded engine that shares database files\n"
                              "include " + QFile::encodeName(kSystemRoot) + "/firebird.conf\n"
                              "ServerMode = SuperClassic\n"
                              "DefaultDbCachePages = 2048\n";
    return copyIntl(folder) && writeIfDifferent(folder + QStringLiteral("/firebird.conf"), config);
}

} // namespace

bool prepareSharedEmbeddedEngine()
{
    if (qEnvironmentVariableIsSet("FIREBIRD") || !QFileInfo::exists(kSystemRoot + QStringLiteral("/plugins")))
        return false;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return false;
    const QString folder = cache + QStringLiteral("/livros/firebird-3.0");
    if (!makeRoot(folder))
        return false;
    return qputenv("FIREBIRD", QFile::encodeName(folder));
}

} // namespace livros::data
