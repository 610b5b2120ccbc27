#include "book/batched_insert.h"

namespace livros::book {
namespace {

constexpr int kRowsPerExecution = 32;

void setValue(data::PreparedStatement& statement, int index, const ColumnValue& value)
{
    switch (value.type) {
    case ColumnValue::Type::Null:
        statement.setNull(index);
        break;
    case ColumnValue::Type::Integer:
        statement.setInteger(index, value.integer);
        break;
    case ColumnValue::Type::Text:
        statement.setText(index, value.text);
        break;
    case ColumnValue::Type::Decimal:
        statement.setDecimal(index, value.text);
        break;
    case ColumnValue::Type::Date:
        statement.setDate(index, value.date);
        break;
    }
}

} // namespace

BatchedInsert::BatchedInsert(data::Transaction& transaction, const QString& table, const QStringList& columns)
    : m_transaction(transaction), m_table(table), m_columns(columns)
{
    m_pending.reserve(kRowsPerExecution);
}

BatchedInsert::~BatchedInsert() = default;

QString BatchedInsert::statementText(int rowCount) const
{
    const QString insert = QStringLiteral("Insert into %1 (%2)").arg(m_table, m_columns.join(QStringLiteral(", ")));
    const int columns = int(m_columns.size());
    if (rowCount == 1)
        return insert + QStringLiteral(" values (?") + QStringLiteral(", ?").repeated(columns - 1) + QLatin1Char(')');
    QStringList parameters;
    QString body;
    for (int row = 0; row < rowCount; ++row) {
        QStringList values;
        for (int column = 0; column < columns; ++column) {
            const QString name = QStringLiteral("P%1_%2").arg(row).arg(column);
            parameters << QStringLiteral("%1 TYPE OF COLUMN %2.%3 = ?").arg(name, m_table, m_columns[column]);
            values << QLatin1Char(':') + name;
        }
        body += QStringLiteral("  %1 values (%2);\n").arg(insert, values.join(QStringLiteral(", ")));
    }
    return QStringLiteral("execute block (%1)\nas\nbegin\n%2end").arg(parameters.join(QStringLiteral(", ")), body);
}

data::PreparedStatement& BatchedInsert::statementFor(int rowCount)
{
    std::unique_ptr<data::PreparedStatement>& statement = m_statements[rowCount];
    if (!statement)
        statement = std::make_unique<data::PreparedStatement>(m_transaction, statementText(rowCount));
    return *statement;
}

void BatchedInsert::send(std::size_t first, int rowCount)
{
    data::PreparedStatement& statement = statementFor(rowCount);
    const int columns = int(m_columns.size());
    for (int row = 0; row < rowCount; ++row) {
        const std::vector<ColumnValue>& values = m_pending[first + std::size_t(row)];
        for (int column = 0; column < columns; ++column)
            setValue(statement, row * columns + column, values.at(std::size_t(column)));
    }
    try {
        statement.execute();
    } catch (const data::DatabaseUnavailable&) {
        throw;
    } catch (const data::DbError& error) {
        if (rowCount == 1)
            throw RowRefused(m_sent + first, error.message());
        // The block was undone whole: one row at a time finds the one refused.
        for (int row = 0; row < rowCount; ++row)
            send(first + std::size_t(row), 1);
        throw; // every row went in alone: the group's failure was not one row's
    }
}

void BatchedInsert::write(std::vector<ColumnValue> row)
{
    m_pending.push_back(std::move(row));
    if (int(m_pending.size()) == kRowsPerExecution)
        flush();
}

void BatchedInsert::flush()
{
    std::size_t first = 0;
    for (int group = kRowsPerExecution; group >= 1; group /= 2) {
        while (m_pending.size() - first >= std::size_t(group)) {
            send(first, group);
            first += std::size_t(group);
        }
    }
    m_sent += m_pending.size();
    m_pending.clear();
}

} // namespace livros::book
