#include "check/index_readiness.h"

#include "data/connection.h"
#include "data/data_module.h"
#include "data/query.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace livros::check {

namespace {
// Measured at the demo's scale 1 (about 7,000 movement rows) and scale 8 (about 56,000), embedded:
// a classic group's year 0.08 and 0.16 s without the date indexes, 0.05 and 0.09 s with them (at
// scale 32 the line gives 0.52 and 0.22 s, as measured); a revised product statement 4.6 and
// 39 ms without, 13 ms with them at scale 8. Between and beyond, linear in rows.
constexpr double kSmallRows = 7000;
constexpr double kLargeRows = 56000;

double between(double atSmall, double atLarge, qint64 rows)
{
    const double slope = (atLarge - atSmall) / (kLargeRows - kSmallRows);
    return std::max(atSmall, atSmall + slope * (double(rows) - kSmallRows));
}

QString shellQuoted(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}
} // namespace

QStringList indexNamesOfScript(const QString& script)
{
    static const QRegularExpression kCreate(QStringLiteral("^\\s*CREATE\\s+(?:UNIQUE\\s+)?INDEX\\s+(\\w+)\\s+ON\\b"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = kCreate.globalMatch(script); it.hasNext();)
        names << it.next().captured(1).toUpper();
    return names;
}

double classicGroupYearSeconds(qint64 rows, bool indexed)
{
    return indexed ? between(0.05, 0.09, rows) : between(0.08, 0.16, rows);
}

double revisedProductMs(qint64 rows, bool indexed)
{
    const double without = between(4.6, 39.0, rows);
    return indexed ? std::min(without, between(4.6, 13.0, rows)) : without;
}

double classicYearSeconds(const IndexReadiness& r, bool indexed)
{
    // Every product may be in a group of its own, up to the four groups.
    return std::min(r.classicProducts, 4) * classicGroupYearSeconds(r.movementRows, indexed);
}

double revisedYearSeconds(const IndexReadiness& r, bool indexed)
{
    return r.revisedProducts * revisedProductMs(r.movementRows, indexed) / 1000;
}

IndexReadiness readIndexReadiness(data::TDM& dm, const QString& scriptPath, int classicProducts, int revisedProducts)
{
    IndexReadiness r;
    r.classicProducts = classicProducts;
    r.revisedProducts = revisedProducts;
    QFile script(scriptPath);
    if (script.open(QIODevice::ReadOnly))
        r.expected = indexNamesOfScript(QString::fromUtf8(script.readAll()));

    data::Query query(dm.sqlcon1, QStringLiteral("IndexReadinessQuery"));
    for (const QString& name : r.expected) {
        query.setSql(QStringLiteral("Select count(*) as QDE from RDB$INDICES where RDB$INDEX_NAME = cast(? as varchar(255))"),
                     {name});
        query.open();
        if (query.asInteger(QStringLiteral("QDE")) == 0)
            r.missing << name;
        query.close();
    }
    for (const char* table : {"NFISCAL", "COMPRAS", "PEDIDOS", "COMPEDID", "ITENS", "PERDAS"}) {
        query.setSql(QStringLiteral("Select count(*) as QDE from ") + QLatin1String(table));
        query.open();
        r.movementRows += query.asInteger(QStringLiteral("QDE"));
        query.close();
    }
    const QString database = data::clientDatabaseText(dm.sqlcon1.param(QStringLiteral("DataBase")));
    r.createCommand = QStringLiteral("isql-fb -user SYSDBA -i %1 %2").arg(shellQuoted(scriptPath), shellQuoted(database));
    return r;
}

} // namespace livros::check
