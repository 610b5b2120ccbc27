#pragma once
#include <QString>

#include <optional>

namespace livros::siproquim {

// The map declares quantities in kilograms (K) or litres (L).
enum class Dimension { Mass, Volume };

struct UnitScale {
    Dimension dimension;
    double toBase; // kilograms or litres per unit
};

// The units the suite records ("g", "KG", "mg", "ml", "L"...), in any letter case; empty for a
// unit that is neither a mass nor a volume ("UN", "CX").
std::optional<UnitScale> unitScale(const QString& unit);

// The map's unit letter for a dimension.
inline QChar mapUnitLetter(Dimension d) { return d == Dimension::Mass ? u'K' : u'L'; }

// A quantity in `from` as kilograms or litres of `to`: across mass and volume through the density
// (kg per litre); empty when that crossing has no density.
std::optional<double> convertQuantity(double quantity, const UnitScale& from, Dimension to, double density);

// The concentration that a trade name states as a percentage ("Ácido clorídrico 37%" gives 37,
// "Solução 12,5 %" gives 13), 100 when it states none.
int concentrationFromName(const QString& name);

} // namespace livros::siproquim
