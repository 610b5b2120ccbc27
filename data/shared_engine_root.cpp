#include "data/shared_engine_root.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace livros::data {

namespace {

constexpr const char* kInstalledEngine = "/usr/lib/x86_64-linux-gnu/firebird/3.0/";
const QByteArray kConfiguration = "# Written by Livros: lets several programs share a database with the embedded engine.\n"
                                  "ServerMode = SuperClassic\n";

QString installedEngineFolder()
{
    for (const QString& folder : {QString::fromLatin1(kInstalledEngine), QStringLiteral("/usr/lib/firebird/3.0/")}) {
        if (QFileInfo::exists(folder + QStringLiteral("plugins/libEngine12.so")))
            return folder;
    }
    return {};
}

bool rootIsComplete(const QString& folder)
{
    QFile conf(folder + QStringLiteral("/firebird.conf"));
    if (!conf.open(QIODevice::ReadOnly) || conf.readAll() != kConfiguration)
        return false;
    return QFileInfo::exists(folder + QStringLiteral("/plugins/libEngine12.so"))
        && QFileInfo::exists(folder + QStringLiteral("/intl/fbintl.conf"))
        && QFileInfo::exists(folder + QStringLiteral("/intl/libfbintl.so"));
}

bool fillRoot(const QString& folder, const QString& engine)
{
    for (const char* entry : {"plugins", "firebird.msg", "plugins.conf", "databases.conf", "UDF"}) {
        const QString target = engine + QLatin1String(entry);
        if (QFileInfo::exists(target) && !QFile::link(target, folder + QLatin1Char('/') + QLatin1String(entry)))
            return false;
    }
    // The character sets module is found through its configuration file's own folder: through a
    // link the engine does not find WIN1252, so it is copied.
    if (!QDir().mkpath(folder + QStringLiteral("/intl")))
        return false;
    for (const QFileInfo& file : QDir(engine + QStringLiteral("intl")).entryInfoList(QDir::Files)) {
        if (!QFile::copy(file.absoluteFilePath(), folder + QStringLiteral("/intl/") + file.fileName()))
            return false;
    }
    QFile conf(folder + QStringLiteral("/firebird.conf"));
    return conf.open(QIODevice::WriteOnly) && conf.write(kConfiguration) == kConfiguration.size();
}

} // namespace

bool prepareSharedEngineRoot(const QString& folder, const QString& engineFolder)
{
    if (rootIsComplete(folder))
        return true;
    QString engine = engineFolder;
    if (!engine.endsWith(QLatin1Char('/')))
        engine += QLatin1Char('/');
    const QFileInfo target(folder);
    if (!QDir().mkpath(target.absolutePath()))
        return false;
    // Built beside its place and renamed into it, so that two programs starting together never
    // see a half-made root; an incomplete one left by a crash is replaced.
    QTemporaryDir staging(target.absolutePath() + QStringLiteral("/.firebird-root-XXXXXX"));
    if (!staging.isValid() || !fillRoot(staging.path(), engine))
        return false;
    if (QFileInfo::exists(folder) && !rootIsComplete(folder))
        QDir(folder).removeRecursively();
    if (QDir().rename(staging.path(), folder))
        staging.setAutoRemove(false);
    return rootIsComplete(folder);
}

QString useSharedEmbeddedEngine()
{
    static const QString root = [] {
        if (qEnvironmentVariableIsSet("FIREBIRD"))
            return qEnvironmentVariable("FIREBIRD");
        const QString engine = installedEngineFolder();
        if (engine.isEmpty())
            return QString();
        QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (base.isEmpty())
            base = QDir::tempPath();
        const QString folder = base + QStringLiteral("/livros/firebird-root");
        if (!prepareSharedEngineRoot(folder, engine))
            return QString();
        qputenv("FIREBIRD", QFile::encodeName(folder));
        return folder;
    }();
    return root;
}

} // namespace livros::data
