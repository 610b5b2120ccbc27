#include "data/transaction.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_client.h"
#include "platform/cp1252.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <optional>

using namespace Firebird;

namespace livros::data {

namespace {
constexpr int kDefaultLockTimeoutSeconds = 60;
} // namespace

namespace {
// The setting's whole seconds; nullopt when it is set to anything else.
std::optional<int> lockTimeoutSetting()
{
    const QByteArray text = qgetenv("LIVROS_LOCK_TIMEOUT").trimmed();
    if (text.isEmpty())
        return kDefaultLockTimeoutSeconds;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) || text.size() > 6)
        return std::nullopt;
    return text.toInt();
}
} // namespace

int lockTimeoutSeconds() { return lockTimeoutSetting().value_or(kDefaultLockTimeoutSeconds); }

QString lockTimeoutProblem()
{
    if (lockTimeoutSetting())
        return {};
    return QStringLiteral("LIVROS_LOCK_TIMEOUT inválido: \"%1\". Use um número inteiro de segundos de 0 a 999999 "
                          "(0 = não esperar por outra estação).")
        .arg(QString::fromLocal8Bit(qgetenv("LIVROS_LOCK_TIMEOUT")));
}

QString longerWaitAdvice()
{
    return QStringLiteral("Para esperar mais, defina LIVROS_LOCK_TIMEOUT com os segundos de espera "
                          "(por exemplo, LIVROS_LOCK_TIMEOUT=600).");
}

QString lockTimeoutMessage()
{
    const int seconds = lockTimeoutSeconds();
    const QString held = seconds == 0
        ? QStringLiteral("Outra estação mantém bloqueados os dados que esta operação precisa alterar (sem espera: "
                         "LIVROS_LOCK_TIMEOUT=0).")
        : QStringLiteral("Outra estação mantém bloqueados os dados que esta operação precisa alterar, há mais de "
                         "%1 segundos.")
              .arg(seconds);
    return held + QStringLiteral(" Nada foi alterado; tente novamente mais tarde. ") + longerWaitAdvice();
}

// ---------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Connection& connection, const QStringList& reservedTables,
                         const std::function<void()>& onWait, const QString& rowLock)
    : m_connection(connection)
{
    if (connection.activeTransaction())
        throw DbError(QStringLiteral("%1: já há uma transação em andamento nesta conexão").arg(connection.name()));
    // Attaching again is safe here: nothing has been done in this transaction yet.
    connection.run([&](Attachment& attachment) {
        StatusGuard guard(attachment.library());
        TransactionOptions options;
        options.reservedTables = reservedTables;
        // A transaction that reserves a book table is a build: it reads one state of every
        // table, so that a sale recorded meanwhile is wholly in the book or wholly out.
        options.snapshot = !reservedTables.isEmpty();
        ITransaction* handle = nullptr;
        if (!reservedTables.isEmpty()) {
            options.wait = false;
            try {
                handle = attachment.startTransaction(guard.wrapper(), options);
            } catch (const LockConflict&) {
                if (onWait)
                    onWait();
            }
            options.wait = true;
        } else if (!rowLock.isEmpty()) {
            // A try without waiting, undone at once, only to say that another station holds the
            // rows; the transaction itself waits on every lock as usual.
            TransactionOptions probeOptions;
            probeOptions.wait = false;
            TransactionState probe{attachment, attachment.startTransaction(guard.wrapper(), probeOptions), {}};
            const bool held = !executeUnlessLocked(probe, rowLock);
            probe.rollback();
            if (held && onWait)
                onWait();
        }
        try {
            if (!handle)
                handle = attachment.startTransaction(guard.wrapper(), options);
        } catch (const LockConflict&) {
            // LIVROS_LOCK_TIMEOUT=0: the second start does not wait either.
            throw LockTimeout(lockTimeoutMessage());
        }
        m_state.reset(new TransactionState{attachment, handle, {}});
        if (!rowLock.isEmpty()) {
            try {
                executeIn(*m_state, rowLock); // waits; LockTimeout once the wait runs out
            } catch (...) {
                m_state->rollback();
                m_state.reset();
                throw;
            }
        }
    });
    connection.setActiveTransaction(m_state.get());
}

Transaction::~Transaction() { rollback(); }

bool Transaction::active() const { return m_state && m_state->handle; }

int Transaction::execute(const QString& sql)
{
    if (!active())
        throw DbError(QStringLiteral("%1: a transação já terminou").arg(m_connection.name()));
    return executeIn(*m_state, sql);
}

void Transaction::commit()
{
    if (!active())
        throw DbError(QStringLiteral("%1: a transação já terminou").arg(m_connection.name()));
    try {
        m_state->commit();
    } catch (...) {
        rollback();
        throw;
    }
    end();
}

