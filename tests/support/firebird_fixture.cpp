#include "firebird_fixture.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_install.h"
#include "data/shared_engine.h"
#include "data/query.h"
#include "data/schema.h"
#include "platform/suite_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace livros::testing {

using data::Connection;
using data::DbError;
using data::Query;

QString sourceDir()
{
    const QString dir = qEnvironmentVariable("LIVROS_SOURCE_DIR");
    if (!dir.isEmpty())
        return dir;
#ifdef LIVROS_SOURCE_DIR_DEFAULT
    return QStringLiteral(LIVROS_SOURCE_DIR_DEFAULT);
#else
    return QDir::currentPath();
#endif
}

namespace {

// The connection of the fixture itself, by database text (a local file or "host/port:alias").
struct FixtureConnections {
    std::unique_ptr<Connection> main;
    std::unique_ptr<Connection> interface;
};

FixtureConnections& fixtureConnections()
{
    static FixtureConnections c;
    return c;
}

Connection& connectionFor(std::unique_ptr<Connection>& slot, const QString& database, const QString& charset)
{
    if (!slot || slot->param(QStringLiteral("DataBase")) != database) {
        slot = std::make_unique<Connection>(QStringLiteral("fixture"), charset);
        slot->setParam(QStringLiteral("DataBase"), database);
        slot->setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
        slot->setParam(QStringLiteral("Password"), QStringLiteral("vrentasko"));
    }
    return *slot;
}

QString rowText(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QStringList queryRows(Connection& c, const QString& sql)
{
    Query q(c, QStringLiteral("fixture"));
    q.setSql(sql);
    q.open();
    QStringList rows;
    const QStringList names = q.fieldNames();
    while (!q.eof()) {
        QStringList cells;
        for (const QString& n : names)
            cells << rowText(q.value(n));
        rows << cells.join(QLatin1Char('|'));
        q.next();
    }
    q.close();
    return rows;
}

} // namespace

EmbeddedSuite::EmbeddedSuite()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    fixtureConnections() = {};
    qputenv("QUILMARA_HOME", QFile::encodeName(m_dir.path()));
    setProgramFolder(folder());
    QDir(m_dir.path()).mkpath(QStringLiteral("dados"));
    QDir(m_dir.path()).mkpath(QStringLiteral("interfac"));
    data::createDatabaseFromScript(mainDatabasePath(), sourceDir() + QStringLiteral("/db/main.sql"));
    data::createDatabaseFromScript(interfaceDatabasePath(), sourceDir() + QStringLiteral("/db/interface.sql"));
    writeIni(QString());
}

EmbeddedSuite::~EmbeddedSuite()
{
    fixtureConnections() = {};
    if (data::DM)
        data::DM = nullptr;
}

QString EmbeddedSuite::folder() const { return m_dir.path() + QLatin1Char('/'); }
QString EmbeddedSuite::mainDatabasePath() const { return folder() + QStringLiteral("dados/quilmara.bd"); }
QString EmbeddedSuite::interfaceDatabasePath() const { return folder() + QStringLiteral("interfac/quilmara.bd"); }

QString EmbeddedSuite::mainConnectionText() const { return mainDatabasePath(); }
QString EmbeddedSuite::interfaceConnectionText() const { return interfaceDatabasePath(); }

void EmbeddedSuite::execMain(const QString& sql)
{
    connectionFor(fixtureConnections().main, mainConnectionText(), QString()).execute(sql);
}

void EmbeddedSuite::execInterface(const QString& sql)
{
    connectionFor(fixtureConnections().interface, interfaceConnectionText(), QStringLiteral("WIN1252")).execute(sql);
}

void EmbeddedSuite::loadMain(const QStringList& statements)
{
    connectionFor(fixtureConnections().main, mainConnectionText(), QString()).executeAllOrNothing(statements);
}

void EmbeddedSuite::loadInterface(const QStringList& statements)
{
    connectionFor(fixtureConnections().interface, interfaceConnectionText(), QStringLiteral("WIN1252"))
        .executeAllOrNothing(statements);
}

QStringList EmbeddedSuite::rowsMain(const QString& sql)
{
    return queryRows(connectionFor(fixtureConnections().main, mainConnectionText(), QString()), sql);
}

QStringList EmbeddedSuite::rowsInterface(const QString& sql)
{
    return queryRows(connectionFor(fixtureConnections().interface, interfaceConnectionText(), QStringLiteral("WIN1252")), sql);
}

QString EmbeddedSuite::scalarMain(const QString& sql)
{
    const QStringList rows = rowsMain(sql);
    return rows.isEmpty() || rows.first() == QLatin1String("NULL") ? QString() : rows.first();
}

QString EmbeddedSuite::scalarInterface(const QString& sql)
{
    const QStringList rows = rowsInterface(sql);
    return rows.isEmpty() || rows.first() == QLatin1String("NULL") ? QString() : rows.first();
}

