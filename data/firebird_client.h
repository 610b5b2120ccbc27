#pragma once
// The Firebird side of the data layer: only files of this folder include this header.
#include <firebird/Interface.h>
#include <ibase.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace livros::data {

// A client library loaded at run time and its master interface. Loaded once per file and
// kept for the life of the process (unloading a Firebird client is not safe).
class ClientLibrary {
public:
    // "gds32.dll" means the system's client; "<folder>GDS32.DLL" the client in that folder.
    // Throws DbError naming the file when it cannot be loaded or is not a Firebird client.
    static ClientLibrary& load(const QString& vendorLib);
    static QString resolveFileName(const QString& vendorLib);

    Firebird::IMaster* master() const { return m_master; }
    Firebird::IUtil* util() const { return m_util; }
    Firebird::IProvider* provider() const { return m_provider; }

    // The message of a failed call: the server's text, lines joined as Firebird formats them, in
    // Portuguese where it has a translation.
    QString statusText(Firebird::IStatus* status) const;

private:
    ClientLibrary() = default;
    Firebird::IMaster* m_master = nullptr;
    Firebird::IUtil* m_util = nullptr;
    Firebird::IProvider* m_provider = nullptr;
};

// A status object that throws DbError with the client's text, and notes whether the error means
// that the attachment is gone (server stopped, network lost), so the connection can attach again.
class StatusGuard {
public:
    explicit StatusGuard(ClientLibrary& library);
    ~StatusGuard();
    Firebird::ThrowStatusWrapper& wrapper() { return m_wrapper; }
    // Converts a caught Firebird exception into our error.
    [[noreturn]] void rethrow(const Firebird::FbException& e);
    static bool isConnectionLoss(const Firebird::IStatus* status);
    // A lock wait that ended with the holder committing its change of the row.
    static bool isUpdateConflict(const Firebird::IStatus* status);
    // The error vector holds the Firebird error code.
    static bool hasError(const Firebird::IStatus* status, intptr_t code);

private:
    ClientLibrary& m_library;
    Firebird::IStatus* m_status;
    Firebird::ThrowStatusWrapper m_wrapper;
};

// What a transaction asks of the server besides the fixed read committed, record version,
// read-write mode.
struct TransactionOptions {
    // Tables reserved for writing (protected): other transactions may read them but not write
    // them until this one ends, and a second transaction reserving one of them waits.
    QStringList reservedTables;
    // Wait on locks (up to lockTimeoutSeconds()); false: a lock held by another transaction
    // fails at once.
    bool wait = true;
    // Snapshot (concurrency): every read sees the database as it was when the transaction
    // started; otherwise read committed.
    bool snapshot = false;
};

// An attachment to one database.
class Attachment {
public:
    // database: the text the attachment was made with, for messages that must name it.
    Attachment(ClientLibrary& library, Firebird::IAttachment* attachment, const QString& database);
    ~Attachment();
    ClientLibrary& library() const { return m_library; }
    Firebird::IAttachment* handle() const { return m_attachment; }
    // Read committed, record version, read-write, waiting on locks up to lockTimeoutSeconds().
    // When the attachment is found gone here, nothing has reached the database yet: throws
    // StaleAttachment. A reservation that meets another one without waiting throws LockConflict.
    Firebird::ITransaction* startTransaction(Firebird::ThrowStatusWrapper& status,
                                             const TransactionOptions& options = {});
    bool lost() const { return m_lost; }
    // Raise: stops the operation running on the attachment, from any thread; it fails with the
    // server's "cancelled" error (nothing running: the next operation does). Forget: drops a
    // request still pending, cancelling being allowed again at once.
    enum class Cancel { Raise, Forget };
    void cancelOperation(Cancel what) noexcept;
    // After a failed call: notes whether the attachment is gone (by the error, or by a ping).
    void checkAfterFailure(const Firebird::IStatus* status);
    // The error of a failed call, after checkAfterFailure, with its message: DatabaseUnavailable
    // when the attachment is gone or the database is read-only (the message then names the
    // database, which the server's does not), LockTimeout when a lock wait ran out, DbError
    // otherwise.
    [[noreturn]] void raise(const Firebird::IStatus* status, const QString& message,
                            bool lockWaitRanOut = false) const;

private:
    ClientLibrary& m_library;
    Firebird::IAttachment* m_attachment;
    QString m_database;
    bool m_lost = false;
};