void Transaction::rollback()
{
    if (!m_state)
        return;
    m_state->rollback();
    end();
}

void Transaction::end()
{
    if (m_connection.activeTransaction() == m_state.get())
        m_connection.setActiveTransaction(nullptr);
}

// ---------------------------------------------------------------------------------------------
// PreparedStatement

struct PreparedStatement::Impl {
    TransactionState* transaction = nullptr;
    IStatement* statement = nullptr;
    IMessageMetadata* metadata = nullptr;
    std::vector<unsigned char> buffer;
    QString sql;

    struct Parameter {
        unsigned type, offset, nullOffset, length;
        int scale;
    };
    std::vector<Parameter> parameters;

    const Parameter& at(int index) const
    {
        if (index < 0 || index >= int(parameters.size()))
            throw DbError(QStringLiteral("Parâmetro %1 inexistente em: %2").arg(index).arg(sql));
        return parameters[size_t(index)];
    }
    unsigned char* value(const Parameter& p) { return &buffer[p.offset]; }
    void setNotNull(const Parameter& p) { *reinterpret_cast<short*>(&buffer[p.nullOffset]) = 0; }
    IUtil* util() const { return transaction->attachment.library().util(); }
};

namespace {

// Text parameters are described longer than their columns, so that a text that does not fit
// reaches the server and fails there as the same text written into the statement would.
unsigned textParameterLength(unsigned declared) { return declared * 4 + 256; }

// "-12.3457" as an integer at `decimals` decimals (rounded half away from zero); false when the
// text is no decimal number.
bool scaledInteger(const QString& text, int decimals, qint64& out)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.at(0) == u'-';
        t.remove(0, 1);
    }
    const qsizetype point = t.indexOf(u'.');
    const QString whole = point < 0 ? t : t.left(point);
    QString fraction = point < 0 ? QString() : t.mid(point + 1);
    const auto digitsOnly = [](const QString& s) { return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); }); };
    if ((whole.isEmpty() && fraction.isEmpty()) || !digitsOnly(whole) || !digitsOnly(fraction))
        return false;
    const bool roundUp = fraction.size() > decimals && fraction.at(decimals).digitValue() >= 5;
    fraction = fraction.left(decimals).leftJustified(decimals, u'0');
    bool ok = false;
    qint64 value = (whole + fraction).toLongLong(&ok);
    if (!ok && !(whole + fraction).isEmpty())
        return false;
    if (roundUp)
        ++value;
    out = negative ? -value : value;
    return true;
}

} // namespace

PreparedStatement::PreparedStatement(Transaction& transaction, const QString& sql) : d(std::make_unique<Impl>())
{
    if (!transaction.active())
        throw DbError(QStringLiteral("%1: a transação já terminou").arg(transaction.connection().name()));
    d->transaction = &transaction.state();
    d->sql = sql;
    Attachment& attachment = d->transaction->attachment;
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    const QByteArray text = statementText(sql);
    IMetadataBuilder* builder = nullptr;
    IMessageMetadata* described = nullptr;
    try {
        d->statement = attachment.handle()->prepare(&st, d->transaction->handle, unsigned(text.size()), text.constData(),
                                                    3, IStatement::PREPARE_PREFETCH_NONE);
        described = d->statement->getInputMetadata(&st);
        builder = described->getBuilder(&st);
        const unsigned count = described->getCount(&st);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned type = described->getType(&st, i) & ~1u;
            if (type == SQL_TEXT || type == SQL_VARYING) {
                builder->setType(&st, i, SQL_VARYING + 1);
                builder->setLength(&st, i, textParameterLength(described->getLength(&st, i)));
            } else {
                builder->setType(&st, i, type + 1); // every parameter may be null
            }
        }
        d->metadata = builder->getMetadata(&st);
        builder->release();
        builder = nullptr;
        described->release();
        described = nullptr;
        d->buffer.assign(d->metadata->getMessageLength(&st), 0);
        for (unsigned i = 0; i < count; ++i) {
            d->parameters.push_back(Impl::Parameter{d->metadata->getType(&st, i) & ~1u, d->metadata->getOffset(&st, i),
                                                    d->metadata->getNullOffset(&st, i), d->metadata->getLength(&st, i),
                                                    d->metadata->getScale(&st, i)});
            *reinterpret_cast<short*>(&d->buffer[d->parameters.back().nullOffset]) = -1;
        }
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        if (builder)
            builder->release();
        if (described)
            described->release();
        if (d->statement)
            d->statement->release();
        d->statement = nullptr;
        attachment.raise(e.getStatus(), message);
    }
}

PreparedStatement::~PreparedStatement()
{
    if (d->metadata)
        d->metadata->release();
    if (!d->statement)
        return;
    StatusGuard guard(d->transaction->attachment.library());
    try {
        d->statement->free(&guard.wrapper());
    } catch (const FbException&) {
        d->statement->release();
    }
}

