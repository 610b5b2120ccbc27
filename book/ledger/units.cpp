#include "book/ledger/units.h"

namespace livros::ledger {

namespace {

enum class Family { Mass, Volume };

// The width of COMPRAS.UNIDADE and COMPEDID.UNID.
constexpr qsizetype kRecordedUnitWidth = 3;

struct KnownUnit {
    const char* name;
    Family family;
    double inBaseUnit; // milligrams for mass, millilitres for volume
};

constexpr KnownUnit kKnownUnits[] = {
    {"KG", Family::Mass, 1e6}, {"G", Family::Mass, 1e3}, {"MG", Family::Mass, 1}, {"MCG", Family::Mass, 1e-3},
    {"L", Family::Volume, 1e3}, {"ML", Family::Volume, 1},
};

const KnownUnit* known(const QString& key)
{
    for (const KnownUnit& unit : kKnownUnits) {
        if (key == QLatin1String(unit.name))
            return &unit;
    }
    return nullptr;
}

} // namespace

QString unitKey(const QString& unit) { return unit.trimmed().toUpper(); }

std::optional<double> unitFactor(const QString& recorded, const QString& book)
{
    const QString from = unitKey(recorded);
    const QString to = unitKey(book);
    if (from.isEmpty() || from == to)
        return 1.0;
    // The movement tables keep units in three characters: "COM" is how a purchase of a product
    // counted in "COMP" is recorded.
    if (from.size() == kRecordedUnitWidth && to.size() > kRecordedUnitWidth && to.startsWith(from))
        return 1.0;
    const KnownUnit* source = known(from);
    const KnownUnit* target = known(to);
    if (!source || !target || source->family != target->family)
        return std::nullopt;
    // Exact for every pair: the ratios are powers of ten of at most 10^9.
    if (source->inBaseUnit >= target->inBaseUnit)
        return source->inBaseUnit / target->inBaseUnit;
    return 1.0 / (target->inBaseUnit / source->inBaseUnit);
}

} // namespace livros::ledger
