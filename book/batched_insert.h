#pragma once
#include "data/db_error.h"
#include "data/transaction.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace livros::book {

// One value of a row to insert, typed as the statement's parameter takes it.
struct ColumnValue {
    enum class Type { Null, Integer, Text, Decimal, Date } type = Type::Null;
    qint64 integer = 0;
    QString text;      // Text, or Decimal as "-12.345600"
    QDate date;

    static ColumnValue ofInteger(qint64 v) { return {Type::Integer, v, {}, {}}; }
    static ColumnValue ofText(const QString& v) { return {Type::Text, 0, v, {}}; }
    static ColumnValue ofDecimal(const QString& v) { return {Type::Decimal, 0, v, {}}; }
    static ColumnValue ofDate(const QDate& v) { return {Type::Date, 0, {}, v}; }
};

// A row the server refused: its place among the rows given (0 first) and the server's reason.
class RowRefused : public data::DbError {
public:
    RowRefused(std::size_t row, const QString& reason) : data::DbError(reason), m_row(row) {}
    std::size_t row() const { return m_row; }

private:
    std::size_t m_row;
};

// Inserts rows into one table of the build's transaction several at a time: each group in one
// prepared EXECUTE BLOCK whose parameters take the columns' types, since through a server every
// execution costs a round trip. A remainder goes in groups of 16, 8, 4, 2 and 1. A group the
// server refuses is undone whole and sent again row by row, so that the refused row is named.
class BatchedInsert {
public:
    BatchedInsert(data::Transaction& transaction, const QString& table, const QStringList& columns);
    ~BatchedInsert();

    // Keeps the row (one value per column); sends the kept rows when a whole group is ready.
    // Throws RowRefused, or the database's loss.
    void write(std::vector<ColumnValue> row);
    // Sends every kept row.
    void flush();

private:
    data::PreparedStatement& statementFor(int rowCount);
    void send(std::size_t first, int rowCount);
    QString statementText(int rowCount) const;

    data::Transaction& m_transaction;
    QString m_table;
    QStringList m_columns;
    std::map<int, std::unique_ptr<data::PreparedStatement>> m_statements; // by rows per execution
    std::vector<std::vector<ColumnValue>> m_pending;
    std::size_t m_sent = 0; // rows sent before the pending ones
};

} // namespace livros::book
