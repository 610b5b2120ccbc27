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

// The attachment was found gone at the start of an operation, before anything reached the
// database: the connection attaches again and repeats the operation once.
class StaleAttachment : public DbError {
public:
    using DbError::DbError;
};

} // namespace livros::data
