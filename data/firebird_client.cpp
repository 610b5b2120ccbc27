#include "data/firebird_client.h"

#include "data/db_error.h"
#include "data/firebird_messages.h"
#include "data/shared_engine.h"
#include "data/transaction.h"
#include "platform/cp1252.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QScopeGuard>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
#ifndef Q_OS_WIN
#include <clocale>
#include <dlfcn.h>
#include <langinfo.h>
#endif

using namespace Firebird;

namespace livros::data {

namespace {

using GetMasterFn = IMaster* (*)();

QString systemClientName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("gds32.dll");
#else
    return QStringLiteral("libfbclient.so.2");
#endif
}

// Firebird 4 gives the sum of a NUMERIC(15..18) column, and some products, as a 128-bit integer
// scaled like the column (NUMERIC(38,x)); Firebird 3's headers do not name the type.
#ifndef SQL_INT128
constexpr unsigned SQL_INT128 = 32752;
#endif

__int128 readInt128(const unsigned char* p)
{
    __int128 v;
    std::memcpy(&v, p, sizeof v); // the client's byte order, as for the other integers
    return v;
}

// The decimal digits of a 128-bit integer, with its sign.
QString int128Text(__int128 v)
{
    const bool negative = v < 0;
    unsigned __int128 u = negative ? -static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
    char digits[41];
    int i = int(sizeof digits);
    do {
        digits[--i] = char('0' + int(u % 10));
        u /= 10;
    } while (u != 0);
    if (negative)
        digits[--i] = '-';
    return QString::fromLatin1(digits + i, qsizetype(sizeof digits) - i);
}

// Whether a NUL character lies outside every quoted text and identifier (comments count as
// outside): Firebird 3 refuses such a statement, Firebird 4 takes it, so neither engine decides.
bool nulOutsideQuotes(const QString& sql)
{
    QChar quote; // the quote character whose text we are in, or none
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar(); // a doubled quote closes and opens again at once
            continue;
        }
        if (c == QChar(0))
            return true;
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-')
            while (i + 1 < sql.size() && sql[i + 1] != u'\n' && sql[i + 1] != QChar(0))
                ++i;
        else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype nul = sql.indexOf(QChar(0), i + 2);
            if (nul >= 0 && (end < 0 || nul < end))
                return true;
            if (end < 0)
                return false;
            i = end + 1;
        }
    }
    return false;
}

double powerOfTen(int n)
{
    static const double table[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    return (n >= 0 && n <= 18) ? table[n] : std::pow(10.0, n);
}

// Why the system's loader refused the file, in its own words (QLibrary's text names the variants
// of the name that it tried, none of which anybody typed).
QString loadFailureReason(const QString& fileName)
{
#ifdef Q_OS_WIN
    QLibrary library(fileName);
    library.load();
    return library.errorString();
#else
    if (fileName.contains(QLatin1Char('/')) && !QFileInfo::exists(fileName))
        return QStringLiteral("o arquivo não existe");
    void* handle = ::dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle) {
        ::dlclose(handle);
        return QStringLiteral("o carregador do sistema não a aceitou");
    }
    const char* reason = ::dlerror();
    return reason ? fromUtf8OrCp1252(QByteArray(reason)) : QStringLiteral("motivo desconhecido");
#endif
}

#ifndef Q_OS_WIN
// The client converts a database's file name between UTF-8 and the character set of the C
// library's locale, and in the C locale (a scheduled job, a service, LC_ALL=C) that set is ASCII:
// a folder named with accents could not be opened. Our file names are UTF-8, so the character
// handling of the process follows UTF-8 before the client first converts one.
void useUtf8FileNames()
{
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && std::strcmp(codeset, "UTF-8") == 0)
        return;
    for (const char* locale : {"C.UTF-8", "C.utf8", "en_US.UTF-8", "pt_BR.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale))
            return;
    }
}
#endif

} // namespace

// ---------------------------------------------------------------------------------------------
// ClientLibrary

QString ClientLibrary::resolveFileName(const QString& vendorLib)
{
#ifdef Q_OS_WIN
    return vendorLib;
#else
    if (vendorLib.compare(QLatin1String("gds32.dll"), Qt::CaseInsensitive) == 0)
        return systemClientName();
    static const QString kDll = QStringLiteral("GDS32.DLL");
    if (vendorLib.size() > kDll.size() && vendorLib.right(kDll.size()).compare(kDll, Qt::CaseInsensitive) == 0) {
        QString folder = localPath(vendorLib.left(vendorLib.size() - kDll.size()));
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return folder + systemClientName();
    }
    return localPath(vendorLib);
#endif
}