void EmbeddedSuite::writeIni(const QString& server)
{
    QFile ini(folder() + QStringLiteral("QUILMARA.INI"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write QUILMARA.INI");
    ini.write("[QUILMARA]\r\n");
    ini.write("IP DO SERVIDOR CENTRAL.........................: ");
    ini.write(server.toLatin1());
    ini.write("\r\n");
}

std::unique_ptr<data::TDM> EmbeddedSuite::makeDataModule()
{
    auto dm = std::make_unique<data::TDM>();
    data::DM = dm.get();
    dm->DataModuleCreate();
    return dm;
}

void EmbeddedSuite::releaseConnections() { fixtureConnections() = {}; }

void EmbeddedSuite::clearAllTables()
{
    static const char* kTables =
        "select trim(rdb$relation_name) from rdb$relations where coalesce(rdb$system_flag, 0) = 0 and rdb$view_blr is null";
    for (const QString& table : rowsMain(QString::fromLatin1(kTables)))
        execMain(QStringLiteral("delete from ") + table);
    for (const QString& table : rowsInterface(QString::fromLatin1(kTables)))
        execInterface(QStringLiteral("delete from ") + table);
}

// ---------------------------------------------------------------------------------------------
// ServerSuite

struct ServerSuite::Impl {
    QString root;
    QString program;
    int port = 0;
    QProcess process;
};

namespace {
int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    const int port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

bool portAccepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(quint16(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contents) != contents.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

// The installed series (3.0 or 4.0): its root folder, with the trailing '/', and its security
// database.
data::FirebirdInstallation installedFirebird()
{
    const auto firebird = data::systemFirebird();
    if (!firebird)
        throw std::runtime_error("no Firebird engine is installed (scripts/install-deps.sh)");
    return *firebird;
}
} // namespace

ServerSuite::ServerSuite() : d(std::make_unique<Impl>())
{
    const data::FirebirdInstallation firebird = installedFirebird();
    const QString lib = firebird.root + QLatin1Char('/');
    d->program = firebird.serverProgram;
    d->root = folder() + QStringLiteral("fbroot");
    QDir().mkpath(d->root);
    for (const char* entry : {"plugins", "firebird.msg", "UDF", "tzdata"})
        if (QFileInfo::exists(lib + QLatin1String(entry)))
            QFile::link(lib + QLatin1String(entry), d->root + QLatin1Char('/') + QLatin1String(entry));
    // The character sets module must be a real copy: through a link the server does not find
    // WIN1252 ("CHARACTER SET WIN1252 is not defined").
    QDir().mkpath(d->root + QStringLiteral("/intl"));
    for (const char* entry : {"libfbintl.so", "fbintl.conf"})
        QFile::copy(lib + QStringLiteral("intl/") + QLatin1String(entry),
                    d->root + QStringLiteral("/intl/") + QLatin1String(entry));
    writeFile(d->root + QStringLiteral("/plugins.conf"), data::pluginsConfByRealPaths(firebird.root));
    const QString security = d->root + QLatin1Char('/') + QFileInfo(firebird.securityDatabase).fileName();
    if (!QFile::copy(firebird.securityDatabase, security))
        throw std::runtime_error(("cannot copy the security database " + firebird.securityDatabase).toStdString());
    QFile::setPermissions(security, QFile::ReadOwner | QFile::WriteOwner);
    d->port = freeLoopbackPort();
    writeFile(d->root + QStringLiteral("/firebird.conf"),
              QStringLiteral("RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\nSecurityDatabase = %2\n"
                             "IpcName = livros_test_%1\n")
                  .arg(d->port)
                  .arg(security)
                  .toUtf8());
    writeFile(d->root + QStringLiteral("/databases.conf"),
              QStringLiteral("C:\\quilmara\\dados\\quilmara.bd = %1\nC:\\quilmara\\interfac\\quilmara.bd = %2\n")
                  .arg(mainDatabasePath(), interfaceDatabasePath())
                  .toUtf8());
    const QString script = d->root + QStringLiteral("/setpass.sql");
    writeFile(script, "CREATE OR ALTER USER SYSDBA PASSWORD 'vrentasko' USING PLUGIN Srp;\nCOMMIT;\n");
    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), d->root);
    isql.setProcessEnvironment(env);
    isql.start(firebird.toolProgram(QStringLiteral("isql-fb")), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                           QStringLiteral("-i"), script, security});
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
        throw std::runtime_error(("setting the SYSDBA password failed: " + isql.readAllStandardError()).toStdString());
    startServer();
    writeIni(serverAddress());
}

ServerSuite::~ServerSuite()
{
    fixtureConnections() = {};
    stopServer();
}

QString ServerSuite::serverProgram() const { return d->program; }

QString ServerSuite::serverAddress() const { return QStringLiteral("127.0.0.1/%1").arg(d->port); }

QString ServerSuite::mainConnectionText() const { return serverAddress() + QStringLiteral(":C:\\quilmara\\dados\\quilmara.bd"); }
QString ServerSuite::interfaceConnectionText() const
{
    return serverAddress() + QStringLiteral(":C:\\quilmara\\interfac\\quilmara.bd");
}

void ServerSuite::startServer()
{
    if (running())
        return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), d->root);
    d->process.setProcessEnvironment(env);
    d->process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    d->process.start(d->program, {});
    if (!d->process.waitForStarted(10000))
        throw std::runtime_error(("cannot start " + d->program).toStdString());
    for (int i = 0; i < 200 && !portAccepts(d->port); ++i)
        QThread::msleep(50);
    if (!portAccepts(d->port))
        throw std::runtime_error("the firebird server does not answer");
}

void ServerSuite::stopServer()
{
    if (d->process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(d->process.processId()), SIGTERM);
    if (!d->process.waitForFinished(15000)) {
        d->process.kill();
        d->process.waitForFinished(5000);
    }
}

void ServerSuite::killServer()
{
    if (d->process.state() == QProcess::NotRunning)
        return;
    d->process.kill();
    d->process.waitForFinished(5000);
}

bool ServerSuite::running() const { return d->process.state() != QProcess::NotRunning; }

} // namespace livros::testing
