#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace livros::data {

class Connection;
struct TransactionState; // the Firebird side, private to data/

// How long a statement waits for a lock that another transaction holds (a row being written, a
// reserved table) before it gives up with LockTimeout: the whole number of seconds in the
// environment variable LIVROS_LOCK_TIMEOUT, 0 meaning "do not wait"; 60 when it is not set (or
// not valid, which lockTimeoutProblem() reports).
int lockTimeoutSeconds();
// The Portuguese text that refuses a LIVROS_LOCK_TIMEOUT that is not a whole number of seconds;
// empty when it is one or is not set.
QString lockTimeoutProblem();
// The Portuguese text of a lock wait that ran out, with how to wait longer.
QString lockTimeoutMessage();
// The sentence that says how to make the waits longer.
QString longerWaitAdvice();

// A transaction held by its owner for a unit of work (a book build): while it lives, every query,
// cached dataset and direct statement of its connection runs in it, and nothing is committed
// before commit(). Destroyed without commit() it rolls back, so that a failure anywhere leaves
// the database as it was. Reserved tables are written by no other transaction meanwhile, and a
// transaction that reserves tables reads a snapshot: one state of the database throughout.
//
// Attaching again after a lost attachment happens only when the transaction starts: once it has
// begun, a lost attachment fails it (DatabaseUnavailable) and the server undoes what it did.
class Transaction {
public:
    // Starts the transaction. When a reserved table is held by another transaction, `onWait` runs
    // once (to say so) and the start waits up to lockTimeoutSeconds(); then LockTimeout.
    // `rowLock`, when given, is a statement that writes the rows this transaction owns (a build's
    // claim on one store's book): it runs first, and while another transaction holds those rows
    // the start waits for it the same way. Other rows of the same tables are not held.
    explicit Transaction(Connection& connection, const QStringList& reservedTables = {},
                         const std::function<void()>& onWait = {}, const QString& rowLock = {});
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Connection& connection() const { return m_connection; }
    bool active() const;
    // Direct statement inside the transaction; a failed one is undone alone and throws.
    int execute(const QString& sql);
    void commit();
    void rollback();

    TransactionState& state() const { return *m_state; }

private:
    void end();

    Connection& m_connection;
    std::unique_ptr<TransactionState> m_state;
};

// One statement with parameters ("?"), prepared once in a transaction and executed many times
// with new values. Values are set by position (0 first) and converted to the parameter's type as
// the server describes it; a value that does not fit fails the execution with the server's error.
class PreparedStatement {
public:
    PreparedStatement(Transaction& transaction, const QString& sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    int parameterCount() const;
    void setNull(int index);
    void setInteger(int index, qint64 value);
    void setText(int index, const QString& text);
    void setDate(int index, const QDate& date);
    // A decimal number written as text ("-12.3457"), stored exactly at the parameter's scale.
    void setDecimal(int index, const QString& number);
    // Executes with the values set. The rows affected are not asked for: through a server that
    // would be a second round trip for every execution (every book line).
    void execute();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace livros::data
