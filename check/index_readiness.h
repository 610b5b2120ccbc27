#pragma once
#include <QString>
#include <QStringList>

namespace livros::data {
class TDM;
}

namespace livros::check {

// The optional indexes of the suite's main database (db/suite_indexes.sql) and what a year of
// books costs with and without them, estimated from the movement tables' size with the figures
// measured by the benchmarks (docs/performance.md).
struct IndexReadiness {
    QStringList expected;   // the index names the script creates
    QStringList missing;    // those the database lacks
    qint64 movementRows = 0;  // NFISCAL, COMPRAS, PEDIDOS, COMPEDID, ITENS and PERDAS
    int classicProducts = 0;
    int revisedProducts = 0;
    QString createCommand;  // isql-fb with the script and the main database
};

// The names of "CREATE INDEX name ON ..." statements of a script text.
QStringList indexNamesOfScript(const QString& script);

// A year's book of one classic list group, in seconds, and a revised product statement, in
// milliseconds, for a database whose movement tables hold `rows` rows.
double classicGroupYearSeconds(qint64 rows, bool indexed);
double revisedProductMs(qint64 rows, bool indexed);
// A year of books, in seconds: the classic list groups that hold products (a group's movements
// are read at once, so its cost follows the tables' size more than its products), one statement
// per revised product.
double classicYearSeconds(const IndexReadiness& readiness, bool indexed);
double revisedYearSeconds(const IndexReadiness& readiness, bool indexed);

// Reads the script and the main database's indexes and row counts. Database errors propagate; a
// script that cannot be read gives no expected index.
IndexReadiness readIndexReadiness(data::TDM& dm, const QString& scriptPath, int classicProducts,
                                  int revisedProducts);

} // namespace livros::check