ClientLibrary& ClientLibrary::load(const QString& vendorLib)
{
    static std::mutex mutex;
    static QHash<QString, ClientLibrary*> loaded;
    std::lock_guard lock(mutex);

    if (vendorLib.contains(QChar(0))) // the loader would read the name only up to the NUL
        throw DbError(QStringLiteral("Não foi possível carregar a biblioteca cliente do Firebird \"%1\" (há um caractere NUL no nome)")
                          .arg(QString(vendorLib).replace(QChar(0), QLatin1String("\\0"))));
    const QString fileName = resolveFileName(vendorLib);
    if (auto it = loaded.constFind(fileName); it != loaded.constEnd())
        return **it;

#ifndef Q_OS_WIN
    useUtf8FileNames();
#endif
    // The system's client runs our embedded engines in the mode that shares database files.
    const bool sharedEngine = !fileName.contains(QLatin1Char('/')) && prepareSharedEmbeddedEngine();
    // Programs started from here keep the system's settings.
    const auto forgetRoot = qScopeGuard([sharedEngine] {
        if (sharedEngine)
            qunsetenv("FIREBIRD");
    });
    auto* library = new QLibrary(fileName);
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load()) {
        delete library;
        throw DbError(QStringLiteral("Não foi possível carregar a biblioteca cliente do Firebird \"%1\", procurada como "
                                     "\"%2\"%3: %4")
                          .arg(vendorLib, fileName,
                               fileName.contains(QLatin1Char('/')) ? QString()
                                                                   : QStringLiteral(" nas pastas de bibliotecas do sistema"),
                               loadFailureReason(fileName)));
    }
    auto getMaster = reinterpret_cast<GetMasterFn>(library->resolve("fb_get_master_interface"));
    if (!getMaster) {
        library->unload();
        delete library;
        throw DbError(QStringLiteral("A biblioteca \"%1\" (\"%2\") não é uma biblioteca cliente do Firebird")
                          .arg(vendorLib, fileName));
    }
    auto* client = new ClientLibrary;
    client->m_master = getMaster();
    if (sharedEngine) // the client reads FIREBIRD once, when its root is first asked for
        client->m_master->getConfigManager()->getRootDirectory();
    client->m_util = client->m_master->getUtilInterface();
    client->m_provider = client->m_master->getDispatcher();
    loaded.insert(fileName, client);
    return *client; // the library stays loaded for the life of the process
}

QString ClientLibrary::statusText(IStatus* status) const
{
    char buffer[4096];
    const unsigned n = m_util->formatStatus(buffer, sizeof buffer, status);
    QString text = fromUtf8OrCp1252(QByteArray(buffer, qsizetype(std::strlen(buffer) < n ? std::strlen(buffer) : n)));
    return portugueseFirebirdText(text.trimmed());
}

// ---------------------------------------------------------------------------------------------
// StatusGuard

StatusGuard::StatusGuard(ClientLibrary& library)
    : m_library(library), m_status(library.master()->getStatus()), m_wrapper(m_status)
{
}

StatusGuard::~StatusGuard() { m_status->dispose(); }