// One column of a result: where its value and null flag lie in the row buffer.
struct ColumnLayout {
    QString name;      // alias, upper case as the server returns it
    unsigned type = 0; // SQL_* without the nullable bit
    int scale = 0;
    unsigned subType = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

class ResultCursor;

// A transaction that several statements and result sets share (the Firebird side of
// data::Transaction). Result sets still open when it ends are closed first.
struct TransactionState {
    Attachment& attachment;
    Firebird::ITransaction* handle = nullptr;
    std::vector<ResultCursor*> cursors;

    // Closes what is open in it and commits; throws the server's error when it cannot.
    void commit();
    // Rolls back; a transaction whose attachment is gone is just dropped (the server undoes it).
    void rollback() noexcept;
    void closeCursors() noexcept;
};

// An open forward-only result set, in a transaction of its own that closing commits, or in a
// shared transaction that it leaves open. `parameters` are the values of the text's "?", in
// order (see bindParameters).
class ResultCursor {
public:
    ResultCursor(Attachment& attachment, const QString& sql, TransactionState* shared = nullptr,
                 const QVariantList& parameters = {});
    ~ResultCursor();
    const std::vector<ColumnLayout>& columns() const { return m_columns; }
    int columnIndex(const QString& upperName) const;
    // Moves to the next row; false at the end.
    bool fetch();
    bool isNull(int column) const;
    QVariant value(int column) const;
    // The value as an exact SQL literal (the stored digits of a decimal, the full fraction of a
    // time), for WHERE clauses that must match the row as read; "" for null and for blobs.
    QString literal(int column) const;
    // The Qt type that value() gives for a column.
    QMetaType::Type valueType(int column) const;
    // Ends the result and commits its own transaction.
    void close();

private:
    [[noreturn]] void fail(const Firebird::FbException& e);
    void release();
    void unregister();
    QByteArray readBlob(const ISC_QUAD& id) const;

    Attachment& m_attachment;
    StatusGuard m_status;
    TransactionState* m_shared;
    bool m_open = false;
    Firebird::ITransaction* m_transaction = nullptr;
    Firebird::IStatement* m_statement = nullptr;
    Firebird::IResultSet* m_resultSet = nullptr;
    Firebird::IMessageMetadata* m_metadata = nullptr;
    std::vector<ColumnLayout> m_columns;
    std::vector<unsigned char> m_buffer;
};

// The input message of a prepared statement's "?" parameters. Each value goes as text and the
// server converts it to the parameter's type: a QString in code page 1252, a whole number in
// digits, a QDate as "yyyy-mm-dd", a QDateTime with its time, a double with a point; a null
// QVariant or an invalid date is NULL. Another kind of value, or a count that is not the
// statement's, throws DbError naming the statement.
struct InputMessage {
    Firebird::IMessageMetadata* metadata = nullptr; // null when the statement has no parameter
    std::vector<unsigned char> buffer;
    ~InputMessage();
};
void bindParameters(Firebird::IStatement* statement, Firebird::ThrowStatusWrapper& status, const QString& sql,
                    const QVariantList& parameters, InputMessage& message);

// The statement's bytes in code page 1252, as the server reads them. A NUL outside quoted text is
// refused here (DbError) before anything reaches the server: Firebird 3 refuses such a statement
// and Firebird 4 takes it, and our programs must not depend on which engine they meet.
QByteArray statementText(const QString& sql);

// Executes one statement without result rows in a transaction of its own; returns rows affected.
// A statement that waited on a lock and met the holder's committed change runs again (here and
// in executeInOneTransaction), so that waiting on locks ends in completion, not in a conflict.
int executeDirect(Attachment& attachment, const QString& sql);
// The same in a shared transaction, which stays open; a failed statement is undone alone.
int executeIn(TransactionState& transaction, const QString& sql);
// Executes a statement in a shared transaction that does not wait on locks: false when a row it
// writes is held by another transaction (nothing done), true when it ran.
bool executeUnlessLocked(TransactionState& transaction, const QString& sql);

// Executes statements in one transaction, committed at the end even when some failed; for each,
// the rows affected, or -1 when it failed.
std::vector<int> executeInOneTransaction(Attachment& attachment, const QStringList& statements);

// Executes statements in one transaction; the first failure rolls everything back and throws
// DbError with the server's message and the failing statement.
void executeLoad(Attachment& attachment, const QStringList& statements);

// The DPB of an attachment or a database creation.
QByteArray buildDpb(ClientLibrary& library, const QString& user, const QString& password,
                    const QString& characterSet, const QString& newDatabaseCharset = {});

} // namespace livros::data
