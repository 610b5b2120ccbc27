#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>
#include "data/db_error.h"

#include <memory>
#include <utility>

namespace livros::data {

class Attachment; // the Firebird side, private to data/
class ResultCursor;
struct TransactionState;

// The database text as the client receives it: a server part ("host:" or "host/port:") unchanged,
// a local suite path (a leading ":" or a bare drive path) mapped into the suite folder.
QString clientDatabaseText(const QString& database);

// A database connection (`sqlcon1`, `sqlcon2`): the client library, the connection parameters
// (name=value, names without regard to letter case: "DataBase", "User_Name", "Password"...)
// and, once opened, the attachment, which stays until close() or destruction.
//
// Every query and every direct statement runs in a transaction of its own (read committed, record
// version, waiting on locks up to lockTimeoutSeconds()), committed when the statement completes or
// the query is closed; except while a data::Transaction is held on the connection: then they all
// run in it.
class Connection {
public:
    // characterSet: "" attaches without naming one (the main database), "win1252" otherwise.
    Connection(const QString& name, const QString& characterSet);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString name() const;

    // The client library: "gds32.dll" means the system's Firebird client; a folder followed by
    // "GDS32.DLL" the client library in that folder. Loaded at the first open.
    void setVendorLib(const QString& library);
    QString vendorLib() const;

    void setParam(const QString& name, const QString& value);
    QString param(const QString& name) const;
    QString characterSet() const;

    bool connected() const;
    // Attaches when not attached yet; a lost attachment is attached again on the next use.
    // Throws DatabaseUnavailable (the driver's or the loader's message) when it cannot attach.
    void open();
    void close();

    // Asks the server to stop the statement running on this connection now (a lock wait
    // included): that statement fails and its caller rolls back. Safe to call from another thread
    // than the one running the statement; does nothing when the connection is not attached. A
    // request made while no statement runs stops the next one: once the work it was meant for has
    // ended, forgetCancelRequest() keeps it from reaching later work.
    void cancelRunningStatement() noexcept;
    void forgetCancelRequest() noexcept;

    // Direct statement: executes one statement without result rows in a transaction of its own,
    // committed on completion. Returns the rows affected. The text goes to the server unchanged.
    int execute(const QString& sql);

    // Loads data (demo installations, test databases): every statement in one transaction, all
    // or nothing.
    void executeAllOrNothing(const QStringList& statements);

    // A result set of a query: in the held transaction, or in one of its own. `parameters`: the
    // values of the text's "?" placeholders, in order.
    std::unique_ptr<ResultCursor> openCursor(const QString& sql, const QVariantList& parameters = {});

    // The transaction held on the connection (data::Transaction), or null.
    TransactionState* activeTransaction() const;
    void setActiveTransaction(TransactionState* transaction);

    // The attachment for the query and dataset classes of this layer.
    Attachment& attachment();

    // Runs an operation on the attachment; when the attachment turns out to be gone before the
    // operation did anything (server restarted, network lost), attaches again and runs it once more.
    template <typename F>
    auto run(F&& operation) -> decltype(operation(std::declval<Attachment&>()))
    {
        try {
            return operation(attachment());
        } catch (const StaleAttachment&) {
            close();
            return operation(attachment());
        }
    }

private:
    void attach();

    struct Impl;
    std::unique_ptr<Impl> d;
};

// The user and password given to every attachment: the fixed values of the connections, or the
// Firebird environment variables ISC_USER and ISC_PASSWORD when they are set.
QString effectiveUser(const QString& configured);
QString effectivePassword(const QString& configured);

} // namespace livros::data
