#pragma once
#include "book/ledger/ledger.h"
#include "book/revised/movement_statement.h"

#include <QString>

namespace livros::revised {

// The texts of the revised books' lines, built from the ledger's movements.

// Widths of LIVROREVCONTR's text columns.
inline constexpr int kHistoricoWidth = 100;
inline constexpr int kLoteWidth = 60;
inline constexpr int kObservacaoWidth = 100;
inline constexpr int kIdentifierWidth = 15; // REGMSMEDICAM and DCB
inline constexpr int kComponenteWidth = 100;
inline constexpr int kCodigoColumnWidth = 20;

// A name in capitals with its accents, as the suite prints patients and prescribers: the letters
// of code page 1252 raised one by one (ß and ÿ's neighbours without a capital stay as they are),
// taken to the first 100 characters.
QString capitals(const QString& text);

// A decimal number with two decimals and a comma ("1,48", "0,00"), as the books print densities.
QString twoDecimals(const QString& exactNumber);

// "<supplier> (CNPJ<separator><cnpj>)" within `width` characters: a long supplier is shortened
// so that the CNPJ stays whole.
QString supplierHistory(const QString& supplier, const QString& cnpj, const QString& separator, int width);

// The history, lot and observation of a movement in the run mode's book.
QString historyOf(const ledger::Movement& movement);
QString observationOf(RevisedMode mode, const ledger::Movement& movement);

// "dd/mm/yyyy a dd/mm/yyyy".
QString periodText(const QDate& start, const QDate& end);
// The book's COMPONENTE: the product's name (its code when it has none) and " - (unit)" with the
// unit's letters A to Z in lower case, cut to the column.
QString componenteText(const QString& componente, bool componenteKnown, const QString& codigo, const QString& unid);
// The book's LISTA: the list cut to the column, empty when it holds only blanks.
QString listText(const QString& lista);

} // namespace livros::revised