bool StatusGuard::isConnectionLoss(const IStatus* status)
{
    const intptr_t* v = const_cast<IStatus*>(status)->getErrors();
    for (int i = 0; v && v[i] != isc_arg_end && i < 40; i += 2) {
        if (v[i] != isc_arg_gds)
            continue;
        switch (v[i + 1]) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_lost_db_connection:
        case isc_att_shutdown:
        case isc_shutdown:
        case isc_conn_lost:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool StatusGuard::isUpdateConflict(const IStatus* status) { return hasError(status, isc_update_conflict); }

bool StatusGuard::hasError(const IStatus* status, intptr_t code)
{
    const intptr_t* v = const_cast<IStatus*>(status)->getErrors();
    for (int i = 0; v && v[i] != isc_arg_end && i < 40; i += 2) {
        if (v[i] == isc_arg_gds && v[i + 1] == code)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TransactionState

void TransactionState::closeCursors() noexcept
{
    while (!cursors.empty()) {
        try {
            cursors.back()->close(); // unregisters itself
        } catch (const DbError&) {
            cursors.pop_back();
        }
    }
}

void TransactionState::commit()
{
    closeCursors();
    StatusGuard guard(attachment.library());
    try {
        handle->commit(&guard.wrapper());
        handle = nullptr;
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString text = attachment.library().statusText(e.getStatus());
        guard.wrapper().clearException();
        attachment.raise(e.getStatus(), text);
    }
}

namespace {

// Rolls a transaction back; when the attachment is gone the handle is only released, and the
// server undoes the transaction itself.
void rollbackOrRelease(ClientLibrary& library, ITransaction* transaction) noexcept
{
    StatusGuard guard(library);
    // A second try: a stop request that reached the attachment meanwhile ends the first one
    // (the request is then spent), and a transaction left open would hold its rows.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            transaction->rollback(&guard.wrapper());
            return;
        } catch (const FbException&) {
            guard.wrapper().clearException();
        }
    }
    transaction->release();
}

} // namespace

void TransactionState::rollback() noexcept
{
    closeCursors();
    if (!handle)
        return;
    rollbackOrRelease(attachment.library(), handle);
    handle = nullptr;
}

void StatusGuard::rethrow(const FbException& e)
{
    const QString text = m_library.statusText(e.getStatus());
    m_wrapper.clearException();
    throw DbError(text);
}

// ---------------------------------------------------------------------------------------------
// Attachment

Attachment::Attachment(ClientLibrary& library, IAttachment* attachment, const QString& database)
    : m_library(library), m_attachment(attachment), m_database(database)
{
}

Attachment::~Attachment()
{
    if (!m_attachment)
        return;
    StatusGuard guard(m_library);
    try {
        m_attachment->detach(&guard.wrapper());
    } catch (const FbException&) {
        m_attachment->release(); // a lost attachment cannot detach: just drop it
    }
}

void Attachment::cancelOperation(Cancel what) noexcept
{
    StatusGuard guard(m_library);
    try {
        if (what == Cancel::Raise) {
            m_attachment->cancelOperation(&guard.wrapper(), fb_cancel_raise);
        } else {
            // Disabling drops the pending request; enabling again leaves none behind.
            m_attachment->cancelOperation(&guard.wrapper(), fb_cancel_disable);
            m_attachment->cancelOperation(&guard.wrapper(), fb_cancel_enable);
        }
    } catch (const FbException&) {
        // The attachment is gone, or there was nothing to stop: nothing to do.
    }
}

namespace {

bool hasErrorCode(const IStatus* status, intptr_t code)
{
    const intptr_t* v = const_cast<IStatus*>(status)->getErrors();
    for (int i = 0; v && v[i] != isc_arg_end && i < 40; i += 2) {
        if (v[i] == isc_arg_gds && v[i + 1] == code)
            return true;
    }
    return false;
}

QByteArray transactionParameters(const TransactionOptions& options)
{
    QByteArray tpb;
    tpb.append(char(isc_tpb_version3));
    tpb.append(char(isc_tpb_write));
    if (options.snapshot) {
        tpb.append(char(isc_tpb_concurrency));
    } else {
        tpb.append(char(isc_tpb_read_committed));
        tpb.append(char(isc_tpb_rec_version));
    }
    const qint32 seconds = lockTimeoutSeconds();
    if (options.wait && seconds > 0) {
        tpb.append(char(isc_tpb_wait));
        tpb.append(char(isc_tpb_lock_timeout));
        tpb.append(char(sizeof seconds));
        for (unsigned i = 0; i < sizeof seconds; ++i) // little-endian, as the server reads it
            tpb.append(char((seconds >> (8 * i)) & 0xff));
    } else {
        tpb.append(char(isc_tpb_nowait));
    }
    for (const QString& table : options.reservedTables) {
        const QByteArray name = table.toUpper().toLatin1();
        tpb.append(char(isc_tpb_lock_write));
        tpb.append(char(name.size()));
        tpb.append(name);
        tpb.append(char(isc_tpb_protected));
    }
    return tpb;
}

} // namespace

ITransaction* Attachment::startTransaction(ThrowStatusWrapper& status, const TransactionOptions& options)
{
    const QByteArray tpb = transactionParameters(options);
    try {
        return m_attachment->startTransaction(&status, unsigned(tpb.size()),
                                              reinterpret_cast<const unsigned char*>(tpb.constData()));
    } catch (const FbException& e) {
        checkAfterFailure(e.getStatus());
        const QString text = m_library.statusText(e.getStatus());
        status.clearException();
        if (m_lost)
            throw StaleAttachment(text);
        if (!options.wait && hasErrorCode(e.getStatus(), isc_lock_conflict))
            throw LockConflict(text);
        raise(e.getStatus(), text);
    }
}

void Attachment::checkAfterFailure(const IStatus* status)
{
    if (m_lost || StatusGuard::isConnectionLoss(status)) {
        m_lost = true;
        return;
    }
    StatusGuard guard(m_library);
    try {
        m_attachment->ping(&guard.wrapper());
    } catch (const FbException&) {
        m_lost = true;
    }
}

void Attachment::raise(const IStatus* status, const QString& message, bool lockWaitRanOut) const
{
    if (m_lost)
        throw DatabaseUnavailable(message);
    if (hasErrorCode(status, isc_read_only_database))
        throw DatabaseUnavailable(message + QStringLiteral("\n-") + m_database);
    if (lockWaitRanOut || hasErrorCode(status, isc_lock_timeout))
        throw LockTimeout(lockTimeoutMessage() + QLatin1Char('\n') + message);
    throw DbError(message);
}

// ---------------------------------------------------------------------------------------------
// ResultCursor

InputMessage::~InputMessage()
{
    if (metadata)
        metadata->release();
}

namespace {

std::optional<QByteArray> parameterText(const QVariant& value, const QString& sql, int index)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QString:
        return toCp1252(value.toString());
    case QMetaType::QDate:
        if (!value.toDate().isValid())
            return std::nullopt;
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    case QMetaType::QDateTime:
        if (!value.toDateTime().isValid())
            return std::nullopt;
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString().toLatin1();
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', 17);
    default:
        break;
    }
    throw DbError(QStringLiteral("O parâmetro %1 tem um tipo de valor que o banco não recebe (%2) em: %3")
                      .arg(index + 1)
                      .arg(QString::fromLatin1(value.typeName()), sql));
}

} // namespace

