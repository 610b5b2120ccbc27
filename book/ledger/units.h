#pragma once
#include <QString>

#include <optional>

namespace livros::ledger {

// The one rule by which a recorded quantity becomes a quantity in a book's unit. Units are
// compared trimmed and in capitals. Mass (KG, G, MG, MCG) and volume (L, ML) convert within
// their family by their factor, whatever the pair; the same unit, or a movement that records no
// unit, counts as recorded, and so does a unit cut to the movement tables' three characters ("COM"
// for "COMP"). Anything else (UI or CX into G, G into ML) cannot be converted.
//
// Returns the factor a quantity in `recorded` is multiplied by to count in `book`, or nullopt.
std::optional<double> unitFactor(const QString& recorded, const QString& book);

// The unit as the rule compares it: trimmed, in capitals.
QString unitKey(const QString& unit);

} // namespace livros::ledger
