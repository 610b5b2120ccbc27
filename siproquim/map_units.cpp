#include "siproquim/map_units.h"

#include <QRegularExpression>

#include <cmath>

namespace livros::siproquim {

std::optional<UnitScale> unitScale(const QString& unit)
{
    const QString u = unit.trimmed().toUpper();
    if (u == u"KG")
        return UnitScale{Dimension::Mass, 1.0};
    if (u == u"G" || u == u"GR")
        return UnitScale{Dimension::Mass, 1e-3};
    if (u == u"MG")
        return UnitScale{Dimension::Mass, 1e-6};
    if (u == u"MCG")
        return UnitScale{Dimension::Mass, 1e-9};
    if (u == u"L" || u == u"LT")
        return UnitScale{Dimension::Volume, 1.0};
    if (u == u"ML")
        return UnitScale{Dimension::Volume, 1e-3};
    return std::nullopt;
}

std::optional<double> convertQuantity(double quantity, const UnitScale& from, Dimension to, double density)
{
    const double base = quantity * from.toBase;
    if (from.dimension == to)
        return base;
    if (!(density > 0))
        return std::nullopt;
    return to == Dimension::Mass ? base * density : base / density;
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
