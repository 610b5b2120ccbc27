#include "data/connection.h"

#include "data/db_error.h"
#include "data/firebird_client.h"
#include "data/ods_mismatch.h"
#include "platform/suite_paths.h"

#include <QFile>
#include <QList>
#include <QPair>

#include <csignal>
#include <pthread.h>
#include <iterator>
#include <mutex>
#include <optional>

namespace livros::data {

struct Connection::Impl {
    QString name;
    QString characterSet;
    QString vendorLib = QStringLiteral("gds32.dll");
    QList<QPair<QString, QString>> params;
    std::unique_ptr<Attachment> attachment;
    TransactionState* transaction = nullptr;
    // Held while the attachment is made or dropped, so that a cancel from another thread never
    // meets one half made or gone.
    std::mutex attachmentChange;
};

QString effectiveUser(const QString& configured)
{
    const QString env = qEnvironmentVariable("ISC_USER");
    return env.isEmpty() ? configured : env;
}

QString effectivePassword(const QString& configured)
{
    const QString env = qEnvironmentVariable("ISC_PASSWORD");
    return env.isEmpty() ? configured : env;
}

Connection::Connection(const QString& name, const QString& characterSet) : d(std::make_unique<Impl>())
{
    d->name = name;
    d->characterSet = characterSet;
}

Connection::~Connection() = default;

QString Connection::name() const { return d->name; }
void Connection::setVendorLib(const QString& library) { d->vendorLib = library; }
QString Connection::vendorLib() const { return d->vendorLib; }
QString Connection::characterSet() const { return d->characterSet; }

void Connection::setParam(const QString& name, const QString& value)
{
    for (auto& p : d->params) {
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    }
    d->params.append({name, value});
}

QString Connection::param(const QString& name) const
{
    for (const auto& p : d->params)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

bool Connection::connected() const { return d->attachment && !d->attachment->lost(); }

// Without a server part the path names the local suite folder: on Windows that is what the
// client would refuse, elsewhere the mapped file is opened with the embedded engine.
QString clientDatabaseText(const QString& database)
{
#ifdef Q_OS_WIN
    return database;
#else
    if (database.startsWith(QLatin1Char(':')))
        return mapSuitePath(database.mid(1));
    if (database.size() > 2 && database.at(1) == QLatin1Char(':') && database.at(0).isLetter()
        && (database.at(2) == QLatin1Char('\\') || database.at(2) == QLatin1Char('/')))
        return mapSuitePath(database); // a bare drive path: the local suite folder too
    return database;
#endif
}

namespace {
// A name with a NUL inside would reach the client cut at the NUL, naming another database: refused.
void refuseNul(const QString& database)
{
    if (database.contains(QChar(0)))
        throw DbError(QStringLiteral("Nome de banco de dados inválido \"%1\": contém um caractere NUL")
                          .arg(QString(database).replace(QChar(0), QLatin1String("\\0"))));
}
// The client library puts its own handlers of SIGTERM, SIGINT and SIGHUP in place at the first
// attachment: they shut the engine down and leave the program running, its window or loop stuck
// and unable to reach the database. The program's own handling (the window's clean close, the
// default end of the command-line tool) is put back once the attachment is made. The signals
// are held back meanwhile, so that one arriving during the attachment reaches the program's
// handling, not the client's.
class KeepTerminationHandlers {
public:
    KeepTerminationHandlers()
    {
#ifndef Q_OS_WIN
        sigset_t held;
        sigemptyset(&held);
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            ::sigaction(kSignals[i], nullptr, &m_saved[i]);
            sigaddset(&held, kSignals[i]);
        }
        ::pthread_sigmask(SIG_BLOCK, &held, &m_savedMask);
#endif
    }
    ~KeepTerminationHandlers()
    {
#ifndef Q_OS_WIN
        for (size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &m_saved[i], nullptr);
        ::pthread_sigmask(SIG_SETMASK, &m_savedMask, nullptr);
#endif
    }
    KeepTerminationHandlers(const KeepTerminationHandlers&) = delete;
    KeepTerminationHandlers& operator=(const KeepTerminationHandlers&) = delete;

private:
#ifndef Q_OS_WIN
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction m_saved[std::size(kSignals)] = {};
    sigset_t m_savedMask {};
#endif
};

// The versions in an "unsupported on-disk structure" error: found major and minor, then supported
// major and minor, as the engine lists them after the file's name.
std::optional<OdsMismatch> odsMismatch(const Firebird::IStatus* status)
{
    const intptr_t* v = const_cast<Firebird::IStatus*>(status)->getErrors();
    for (int i = 0; v && v[i] != isc_arg_end && i < 40; i += 2) {
        if (v[i] != isc_arg_gds || v[i + 1] != isc_wrong_ods)
            continue;
        int numbers[4];
        int found = 0;
        for (int j = i + 2; v[j] != isc_arg_end && v[j] != isc_arg_gds && found < 4 && j < 40; j += 2)
            if (v[j] == isc_arg_number)
                numbers[found++] = int(v[j + 1]);
        if (found == 4)
            return OdsMismatch{numbers[0], numbers[1], numbers[2], numbers[3]};
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void Connection::open()
{
    if (connected())
        return;
    {
        const std::lock_guard<std::mutex> lock(d->attachmentChange);
        d->attachment.reset(); // a lost attachment is dropped and attached again
    }
    try {
        attach();
    } catch (const DatabaseUnavailable&) {
        throw;
    } catch (const DbError& e) {
        throw DatabaseUnavailable(e.message()); // whatever kept the attachment from being made
    }
}

void Connection::attach()
{
    const KeepTerminationHandlers keep;
    ClientLibrary& library = ClientLibrary::load(d->vendorLib);
    const QString database = clientDatabaseText(param(QStringLiteral("DataBase")));
    refuseNul(database);
    const QByteArray dpb = buildDpb(library, effectiveUser(param(QStringLiteral("User_Name"))),
                                    effectivePassword(param(QStringLiteral("Password"))), d->characterSet);
    StatusGuard guard(library);
    try {
        Firebird::IAttachment* handle = library.provider()->attachDatabase(
            &guard.wrapper(), QFile::encodeName(database).constData(), unsigned(dpb.size()),
            reinterpret_cast<const unsigned char*>(dpb.constData()));
        auto attachment = std::make_unique<Attachment>(library, handle, database);
        const std::lock_guard<std::mutex> lock(d->attachmentChange);
        d->attachment = std::move(attachment);
    } catch (const Firebird::FbException& e) {
        if (StatusGuard::hasError(e.getStatus(), isc_already_opened)) {
            // Another program holds the file with an embedded engine that does not share it.
            throw DatabaseUnavailable(
                QStringLiteral("O banco de dados \"%1\" está aberto com exclusividade por outro programa "
                               "(por exemplo o isql-fb ou outro programa com o Firebird embutido). Feche esse "
                               "programa e tente de novo, ou indique um servidor Firebird em QUILMARA.INI.\n%2")
                    .arg(database, library.statusText(e.getStatus())));
        }
        if (const auto ods = odsMismatch(e.getStatus()))
            throw DatabaseUnavailable(odsMismatchMessage(database, *ods) + QLatin1Char('\n')
                                      + library.statusText(e.getStatus()));
        guard.rethrow(e);
    }
}

void Connection::close()
{
    if (d->transaction)
        d->transaction->rollback(); // its attachment goes now; the holder finds it ended
    const std::lock_guard<std::mutex> lock(d->attachmentChange);
    d->attachment.reset();
}

void Connection::cancelRunningStatement() noexcept
{
    const std::lock_guard<std::mutex> lock(d->attachmentChange);
    if (d->attachment)
        d->attachment->cancelOperation(Attachment::Cancel::Raise);
}

void Connection::forgetCancelRequest() noexcept
{
    const std::lock_guard<std::mutex> lock(d->attachmentChange);
    if (d->attachment)
        d->attachment->cancelOperation(Attachment::Cancel::Forget);
}

int Connection::execute(const QString& sql)
{
    if (d->transaction) {
        if (!d->transaction->handle)
            throw DbError(QStringLiteral("%1: a transação já terminou").arg(d->name));
        return executeIn(*d->transaction, sql);
    }
    return run([&](Attachment& a) { return executeDirect(a, sql); });
}

std::unique_ptr<ResultCursor> Connection::openCursor(const QString& sql, const QVariantList& parameters)
{
    if (d->transaction) {
        if (!d->transaction->handle)
            throw DbError(QStringLiteral("%1: a transação já terminou").arg(d->name));
        return std::make_unique<ResultCursor>(d->transaction->attachment, sql, d->transaction, parameters);
    }
    return run([&](Attachment& a) { return std::make_unique<ResultCursor>(a, sql, nullptr, parameters); });
}

TransactionState* Connection::activeTransaction() const { return d->transaction; }
void Connection::setActiveTransaction(TransactionState* transaction) { d->transaction = transaction; }

void Connection::executeAllOrNothing(const QStringList& statements)
{
    run([&](Attachment& a) { executeLoad(a, statements); });
}

Attachment& Connection::attachment()
{
    open();
    return *d->attachment;
}

} // namespace livros::data
