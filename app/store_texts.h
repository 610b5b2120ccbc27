#pragma once
#include <QString>
#include <QStringList>

namespace livros::app {

// Window captions and titles of the store selection.
inline constexpr char16_t kMakerCaption[] = u" ZUN SISTEMAS - Livro de Registro Específico - ";
inline constexpr char16_t kSiproquimCaption[] = u" SIPROQUIM - Movimentação de Produtos - ";
inline constexpr char16_t kInitialCaption[] = u" ZUN SISTEMAS  -  Livro de Registro Específico";
inline constexpr char16_t kBookTitle[] = u"LIVRO DE REGISTRO ESPECÍFICO";
inline constexpr char16_t kSiproquimTitle[] = u"RELATÓRIO ANALÍTICO DE MOVIMENTAÇÃO DE PRODUTOS - SIPROQUIM";

// The store CNPJ holds at most 18 characters; a longer text keeps its first 18.
inline constexpr int kStoreCnpjLength = 18;
// An entry of the store list holds at most 20 characters.
inline constexpr int kStoreEntryLength = 20;

QString storeCnpjOf(const QString& text);

// The printed form NN.NNN.NNN/NNNN-NN: characters 1-2, 3-5, 6-8, 9-12 and 13-14 with their
// separators. The separators always appear; positions the text does not reach give empty
// pieces and characters after the 14th are dropped. The text is not validated.
QString FormatCnpj(const QString& cnpj);

// The store CNPJ of a text of the store list: characters 1-2, 4-6, 8-10, 12-15 and 17-18
// joined (the inverse of FormatCnpj for a formatted entry), at most 18 characters.
QString cnpjFromStoreEntry(const QString& text);

// The entry of the store list a typed text names: the entry itself, or its letters and digits
// typed without the separators (without regard to letter case); -1 for any other text, which
// selects no store.
int matchingStoreEntry(const QStringList& entries, const QString& text);

} // namespace livros::app