void bindParameters(IStatement* statement, ThrowStatusWrapper& st, const QString& sql, const QVariantList& parameters,
                    InputMessage& message)
{
    IMessageMetadata* described = statement->getInputMetadata(&st);
    IMetadataBuilder* builder = nullptr;
    try {
        const unsigned count = described->getCount(&st);
        if (count != unsigned(parameters.size()))
            throw DbError(QStringLiteral("O comando tem %1 parâmetros e recebeu %2 valores: %3")
                              .arg(count)
                              .arg(parameters.size())
                              .arg(sql));
        std::vector<std::optional<QByteArray>> texts;
        texts.reserve(count);
        for (unsigned i = 0; i < count; ++i)
            texts.push_back(parameterText(parameters[int(i)], sql, int(i)));
        builder = described->getBuilder(&st);
        for (unsigned i = 0; i < count; ++i) {
            // Every value as nullable text, long enough for it: the server converts it.
            builder->setType(&st, i, SQL_VARYING + 1);
            builder->setLength(&st, i, unsigned(std::max<qsizetype>(texts[i] ? texts[i]->size() : 0, 1)));
        }
        message.metadata = builder->getMetadata(&st);
        builder->release();
        builder = nullptr;
        message.buffer.assign(message.metadata->getMessageLength(&st), 0);
        for (unsigned i = 0; i < count; ++i) {
            unsigned char* nullFlag = &message.buffer[message.metadata->getNullOffset(&st, i)];
            *reinterpret_cast<short*>(nullFlag) = texts[i] ? 0 : -1;
            if (!texts[i])
                continue;
            unsigned char* field = &message.buffer[message.metadata->getOffset(&st, i)];
            const auto length = static_cast<unsigned short>(texts[i]->size());
            std::memcpy(field, &length, sizeof length);
            std::memcpy(field + sizeof length, texts[i]->constData(), size_t(length));
        }
    } catch (...) {
        if (builder)
            builder->release();
        described->release();
        throw;
    }
    described->release();
}

ResultCursor::ResultCursor(Attachment& attachment, const QString& sql, TransactionState* shared,
                           const QVariantList& parameters)
    : m_attachment(attachment), m_status(attachment.library()), m_shared(shared)
{
    auto& st = m_status.wrapper();
    const QByteArray text = statementText(sql);
    m_open = true;
    if (m_shared)
        m_shared->cursors.push_back(this);
    try {
        m_transaction = m_shared ? m_shared->handle : attachment.startTransaction(st);
        m_statement = attachment.handle()->prepare(&st, m_transaction, unsigned(text.size()), text.constData(),
                                                   3, IStatement::PREPARE_PREFETCH_METADATA);
        m_metadata = m_statement->getOutputMetadata(&st);
        const unsigned count = m_metadata->getCount(&st);
        m_columns.resize(count);
        for (unsigned i = 0; i < count; ++i) {
            ColumnLayout& c = m_columns[i];
            c.name = fromCp1252(QByteArray(m_metadata->getAlias(&st, i))).toUpper();
            c.type = m_metadata->getType(&st, i) & ~1u;
            c.scale = m_metadata->getScale(&st, i);
            c.subType = unsigned(m_metadata->getSubType(&st, i));
            c.length = m_metadata->getLength(&st, i);
            c.offset = m_metadata->getOffset(&st, i);
            c.nullOffset = m_metadata->getNullOffset(&st, i);
        }
        m_buffer.assign(m_metadata->getMessageLength(&st), 0);
        InputMessage input;
        if (!parameters.isEmpty())
            bindParameters(m_statement, st, sql, parameters, input);
        m_resultSet = m_statement->openCursor(&st, m_transaction, input.metadata,
                                              input.metadata ? input.buffer.data() : nullptr, m_metadata, 0);
    } catch (const FbException& e) {
        fail(e);
    } catch (const DbError&) {
        release();
        throw;
    }
}

