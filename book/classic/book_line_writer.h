#pragma once
#include "book/classic/classic_sql.h"
#include "data/db_error.h"
#include "data/transaction.h"

#include <map>
#include <memory>
#include <vector>

namespace livros::classic {

// A book line the server refused, with its reason.
class BookLineRefused : public data::DbError {
public:
    BookLineRefused(const BookLine& line, const QString& reason) : data::DbError(reason), m_line(line) {}
    const BookLine& line() const { return m_line; }

private:
    BookLine m_line;
};

// Writes the book lines of one build into LIVROCONTR with exactly the values the composed insert
// text (bookLineInsertSql) would write: the balances rounded to four decimals, the dates as days,
// the texts cut to their columns. Lines are kept and sent several at a time, each group in one
// prepared EXECUTE BLOCK of inserts, since through a server every execution costs a round trip.
// A group the server refuses is undone whole (one statement) and its lines are sent again one at
// a time, so that the refused line is the one named.
class BookLineWriter {
public:
    explicit BookLineWriter(data::Transaction& transaction);
    ~BookLineWriter();

    // Keeps the line; sends the kept lines when a whole group is ready. Throws BookLineRefused
    // (or the database's loss) when a line cannot be written.
    void write(const BookLine& line);
    // Sends every kept line; the build calls it before it reads its lines back or commits.
    void flush();

private:
    data::PreparedStatement& statementFor(int lineCount);
    void send(std::size_t first, int lineCount);

    data::Transaction& m_transaction;
    std::map<int, std::unique_ptr<data::PreparedStatement>> m_statements; // by lines per execution
    std::vector<BookLine> m_pending;
};

} // namespace livros::classic
