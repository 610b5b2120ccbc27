#pragma once
#include <QString>
#include <stdexcept>

namespace livros::data {

// An error of the database layer: the driver's (server's) message, or our own for a missing
// client library or an unknown column. Reaches the standard error display unless caught.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The database cannot serve the operation at all: attaching failed, the attachment was lost
// during the operation (server stopped, network gone), or a write met a read-only database. The
// operation's transaction did not commit. Callers that carry on past a failed statement or query
// must not carry on past this one: whatever follows would fail the same way. The next use of the
// connection attaches again.
class DatabaseUnavailable : public DbError {
public:
    using DbError::DbError;
};

// The attachment was found gone at the start of an operation, before anything reached the
// database: the connection attaches again and repeats the operation once.
class StaleAttachment : public DatabaseUnavailable {
public:
    using DatabaseUnavailable::DatabaseUnavailable;
};

// A lock held by another transaction was waited on for lockTimeoutSeconds() and is still held:
// the statement did nothing. Its text says so in Portuguese, with the server's message.
class LockTimeout : public DbError {
public:
    using DbError::DbError;
};

// A table reservation asked without waiting is held by another transaction.
class LockConflict : public DbError {
public:
    using DbError::DbError;
};

} // namespace livros::data
