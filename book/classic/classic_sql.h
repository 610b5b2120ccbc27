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

inline constexpr char kDeleteBookSql[] = "Delete from LIVROCONTR";

// The width of LIVROCONTR.HISTORICO.
inline constexpr int kHistoricoLength = 90;

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
