#include "check/data_check.h"

#include "book/classic/classic_sql.h"
#include "book/classic/component_lists.h"
#include "book/classic/movement_rows.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/number_format.h"

#include <algorithm>
#include <cmath>

namespace livros::check {

namespace {

using classic::ControlledComponent;
using classic::MovementKind;

// The book keeps four decimals: smaller differences are no difference.
bool sameQuantity(double a, double b) { return std::abs(a - b) < 0.00005; }

// Up to the book's four decimals, without trailing zeros ("12.5", "-3").
QString quantityText(double value)
{
    QString text = formatNumber(value, QStringLiteral("0.0000"), QLocale::c());
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// A product's inventory rows of one day, read with the classic book's own statements.
struct InventoryDay {
    int rows = 0;
    bool read = false;  // the first row, which the book takes
    double quantity = 0;
    QString unit;
    QStringList rowTexts;  // "QDE UNID" of every row
};

InventoryDay readInventoryDay(data::Query& query, const QString& cnpj, const QString& codigo, const QDate& day)
{
    InventoryDay inventory;
    query.close();
    query.setSql(classic::openingCountSql(cnpj, codigo, day));
    query.open();
    inventory.rows = query.asInteger(QStringLiteral("QDE"));
    query.close();
    if (inventory.rows == 0)
        return inventory;
    query.setSql(classic::openingValuesSql(cnpj, codigo, day));
    query.open();
    for (; !query.eof(); query.next()) {
        const double quantity = query.asFloat(QStringLiteral("QDE"));
        const QString unit = query.asString(QStringLiteral("UNID")).left(classic::kUnidLength);
        if (!inventory.read) {
            inventory.read = true;
            inventory.quantity = quantity;
            inventory.unit = unit;
        }
        inventory.rowTexts << quantityText(quantity) + QLatin1Char(' ') + unit.trimmed();
    }
    query.close();
    return inventory;
}

class ProductCheck {
public:
    ProductCheck(data::TDM& dm, CheckReport& report, const ControlledComponent& component)
        : m_dm(dm), m_report(report), m_component(component)
    {
    }

    void run()
    {
        if (m_component.codigo.trimmed().size() > kStockCodeLength)
            add(FindingKind::CodeTooLong, QDate(),
                QStringLiteral("COMPONEN.CODIGO \"%1\" (%2 caracteres)")
                    .arg(m_component.codigo.trimmed())
                    .arg(m_component.codigo.trimmed().size()));
        const double opening = checkOpening();
        const double closing = walkPeriod(opening);
        checkNextCount(closing);
    }

private:
    void add(FindingKind kind, const QDate& date, const QString& rows)
    {
        m_report.findings.push_back({kind, m_component.codigo.trimmed(), m_component.componente.trimmed(), date, rows});
    }

    void reportDuplicates(const InventoryDay& inventory, const QDate& day)
    {
        if (inventory.rows > 1)
            add(FindingKind::DuplicateInventory, day,
                QStringLiteral("%1 linhas em BALANCOS: %2").arg(inventory.rows).arg(inventory.rowTexts.join(QStringLiteral("; "))));
    }

    // The opening stock as the classic book takes it.
    double checkOpening()
    {
        const QDate day = m_report.from;
        const InventoryDay inventory = readInventoryDay(m_dm.SQLQuery2, m_report.cnpj, m_component.codigo, day);
        if (inventory.rows == 0) {
            add(FindingKind::NoOpeningInventory, day, QStringLiteral("nenhuma linha em BALANCOS"));
            return 0;
        }
        reportDuplicates(inventory, day);
        if (inventory.read && inventory.unit != m_component.unid)
            add(FindingKind::InventoryUnit, day,
                QStringLiteral("BALANCOS: %1 %2; COMPONEN: %3")
                    .arg(quantityText(inventory.quantity), inventory.unit.trimmed(), m_component.unid.trimmed()));
        return inventory.read ? inventory.quantity : 0;
    }

    // The period's movements as the classic book walks them; the closing stock.
    double walkPeriod(double balance)
    {
        bool negative = false;
        std::vector<classic::MovementRow> rows;
        QString statement;
        for (QDate day = m_report.from; day <= m_report.to; day = day.addDays(1)) {
            for (const MovementKind kind : {MovementKind::Entry, MovementKind::Exit, MovementKind::Loss}) {
                if (!classic::fetchDayMovements(m_dm.SQLQuery1, kind, m_report.cnpj, m_component, day, rows, statement))
                    throw data::DbError(statement);
                for (const classic::MovementRow& row : rows) {
                    balance += kind == MovementKind::Entry ? row.quantity : -row.quantity;
                    if (!negative && balance < 0 && !sameQuantity(balance, 0)) {
                        negative = true;
                        add(FindingKind::NegativeStock, row.date,
                            QStringLiteral("saldo %1 após %2 de %3 %4 (lote %5)")
                                .arg(quantityText(balance),
                                     kind == MovementKind::Exit ? QStringLiteral("saída") : QStringLiteral("perda"),
                                     quantityText(row.quantity), row.unit.trimmed(), row.lot.trimmed()));
                    }
                }
            }
        }
        return balance;
    }

    void checkNextCount(double closing)
    {
        const QDate day = m_report.to.addDays(1);
        const InventoryDay inventory = readInventoryDay(m_dm.SQLQuery2, m_report.cnpj, m_component.codigo, day);
        if (inventory.rows == 0) {
            ++m_report.productsWithoutCount;
            return;
        }
        reportDuplicates(inventory, day);
        VarianceLine line{m_component.codigo.trimmed(), m_component.componente.trimmed(), inventory.unit.trimmed(),
                          closing, inventory.quantity};
        if (!sameQuantity(line.closing, line.counted))
            add(FindingKind::ClosingDiffersFromCount, day,
                QStringLiteral("livro: %1; BALANCOS: %2 %3")
                    .arg(quantityText(closing), quantityText(inventory.quantity), line.unit));
        m_report.variance.push_back(std::move(line));
    }

    data::TDM& m_dm;
    CheckReport& m_report;
    const ControlledComponent& m_component;
};

} // namespace

CheckReport checkStoreData(data::TDM& dm, const QString& cnpj, const QDate& from, const QDate& to)
{
    CheckReport report;
    report.cnpj = cnpj;
    report.from = from;
    report.to = to;
    const classic::ComponentLists lists = classic::loadComponentLists(dm);
    for (const classic::ListGroupTable& table : lists.tables)
        for (const ControlledComponent& component : table)
            ProductCheck(dm, report, component).run();
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) { return int(a.kind) < int(b.kind); });
    return report;
}

} // namespace livros::check
