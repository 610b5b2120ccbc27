#pragma once
#include <QString>

#include <optional>

namespace livros::data {
class TDM;
}

namespace livros::classic {

// The laboratory whose formulas are the store's exits. When TABLAB holds several stores, the
// orders of all of them share PEDIDOS and COMPEDID and only the formula's laboratory tells them
// apart: the store's laboratory is the first TABLAB row of the store that the server returns
// (empty when the store has none, so that no other store's formula counts). With one store or
// none, every formula is the store's: no laboratory condition (nullopt).
std::optional<QString> exitsLaboratory(data::TDM& dm, const QString& storeCnpj);

} // namespace livros::classic
