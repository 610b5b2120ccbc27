#pragma once
#include "book/classic/book_listing.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace livros::classic {

// The SQL texts of the classic book. Values go in as quoted literals and dates as "mm/dd/yy",
// which the server reads month first; numbers as "0.0000" with a point.

// Whether the store has any inventory row dated on the initial date.
QString storeInventoryCountSql(const QString& storeCnpj, const QDate& initialDate);

// The inventory row of one product on the initial date: how many, then its quantity and unit.
QString openingCountSql(const QString& storeCnpj, const QString& codigo, const QDate& initialDate);
QString openingValuesSql(const QString& storeCnpj, const QString& codigo, const QDate& initialDate);

// The inventory rows of a set of products on one day: CODIGO, QDE, UNID, in no stated order
// (the book takes each product's first row, as openingValuesSql does).
QString openingInventorySql(const QString& storeCnpj, const QStringList& codes, const QDate& day);

// The most values one IN list of the book's queries holds (the server takes up to 1500; this
// also keeps the statement well below its length limit).
inline constexpr int kKeysPerQuery = 500;

// The order of one kind's movements within a day, after the date: the row's natural key, then
// every column the book shows, so that two rows in the same place are the same line.
//   entries: invoice (NOTAFISCAL, FORNECEDOR), item (COMPRAS.ESTACAO, CODCOMPRA), then lot,
//            expiry, quantity, unit;
//   exits:   the formula component's key (COMPEDID.ESTACAO, NPEDIDO, NFORMULA, COMPONENTE);
//   losses:  supplier, lot, reason, quantity, unit (PERDAS has no key).
// Returned as the column list of an ORDER BY, the date column first.
QString movementOrder(MovementKind kind);

// The column that names the product of a movement row: COMPRAS.CODIGO, COMPEDID.CODIGOCOMP, or
// PERDAS.DCB (losses are matched by DCB).
QString movementProductColumn(MovementKind kind);

// The movements of one kind of the products `keys` (codes, or DCBs for losses) from `first` to
// `last`, both included, in movementOrder. Entries and losses carry the store; exits only through
// their formula's laboratory, when one is given. Dates go in with their four-digit year.
QString periodMovementSql(MovementKind kind, const QString& storeCnpj, const QStringList& keys, const QDate& first,
                          const QDate& last, const std::optional<QString>& laboratory = std::nullopt);

inline constexpr char kDeleteBookSql[] = "Delete from LIVROCONTR";

// One line of the book table.
struct BookLine {
    int id = 0;
    QString cnpj;
    QString dcb;
    double openingBalance = 0;
    QString bookName;
    QDate date;
    QString history;
    QString movement;      // "Entrada" or "Saída"
    double balance = 0;
    QString observation;
    QString codigo;
    QString componente;
    QString period;        // "dd/mm/yy a dd/mm/yy"
    QString unit;
};

// The line with every text cut to its LIVROCONTR column (CNPJ 18, DCB 20, LIVRO 90, HISTORICO 90,
// MOVIMENTO 15, OBSERVACOES 30, CODIGO 20, COMPONENTE 70, PERIODO 40, UNID 6 characters), so that
// no line is refused for a width; the listing keeps the texts whole. One character is one byte in
// the database (code page 1252), so a cut in characters fits.
BookLine fittedToColumns(BookLine line);

// The INSERT text of a book line, its texts fitted to their columns (shown when a line is refused).
QString bookLineInsertSql(const BookLine& line);

} // namespace livros::classic