int PreparedStatement::parameterCount() const { return int(d->parameters.size()); }

void PreparedStatement::setNull(int index)
{
    *reinterpret_cast<short*>(&d->buffer[d->at(index).nullOffset]) = -1;
}

void PreparedStatement::setInteger(int index, qint64 value)
{
    const Impl::Parameter& p = d->at(index);
    qint64 scaled = value;
    for (int k = 0; k < -p.scale; ++k)
        scaled *= 10;
    switch (p.type) {
    case SQL_SHORT: { const short v = short(scaled); std::memcpy(d->value(p), &v, sizeof v); break; }
    case SQL_LONG: { const qint32 v = qint32(scaled); std::memcpy(d->value(p), &v, sizeof v); break; }
    case SQL_INT64: std::memcpy(d->value(p), &scaled, sizeof scaled); break;
    case SQL_DOUBLE: { const double v = double(value); std::memcpy(d->value(p), &v, sizeof v); break; }
    default:
        setText(index, QString::number(value));
        return;
    }
    d->setNotNull(p);
}

void PreparedStatement::setText(int index, const QString& text)
{
    const Impl::Parameter& p = d->at(index);
    if (p.type != SQL_VARYING)
        throw DbError(QStringLiteral("O parâmetro %1 não recebe texto em: %2").arg(index).arg(d->sql));
    const QByteArray bytes = toCp1252(text).left(qsizetype(p.length));
    const unsigned short length = static_cast<unsigned short>(bytes.size());
    std::memcpy(d->value(p), &length, sizeof length);
    std::memcpy(d->value(p) + sizeof length, bytes.constData(), size_t(bytes.size()));
    d->setNotNull(p);
}

void PreparedStatement::setDate(int index, const QDate& date)
{
    const Impl::Parameter& p = d->at(index);
    if (!date.isValid()) {
        setNull(index);
        return;
    }
    const ISC_DATE encoded = d->util()->encodeDate(unsigned(date.year()), unsigned(date.month()), unsigned(date.day()));
    if (p.type == SQL_TYPE_DATE) {
        std::memcpy(d->value(p), &encoded, sizeof encoded);
    } else if (p.type == SQL_TIMESTAMP) {
        const ISC_TIMESTAMP ts{encoded, 0};
        std::memcpy(d->value(p), &ts, sizeof ts);
    } else {
        throw DbError(QStringLiteral("O parâmetro %1 não recebe data em: %2").arg(index).arg(d->sql));
    }
    d->setNotNull(p);
}

void PreparedStatement::setDecimal(int index, const QString& number)
{
    const Impl::Parameter& p = d->at(index);
    if (p.type == SQL_SHORT || p.type == SQL_LONG || p.type == SQL_INT64) {
        qint64 scaled = 0;
        if (!scaledInteger(number, -p.scale, scaled))
            throw DbError(QStringLiteral("'%1' não é um número (parâmetro %2 de: %3)").arg(number).arg(index).arg(d->sql));
        if (p.type == SQL_INT64) {
            std::memcpy(d->value(p), &scaled, sizeof scaled);
        } else if (p.type == SQL_LONG) {
            const qint32 v = qint32(scaled);
            std::memcpy(d->value(p), &v, sizeof v);
        } else {
            const short v = short(scaled);
            std::memcpy(d->value(p), &v, sizeof v);
        }
        d->setNotNull(p);
        return;
    }
    if (p.type == SQL_DOUBLE || p.type == SQL_FLOAT) {
        bool ok = false;
        const double v = QLocale::c().toDouble(number.trimmed(), &ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' não é um número (parâmetro %2 de: %3)").arg(number).arg(index).arg(d->sql));
        if (p.type == SQL_DOUBLE) {
            std::memcpy(d->value(p), &v, sizeof v);
        } else {
            const float f = float(v);
            std::memcpy(d->value(p), &f, sizeof f);
        }
        d->setNotNull(p);
        return;
    }
    setText(index, number);
}

void PreparedStatement::execute()
{
    if (!d->transaction->handle)
        throw DbError(QStringLiteral("A transação deste comando já terminou: %1").arg(d->sql));
    Attachment& attachment = d->transaction->attachment;
    StatusGuard guard(attachment.library());
    auto& st = guard.wrapper();
    try {
        d->statement->execute(&st, d->transaction->handle, d->metadata, d->buffer.data(), nullptr, nullptr);
    } catch (const FbException& e) {
        attachment.checkAfterFailure(e.getStatus());
        const QString message = attachment.library().statusText(e.getStatus());
        st.clearException();
        attachment.raise(e.getStatus(), message);
    }
}

} // namespace livros::data
