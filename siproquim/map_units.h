#pragma once
#include <QChar>
#include <QString>

#include <optional>

namespace livros::siproquim {

// The unit the map declares a chemical in: kilograms (K) for a mass, litres (L) for a volume, and
// the factor that turns a quantity in the chemical's catalogue unit (its book's unit) into it.
struct MapUnit {
    QChar letter;
    double factor = 1;
};

// The map's unit of a chemical counted in `bookUnit`, by the books' own unit rule; empty for a
// unit that is neither a mass nor a volume ("UN", "FR", "CX").
std::optional<MapUnit> mapUnitOf(const QString& bookUnit);

// The concentration that a trade name states as a percentage ("Ácido clorídrico 37%" gives 37,
// "Solução 12,5 %" gives 13), 100 when it states none.
int concentrationFromName(const QString& name);

} // namespace livros::siproquim
