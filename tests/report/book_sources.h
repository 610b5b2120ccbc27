#pragma once
#include "report/memory_data_source.h"
#include "report/report_data_source.h"

#include <QDate>
#include <QString>
#include <vector>

namespace livros::report::testing {

// The five connections of the report module over generated in-memory books, with the columns
// of the data module's datasets (LIVROCONTR, LIVROREVCONTR, PERIODO, DADOSGER, COMPONEN).
struct BookSources {
    BookSources();

    MemoryDataSource livroContr;
    MemoryDataSource periodo;
    MemoryDataSource componentes;
    MemoryDataSource dadosGer;
    MemoryDataSource livroRevContr;
    ConnectionSet connections;
};

// The store the generated books are of: a branch, not the company of DADOSGER.
inline const QString kBranchCnpj = QStringLiteral("12ABC34501DE35");
inline const QString kBranchLaboratory = QStringLiteral("Filial Centro");

// One generated line of a book, as the report should print it.
struct ExpectedLine {
    QString product;   // COMPONENTE
    QDate date;
    QString op;        // classic: "Entrada"/"Saída"; revised: I, E, S, P
    double quantity = 0;
    double stock = 0;
    QString history;   // unique per line
    QString lot;
    QString observation;
};

// A classic book: per product an opening stock and `linesPerProduct[i]` movements, written into
// LIVROCONTR in the order the database returns them (by DCB, then ID). The product at
// `otherCatalogueUnit` has "KG" in the catalogue, not the book's unit "CP".
std::vector<ExpectedLine> fillClassicBook(BookSources& s, const std::vector<int>& linesPerProduct, int otherCatalogueUnit = -1);

// A revised book of one store, in the order the movement statement computes the running stock
// (date, then I, E, P, S); the rows are handed to the report shuffled, as a select without
// ORDER BY may return them. `drugstore` fills REGMSMEDICAM and whole quantities, else DCB and
// decimals.
std::vector<ExpectedLine> fillRevisedBook(BookSources& s, const std::vector<int>& linesPerProduct, bool drugstore);

} // namespace livros::report::testing