ResultCursor::~ResultCursor()
{
    try {
        close();
    } catch (const DbError&) {
        // closing a broken result at destruction: nothing more to do
    }
}

void ResultCursor::fail(const FbException& e)
{
    m_attachment.checkAfterFailure(e.getStatus());
    const QString text = m_attachment.library().statusText(e.getStatus());
    m_status.wrapper().clearException();
    release();
    m_attachment.raise(e.getStatus(), text);
}

// Releases what was obtained; the transaction of its own is rolled back.
void ResultCursor::release()
{
    StatusGuard guard(m_attachment.library());
    auto& st = guard.wrapper();
    if (m_resultSet) { try { m_resultSet->close(&st); } catch (const FbException&) { m_resultSet->release(); } m_resultSet = nullptr; }
    if (m_metadata) { m_metadata->release(); m_metadata = nullptr; }
    if (m_statement) { try { m_statement->free(&st); } catch (const FbException&) { m_statement->release(); } m_statement = nullptr; }
    if (m_transaction && !m_shared) { try { m_transaction->rollback(&st); } catch (const FbException&) { m_transaction->release(); } }
    m_transaction = nullptr;
    unregister();
}

int ResultCursor::columnIndex(const QString& upperName) const
{
    for (int i = 0; i < int(m_columns.size()); ++i)
        if (m_columns[size_t(i)].name == upperName)
            return i;
    return -1;
}

bool ResultCursor::fetch()
{
    if (!m_resultSet)
        return false;
    try {
        return m_resultSet->fetchNext(&m_status.wrapper(), m_buffer.data()) == IStatus::RESULT_OK;
    } catch (const FbException& e) {
        fail(e);
    }
}

bool ResultCursor::isNull(int column) const
{
    const ColumnLayout& c = m_columns[size_t(column)];
    return *reinterpret_cast<const short*>(&m_buffer[c.nullOffset]) != 0;
}

QByteArray ResultCursor::readBlob(const ISC_QUAD& id) const
{
    StatusGuard guard(m_attachment.library());
    auto& st = guard.wrapper();
    QByteArray out;
    IBlob* blob = nullptr;
    try {
        ISC_QUAD blobId = id;
        blob = m_attachment.handle()->openBlob(&st, m_transaction, &blobId, 0, nullptr);
        char chunk[16384];
        for (;;) {
            unsigned got = 0;
            const int rc = blob->getSegment(&st, sizeof chunk, chunk, &got);
            if (rc == IStatus::RESULT_OK || rc == IStatus::RESULT_SEGMENT)
                out.append(chunk, qsizetype(got));
            else
                break;
        }
        blob->close(&st);
    } catch (const FbException& e) {
        if (blob)
            blob->release();
        guard.rethrow(e);
    }
    return out;
}

QVariant ResultCursor::value(int column) const
{
    if (isNull(column))
        return QVariant();
    const ColumnLayout& c = m_columns[size_t(column)];
    const unsigned char* p = &m_buffer[c.offset];
    IUtil* util = m_attachment.library().util();
    auto scaled = [&](long long raw) -> QVariant {
        if (c.scale == 0)
            return QVariant(raw);
        return QVariant(double(raw) / powerOfTen(-c.scale));
    };
    switch (c.type) {
    case SQL_TEXT:
        return fromCp1252(reinterpret_cast<const char*>(p), qsizetype(c.length));
    case SQL_VARYING: {
        unsigned short len;
        std::memcpy(&len, p, sizeof len);
        return fromCp1252(reinterpret_cast<const char*>(p + 2), qsizetype(len));
    }
    case SQL_SHORT: { short v; std::memcpy(&v, p, sizeof v); return c.scale ? scaled(v) : QVariant(int(v)); }
    case SQL_LONG: { int v; std::memcpy(&v, p, sizeof v); return c.scale ? scaled(v) : QVariant(v); }
    case SQL_INT64: { long long v; std::memcpy(&v, p, sizeof v); return scaled(v); }
    case SQL_INT128: {
        const __int128 v = readInt128(p);
        if (c.scale == 0 && v >= std::numeric_limits<long long>::min() && v <= std::numeric_limits<long long>::max())
            return QVariant(static_cast<long long>(v));
        return QVariant(double(v) / powerOfTen(-c.scale));
    }
    case SQL_FLOAT: { float v; std::memcpy(&v, p, sizeof v); return double(v); }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: { double v; std::memcpy(&v, p, sizeof v); return v; }
    case SQL_BOOLEAN: return bool(*p);
    case SQL_TYPE_DATE: {
        ISC_DATE d; std::memcpy(&d, p, sizeof d);
        unsigned y, m, day; util->decodeDate(d, &y, &m, &day);
        return QDate(int(y), int(m), int(day));
    }
    case SQL_TYPE_TIME: {
        ISC_TIME t; std::memcpy(&t, p, sizeof t);
        unsigned h, mi, s, f; util->decodeTime(t, &h, &mi, &s, &f);
        return QTime(int(h), int(mi), int(s), int(f / 10));
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts; std::memcpy(&ts, p, sizeof ts);
        unsigned y, m, day, h, mi, s, f;
        util->decodeDate(ts.timestamp_date, &y, &m, &day);
        util->decodeTime(ts.timestamp_time, &h, &mi, &s, &f);
        return QDateTime(QDate(int(y), int(m), int(day)), QTime(int(h), int(mi), int(s), int(f / 10)));
    }
    case SQL_BLOB: {
        ISC_QUAD id; std::memcpy(&id, p, sizeof id);
        const QByteArray bytes = readBlob(id);
        if (c.subType == 1)
            return fromCp1252(bytes);
        return bytes;
    }
    default:
        return QVariant();
    }
}

