#pragma once
#include <QDate>
#include <QString>

#include <optional>

namespace livros::revised {

// The three books built into LIVROREVCONTR: drugstore medicines (identified by REGMSMEDICAM),
// compounding inputs (by DCB) and the SIPROQUIM report of controlled chemical products.
enum class RevisedMode { Drogaria, InsumosCompleto, Siproquim };

// The run-mode keyword that builds a book ("DROGARIA", "INSUMOSCOMPLETO", "SIPROQUIM"), compared
// whole and with letter case; anything else is no revised build.
std::optional<RevisedMode> revisedModeFromKeyword(const QString& keyword);
// The view-only keywords ("DROGARIAVIEW"...) and the book each of them shows.
std::optional<RevisedMode> viewOnlyModeFromKeyword(const QString& keyword);
QString keyword(RevisedMode mode);

// What the movement statement of one component needs, texts as read from the catalogue row.
// Composing quotes them and keeps the widths the book uses: the code whole (the catalogue's 20
// characters), the unit's first 10, the list's first 30 (a list of blanks only becomes the empty
// text) stored in the book's 5, and in SIPROQUIM the supplier's first 15, the width of the book's
// DCB column it goes to.
struct MovementValues {
    QString cnpj;       // store CNPJ
    QString codigo;     // component code
    QString lab;        // the store's laboratory
    QString fornecedor; // the component's supplier (SIPROQUIM writes it as DCB)
    QString unid;       // the component's unit
    QString lista;      // the component's controlled-substance list
    QDate start;
    QDate end;
};

// Widths of the catalogue texts as the book uses them.
// The code is kept whole: cut, it would match no catalogue row and the product would lose its lines.
inline constexpr int kCodigoWidth = 20;
// The supplier written as DCB is cut to that column's width: longer, it failed the whole statement.
inline constexpr int kSupplierAsDcbWidth = 15;
inline constexpr int kUnidWidth = 10;
inline constexpr int kListaWidth = 30;
inline constexpr int kListaColumnWidth = 5;

} // namespace livros::revised
