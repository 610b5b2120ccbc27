#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace livros::data {

class Connection;
class ResultCursor;

// The ad-hoc query (`SQLQuery1`, `SQLQuery2`, and the readers' own): forward-only and read-only.
// Used as: close, set the text (with the values of its "?" placeholders, if any), open (executes
// and stands on the first row), read columns by name, next until eof, close. A query left open is
// closed by the next setSql() or open().
//
// A value goes to the server apart from the text, never spliced into it: QString, whole numbers,
// double, QDate, QDateTime, or a null QVariant for NULL (see data::bindParameters). The server
// takes a placeholder to be of the type of what it is compared with: a text longer than that
// column fails with its truncation error, so a value that may be longer is written
// "cast(? as varchar(n))".
class Query {
public:
    Query(Connection& connection, const QString& name);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    QString name() const;
    void close();
    void setSql(const QString& sql);
    void setSql(const QString& sql, const QVariantList& parameters);
    QString sql() const;
    QVariantList parameters() const { return m_parameters; }
    void open();
    bool active() const;
    bool eof() const;
    void next();

    QStringList fieldNames() const;
    // Reading a name that is not a column of the result is an error naming the field.
    bool isNull(const QString& field) const;
    // Text form: fixed-length text untrimmed, dates in the workstation's short date form,
    // numbers with the workstation's decimal separator; null gives "".
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;     // null gives 0
    double asFloat(const QString& field) const;    // null gives 0
    QDateTime asDateTime(const QString& field) const; // null gives an invalid date-time
    QVariant value(const QString& field) const;    // null gives a null QVariant
    // A number exactly as stored ("12.50000" for a NUMERIC(15,5)); null gives "".
    QString asExactNumber(const QString& field) const;

private:
    int column(const QString& field) const;

    Connection& m_connection;
    QString m_name;
    QString m_sql;
    QVariantList m_parameters;
    std::unique_ptr<ResultCursor> m_cursor;
    bool m_eof = true;
};

} // namespace livros::data
