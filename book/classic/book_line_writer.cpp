#include "book/classic/book_line_writer.h"

#include "platform/number_format.h"

namespace livros::classic {
namespace {

// Lines per execution: 32 lines are 448 parameters, about 14 KB of message. A remainder is sent
// in groups of the powers of two below, so that at most six statements are ever prepared.
constexpr int kLinesPerExecution = 32;
constexpr int kColumns = 14;

const char* const kColumnNames[kColumns] = {"ID",        "CNPJ",     "DCB",       "ESTOQUEINICIAL", "LIVRO",
                                            "DATA",      "HISTORICO", "MOVIMENTO", "SALDO",          "OBSERVACOES",
                                            "CODIGO",    "COMPONENTE", "PERIODO",  "UNID"};

QString insertOfColumns()
{
    QStringList names;
    for (const char* name : kColumnNames)
        names << QLatin1String(name);
    return QStringLiteral("Insert into LIVROCONTR (%1)").arg(names.join(QStringLiteral(", ")));
}

// One line: a plain insert. Several: an EXECUTE BLOCK whose parameters take each column's type.
QString statementText(int lineCount)
{
    if (lineCount == 1)
        return insertOfColumns() + QStringLiteral(" values (?") + QStringLiteral(", ?").repeated(kColumns - 1)
            + QLatin1Char(')');
    QStringList parameters;
    QString body;
    for (int line = 0; line < lineCount; ++line) {
        QStringList values;
        for (int column = 0; column < kColumns; ++column) {
            const QString name = QStringLiteral("P%1_%2").arg(line).arg(column);
            parameters << QStringLiteral("%1 TYPE OF COLUMN LIVROCONTR.%2 = ?")
                              .arg(name, QLatin1String(kColumnNames[column]));
            values << QLatin1Char(':') + name;
        }
        body += QStringLiteral("  %1 values (%2);\n").arg(insertOfColumns(), values.join(QStringLiteral(", ")));
    }
    return QStringLiteral("execute block (%1)\nas\nbegin\n%2end").arg(parameters.join(QStringLiteral(", ")), body);
}

void setLine(data::PreparedStatement& statement, int first, const BookLine& whole)
{
    const BookLine line = fittedToColumns(whole);
    statement.setInteger(first + 0, line.id);
    statement.setText(first + 1, line.cnpj);
    statement.setText(first + 2, line.dcb);
    statement.setDecimal(first + 3, sqlNumber4(line.openingBalance));
    statement.setText(first + 4, line.bookName);
    statement.setDate(first + 5, line.date);
    statement.setText(first + 6, line.history);
    statement.setText(first + 7, line.movement);
    statement.setDecimal(first + 8, sqlNumber4(line.balance));
    statement.setText(first + 9, line.observation);
    statement.setText(first + 10, line.codigo);
    statement.setText(first + 11, line.componente);
    statement.setText(first + 12, line.period);
    statement.setText(first + 13, line.unit);
}

} // namespace

BookLineWriter::BookLineWriter(data::Transaction& transaction) : m_transaction(transaction)
{
    m_pending.reserve(kLinesPerExecution);
}

BookLineWriter::~BookLineWriter() = default;

data::PreparedStatement& BookLineWriter::statementFor(int lineCount)
{
    std::unique_ptr<data::PreparedStatement>& statement = m_statements[lineCount];
    if (!statement)
        statement = std::make_unique<data::PreparedStatement>(m_transaction, statementText(lineCount));
    return *statement;
}

void BookLineWriter::send(std::size_t first, int lineCount)
{
    data::PreparedStatement& statement = statementFor(lineCount);
    for (int line = 0; line < lineCount; ++line)
        setLine(statement, line * kColumns, m_pending[first + std::size_t(line)]);
    try {
        statement.execute();
    } catch (const data::DatabaseUnavailable&) {
        throw;
    } catch (const data::DbError& error) {
        if (lineCount == 1)
            throw BookLineRefused(m_pending[first], error.message());
        // The block was undone whole: one line at a time finds the one refused.
        for (int line = 0; line < lineCount; ++line)
            send(first + std::size_t(line), 1);
        throw; // every line went in alone: the group's failure was not one line's
    }
}

void BookLineWriter::write(const BookLine& line)
{
    m_pending.push_back(line);
    if (int(m_pending.size()) == kLinesPerExecution)
        flush();
}

void BookLineWriter::flush()
{
    std::size_t first = 0;
    for (int group = kLinesPerExecution; group >= 1; group /= 2) {
        while (m_pending.size() - first >= std::size_t(group)) {
            send(first, group);
            first += std::size_t(group);
        }
    }
    m_pending.clear();
}

} // namespace livros::classic
