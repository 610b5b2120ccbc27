#include "siproquim/map_units.h"

#include "book/ledger/units.h"

#include <QRegularExpression>

#include <cmath>

namespace livros::siproquim {

std::optional<MapUnit> mapUnitOf(const QString& bookUnit)
{
    // A quantity recorded without a unit counts in the book's unit: a book without one has none.
    if (ledger::unitKey(bookUnit).isEmpty())
        return std::nullopt;
    if (const auto toKilograms = ledger::unitFactor(bookUnit, QStringLiteral("KG")))
        return MapUnit{u'K', *toKilograms};
    if (const auto toLitres = ledger::unitFactor(bookUnit, QStringLiteral("L")))
        return MapUnit{u'L', *toLitres};
    return std::nullopt;
}

int concentrationFromName(const QString& name)
{
    static const QRegularExpression percent(QStringLiteral("(\\d{1,3}(?:[.,]\\d+)?)\\s*%"));
    const QRegularExpressionMatch m = percent.match(name);
    if (!m.hasMatch())
        return 100;
    // Out of 1..100 it stays as stated: the map refuses it rather than declaring another value.
    return int(std::lround(QString(m.captured(1)).replace(u',', u'.').toDouble()));
}

} // namespace livros::siproquim
