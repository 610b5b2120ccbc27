#pragma once
#include "book/revised/movement_statement.h"

#include <QString>
#include <optional>

namespace livros::registerbook {

// The bound register books a store keeps: one per list group of the classic book, and one per
// revised book.
enum class RegisterBookKind { Classic1, Classic2, Classic3, Classic4, Drogaria, InsumosCompleto, Siproquim };

inline constexpr RegisterBookKind kAllRegisterBookKinds[] = {
    RegisterBookKind::Classic1, RegisterBookKind::Classic2, RegisterBookKind::Classic3, RegisterBookKind::Classic4,
    RegisterBookKind::Drogaria, RegisterBookKind::InsumosCompleto, RegisterBookKind::Siproquim};

// "CLASSIC1".."CLASSIC4", "DROGARIA", "INSUMOSCOMPLETO", "SIPROQUIM": the tool's --book values and
// the LIVRO column of the book records.
QString bookKeyword(RegisterBookKind kind);
std::optional<RegisterBookKind> bookKindFromKeyword(const QString& keyword);
// The keywords joined by "|", for usage texts.
QString bookKeywordList();

RegisterBookKind classicBookKind(int group); // group 1..4
RegisterBookKind revisedBookKind(revised::RevisedMode mode);
// The classic list group 1..4 of the book, 0 for a revised book.
int classicGroupOf(RegisterBookKind kind);
std::optional<revised::RevisedMode> revisedModeOf(RegisterBookKind kind);

// What the book registers, as its terms say "servirá para o Registro de ...":
// "Medicamentos entorpecentes - Listas A1 e A2".
QString bookSubject(RegisterBookKind kind);

// The project file that prints the book's lines, relative to the program folder.
QString bookProjectFile(RegisterBookKind kind);

} // namespace livros::registerbook