QMetaType::Type ResultCursor::valueType(int column) const
{
    const ColumnLayout& c = m_columns[size_t(column)];
    switch (c.type) {
    case SQL_TEXT:
    case SQL_VARYING: return QMetaType::QString;
    case SQL_SHORT:
    case SQL_LONG: return c.scale ? QMetaType::Double : QMetaType::Int;
    case SQL_INT64: return c.scale ? QMetaType::Double : QMetaType::LongLong;
    case SQL_INT128: return c.scale ? QMetaType::Double : QMetaType::LongLong;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QMetaType::Double;
    case SQL_BOOLEAN: return QMetaType::Bool;
    case SQL_TYPE_DATE: return QMetaType::QDate;
    case SQL_TYPE_TIME: return QMetaType::QTime;
    case SQL_TIMESTAMP: return QMetaType::QDateTime;
    case SQL_BLOB: return c.subType == 1 ? QMetaType::QString : QMetaType::QByteArray;
    default: return QMetaType::UnknownType;
    }
}

QString ResultCursor::literal(int column) const
{
    if (isNull(column))
        return {};
    const ColumnLayout& c = m_columns[size_t(column)];
    const unsigned char* p = &m_buffer[c.offset];
    IUtil* util = m_attachment.library().util();
    auto decimal = [&](__int128 raw) -> QString {
        if (c.scale >= 0)
            return int128Text(raw);
        const bool negative = raw < 0;
        QString digits = int128Text(negative ? -raw : raw);
        const int decimals = -c.scale;
        if (digits.size() <= decimals)
            digits.prepend(QString(decimals - digits.size() + 1, QLatin1Char('0')));
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
        return negative ? QLatin1Char('-') + digits : digits;
    };
    auto timeText = [&](ISC_TIME t) {
        unsigned h, mi, s, f;
        util->decodeTime(t, &h, &mi, &s, &f);
        return QString::asprintf("%02u:%02u:%02u.%04u", h, mi, s, f);
    };
    auto dateText = [&](ISC_DATE d) {
        unsigned y, m, day;
        util->decodeDate(d, &y, &m, &day);
        return QString::asprintf("%04u-%02u-%02u", y, m, day);
    };
    switch (c.type) {
    case SQL_SHORT: { short v; std::memcpy(&v, p, sizeof v); return decimal(v); }
    case SQL_LONG: { int v; std::memcpy(&v, p, sizeof v); return decimal(v); }
    case SQL_INT64: { long long v; std::memcpy(&v, p, sizeof v); return decimal(v); }
    case SQL_INT128: return decimal(readInt128(p));
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QString::number(value(column).toDouble(), 'e', 17);
    case SQL_BOOLEAN: return *p ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case SQL_TYPE_DATE: { ISC_DATE d; std::memcpy(&d, p, sizeof d); return QLatin1Char('\'') + dateText(d) + QLatin1Char('\''); }
    case SQL_TYPE_TIME: { ISC_TIME t; std::memcpy(&t, p, sizeof t); return QLatin1Char('\'') + timeText(t) + QLatin1Char('\''); }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts; std::memcpy(&ts, p, sizeof ts);
        return QLatin1Char('\'') + dateText(ts.timestamp_date) + QLatin1Char(' ') + timeText(ts.timestamp_time) + QLatin1Char('\'');
    }
    case SQL_BLOB: return {};
    default: return sqlLiteral(value(column).toString());
    }
}

