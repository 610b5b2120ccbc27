#include "data/shared_engine.h"

#include "data/firebird_install.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace livros::data {
namespace {

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
bool copyIntl(const QString& systemRoot, const QString& folder)
{
    const QString intl = folder + QStringLiteral("/intl");
    if (!QDir().mkpath(intl))
        return false;
    QFile conf(systemRoot + QStringLiteral("/intl/fbintl.conf"));
    if (!conf.open(QIODevice::ReadOnly) || !writeIfDifferent(intl + QStringLiteral("/fbintl.conf"), conf.readAll()))
        return false;
    // The module is copied again only when the system's is newer or of another size (an upgrade),
    // not read whole at every start.
    const QFileInfo system(systemRoot + QStringLiteral("/intl/libfbintl.so"));
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

bool makeRoot(const QString& systemRoot, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QStringList entries =
        QDir(systemRoot).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry == QLatin1String("firebird.conf") || entry == QLatin1String("intl") || entry == QLatin1String("plugins.conf"))
            continue;
        if (!linkTo(systemRoot + QLatin1Char('/') + entry, folder + QLatin1Char('/') + entry))
            return false;
    }
    // The later settings win over the included ones. SuperClassic keeps a cache per process:
    // SuperServer's default size keeps a book build's reads as fast as before.
    const QByteArray config = "# Livros: the system's settings, with an embedded engine that shares database files\n"
                              "include " + QFile::encodeName(systemRoot) + "/firebird.conf\n"
                              "ServerMode = SuperClassic\n"
                              "DefaultDbCachePages = 2048\n";
    const QString oldLink = folder + QStringLiteral("/plugins.conf"); // a link in a folder made before
    if (QFileInfo(oldLink).isSymLink())
        QFile::remove(oldLink);
    return copyIntl(systemRoot, folder) && writeIfDifferent(folder + QStringLiteral("/firebird.conf"), config)
        && writeIfDifferent(oldLink, pluginsConfByRealPaths(systemRoot));
}

// The engines of one database file coordinate only through the lock files of one folder: a
// process of ours with another FIREBIRD_LOCK, or a private /tmp, would keep a second lock table
// over the same file and damage it. Every process of ours takes the folder under the shared root,
// whatever the environment says; when it cannot be made, the engine keeps its exclusive default.
bool pinLockFolder(const QString& folder)
{
    const QString lock = folder + QStringLiteral("/lock");
    if (!QDir().mkpath(lock))
        return false;
    QFile::setPermissions(lock, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return qputenv("FIREBIRD_LOCK", QFile::encodeName(lock));
}

} // namespace

// The plugins named by their real files. Firebird 4 refuses a module whose path, as the engine
// asked for it, is not the real path of the file it loaded ("Actual module name does not match
// requested"): through the linked plugins folder it would be. The system's plugins.conf comes
// first with its $(dir_plugins) made real; each module it does not name follows.
QByteArray pluginsConfByRealPaths(const QString& systemRoot)
{
    const QString plugins = QFileInfo(systemRoot + QStringLiteral("/plugins")).canonicalFilePath();
    QFile system(systemRoot + QStringLiteral("/plugins.conf"));
    QString text = system.open(QIODevice::ReadOnly) ? QString::fromUtf8(system.readAll()) : QString();
    text.replace(QStringLiteral("$(dir_plugins)"), plugins);
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text += QStringLiteral("# Livros: the modules by their real files\n");
    const QStringList modules = QDir(plugins).entryList({QStringLiteral("lib*.so")}, QDir::Files);
    for (const QString& module : modules) {
        const QString name = module.mid(3, module.size() - 6);
        if (text.contains(QStringLiteral("Plugin = ") + name + QLatin1Char(' '), Qt::CaseInsensitive))
            continue;
        text += QStringLiteral("Plugin = %1 {\n\tModule = %2/%3\n}\n").arg(name, plugins, module);
    }
    return text.toUtf8();
}

QString sharedEngineFolder()
{
    const auto firebird = systemFirebird();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!firebird || cache.isEmpty())
        return {};
    return cache + QStringLiteral("/livros/firebird-") + firebird->series;
}

bool prepareSharedEmbeddedEngine()
{
    const auto firebird = systemFirebird();
    const QString folder = sharedEngineFolder();
    if (qEnvironmentVariableIsSet("FIREBIRD")) { // the user's own engine settings, our lock folder
        if (!folder.isEmpty() && QDir().mkpath(folder))
            pinLockFolder(folder);
        return false;
    }
    if (folder.isEmpty() || !makeRoot(firebird->root, folder) || !pinLockFolder(folder))
        return false;
    return qputenv("FIREBIRD", QFile::encodeName(folder));
}

} // namespace livros::data
