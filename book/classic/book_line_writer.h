#pragma once
#include "book/classic/classic_sql.h"
#include "data/transaction.h"

namespace livros::classic {

// Writes the book lines of one build into LIVROCONTR through one prepared insert, reused for
// every line. The values are those the composed insert text (bookLineInsertSql) would write: the
// balances rounded to four decimals, the dates as days, the texts whole.
class BookLineWriter {
public:
    explicit BookLineWriter(data::Transaction& transaction);
    // Throws the server's error when the line cannot be written (nothing of it is then written).
    void write(const BookLine& line);

private:
    data::PreparedStatement m_insert;
};

} // namespace livros::classic