void ResultCursor::unregister()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_shared)
        std::erase(m_shared->cursors, this);
}

void ResultCursor::close()
{
    if (!m_transaction) {
        unregister();
        return;
    }
    auto& st = m_status.wrapper();
    try {
        if (m_resultSet) { m_resultSet->close(&st); m_resultSet = nullptr; }
        if (m_metadata) { m_metadata->release(); m_metadata = nullptr; }
        if (m_statement) { m_statement->free(&st); m_statement = nullptr; }
        if (!m_shared)
            m_transaction->commit(&st);
        m_transaction = nullptr;
        unregister();
    } catch (const FbException& e) {
        fail(e);
    }
}

// ---------------------------------------------------------------------------------------------

namespace {

// A statement that waited on a row lock fails with an update conflict when the holder commits a
// change of that row (read committed, Firebird 3), even though the wait was meant to let it go on.
// The statement has been undone by then; run again in the same transaction it meets the row as
// committed and decides anew, its WHERE clause included. The other program keeps its change,
// and this one completes. A wait that runs out (the server's lock timeout) fails the same way
// with the holder still active: once the waits add up to the lock timeout, `ranOut` is set and
// the conflict is thrown.
constexpr int kConflictAttempts = 10;

void executeWaitingOnLocks(ThrowStatusWrapper& status, IStatement* statement, ITransaction* transaction,
                           bool& ranOut)
{
    QElapsedTimer waited;
    waited.start();
    const qint64 limit = qint64(lockTimeoutSeconds()) * 1000;
    for (int attempt = 1;; ++attempt) {
        try {
            statement->execute(&status, transaction, nullptr, nullptr, nullptr, nullptr);
            return;
        } catch (const FbException& e) {
            // Without waiting (a lock timeout of 0) a held row fails at once with a lock conflict.
            const bool noWait = hasErrorCode(e.getStatus(), isc_lock_conflict);
            if (!StatusGuard::isUpdateConflict(e.getStatus()) && !noWait)
                throw;
            if (noWait || hasErrorCode(e.getStatus(), isc_lock_timeout) || waited.elapsed() >= limit) {
                ranOut = true;
                throw;
            }
            if (attempt == kConflictAttempts)
                throw;
            status.clearException();
        }
    }
}

} // namespace

QByteArray statementText(const QString& sql)
{
    if (nulOutsideQuotes(sql))
        throw DbError(QStringLiteral("O comando SQL tem um caractere NUL fora de um texto entre aspas e não foi enviado ao "
                                     "servidor:\n%1").arg(QString(sql).replace(QChar(0), QLatin1String("\\0"))));
    return toCp1252(sql);
}

int executeDirect(Attachment& attachment, const QString& sql)
{
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    const QByteArray text = statementText(sql);
    ITransaction* transaction = nullptr;
    IStatement* statement = nullptr;
    bool ranOut = false;
    try {
        transaction = attachment.startTransaction(st);
        statement = attachment.handle()->prepare(&st, transaction, unsigned(text.size()), text.constData(), 3,
                                                 IStatement::PREPARE_PREFETCH_NONE);
        executeWaitingOnLocks(st, statement, transaction, ranOut);
        const auto affected = statement->getAffectedRecords(&st);
        statement->free(&st);
        statement = nullptr;
        transaction->commit(&st);
        return int(affected);
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        StatusGuard cleanup(attachment.library());
        auto& cs = cleanup.wrapper();
        if (statement) { try { statement->free(&cs); } catch (const FbException&) { statement->release(); } }
        if (transaction) { try { transaction->rollback(&cs); } catch (const FbException&) { transaction->release(); } }
        attachment.raise(e.getStatus(), message, ranOut);
    }
}

int executeIn(TransactionState& transaction, const QString& sql)
{
    Attachment& attachment = transaction.attachment;
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    const QByteArray text = statementText(sql);
    IStatement* statement = nullptr;
    bool ranOut = false;
    try {
        statement = attachment.handle()->prepare(&st, transaction.handle, unsigned(text.size()), text.constData(), 3,
                                                 IStatement::PREPARE_PREFETCH_NONE);
        executeWaitingOnLocks(st, statement, transaction.handle, ranOut);
        const auto affected = statement->getAffectedRecords(&st);
        statement->free(&st);
        return int(affected);
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        if (statement) {
            StatusGuard cleanup(attachment.library());
            try { statement->free(&cleanup.wrapper()); } catch (const FbException&) { statement->release(); }
        }
        attachment.raise(e.getStatus(), message, ranOut);
    }
}

bool executeUnlessLocked(TransactionState& transaction, const QString& sql)
{
    Attachment& attachment = transaction.attachment;
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    const QByteArray text = toCp1252(sql);
    IStatement* statement = nullptr;
    try {
        statement = attachment.handle()->prepare(&st, transaction.handle, unsigned(text.size()), text.constData(), 3,
                                                 IStatement::PREPARE_PREFETCH_NONE);
        statement->execute(&st, transaction.handle, nullptr, nullptr, nullptr, nullptr);
        statement->free(&st);
        return true;
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const bool locked = StatusGuard::isUpdateConflict(e.getStatus()) || hasErrorCode(e.getStatus(), isc_lock_conflict);
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        if (statement) {
            StatusGuard cleanup(attachment.library());
            try { statement->free(&cleanup.wrapper()); } catch (const FbException&) { statement->release(); }
        }
        if (locked && !attachment.lost())
            return false;
        attachment.raise(e.getStatus(), message);
    }
}

std::vector<int> executeInOneTransaction(Attachment& attachment, const QStringList& statements)
{
    for (const QString& sql : statements) // refused before the transaction starts
        statementText(sql);
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    std::vector<int> results;
    ITransaction* transaction = nullptr;
    transaction = attachment.startTransaction(st);
    bool ranOut = false;
    const auto abandon = [&](const FbException& e) {
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        rollbackOrRelease(attachment.library(), transaction);
        attachment.raise(e.getStatus(), message, true);
    };
    for (const QString& sql : statements) {
        const QByteArray text = statementText(sql);
        IStatement* statement = nullptr;
        try {
            statement = attachment.handle()->prepare(&st, transaction, unsigned(text.size()), text.constData(), 3,
                                                     IStatement::PREPARE_PREFETCH_NONE);
            executeWaitingOnLocks(st, statement, transaction, ranOut);
            results.push_back(int(statement->getAffectedRecords(&st)));
            statement->free(&st);
        } catch (const FbException& e) {
            attachment.checkAfterFailure(e.getStatus());
            if (statement)
                statement->release();
            // A lock that another program kept past the timeout: nothing is applied, and the
            // caller says why instead of counting the rows as failed.
            if (ranOut || hasErrorCode(e.getStatus(), isc_lock_timeout))
                abandon(e);
            st.clearException();
            results.push_back(-1);
        }
    }
    try {
        transaction->commit(&st);
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        transaction->release();
        attachment.raise(e.getStatus(), message);
    }
    return results;
}

void executeLoad(Attachment& attachment, const QStringList& statements)
{
    for (const QString& sql : statements) // refused before the transaction starts
        statementText(sql);
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    ITransaction* transaction = attachment.startTransaction(st);
    const QString* current = nullptr;
    try {
        for (const QString& sql : statements) {
            current = &sql;
            const QByteArray text = statementText(sql);
            attachment.handle()->execute(&st, transaction, unsigned(text.size()), text.constData(), 3,
                                         nullptr, nullptr, nullptr, nullptr);
        }
        transaction->commit(&st);
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        rollbackOrRelease(attachment.library(), transaction);
        attachment.raise(e.getStatus(), current ? message + QLatin1Char('\n') + *current : message);
    }
}

QByteArray buildDpb(ClientLibrary& library, const QString& user, const QString& password,
                    const QString& characterSet, const QString& newDatabaseCharset)
{
    StatusGuard guard(library);
    auto& st = guard.wrapper();
    IXpbBuilder* dpb = nullptr;
    try {
        dpb = library.util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&st, isc_dpb_user_name, user.toUtf8().constData());
        dpb->insertString(&st, isc_dpb_password, password.toUtf8().constData());
        if (!characterSet.isEmpty())
            dpb->insertString(&st, isc_dpb_lc_ctype, characterSet.toLatin1().constData());
        dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
        // The database's file name and the texts above go as UTF-8, whatever the connection's
        // character set: a folder named with accents ("Farmácia São João") would otherwise be
        // read in the connection's character set, which cannot hold its bytes.
        dpb->insertTag(&st, isc_dpb_utf8_filename);
        if (!newDatabaseCharset.isEmpty())
            dpb->insertString(&st, isc_dpb_set_db_charset, newDatabaseCharset.toLatin1().constData());
        QByteArray out(reinterpret_cast<const char*>(dpb->getBuffer(&st)), qsizetype(dpb->getBufferLength(&st)));
        dpb->dispose();
        return out;
    } catch (const FbException& e) {
        if (dpb)
            dpb->dispose();
        guard.rethrow(e);
    }
}

} // namespace livros::data
