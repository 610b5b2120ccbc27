#include "check/data_check.h"

#include "check/prescription_check.h"

#include "book/classic/component_lists.h"
#include "book/classic/movement_rows.h"
#include "book/classic/period_movements.h"
#include "book/ledger/ledger_sql.h"
#include "book/revised/revised_book_builder.h"
#include "book/revised/revised_walk.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/number_format.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

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

// A product's inventory rows of one day, in the server's order (the classic book takes the first).
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
    query.setSql(QStringLiteral("Select QDE, UNID from BALANCOS where LOJA = cast(? as varchar(255)) and "
                                "CODIGO = cast(? as varchar(255)) and DATABALANCO = ?"),
                 {cnpj, codigo, day});
    query.open();
    for (; !query.eof(); query.next()) {
        ++inventory.rows;
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

// How many FORNECED rows each supplier name has, as the revised books join them (by
// NOMEFANTASIA); each name is read once.
class SupplierRows {
public:
    explicit SupplierRows(data::Query& query) : m_query(query) {}
    int count(const QString& name)
    {
        const auto known = m_counts.find(name);
        if (known != m_counts.end())
            return known->second;
        m_query.setSql(QStringLiteral("Select count(*) as QDE from FORNECED where NOMEFANTASIA = cast(? as varchar(255))"),
                       {name});
        m_query.open();
        const int rows = m_query.asInteger(QStringLiteral("QDE"));
        m_query.close();
        m_counts.emplace(name, rows);
        return rows;
    }

private:
    data::Query& m_query;
    std::map<QString, int> m_counts;
};

class ProductCheck {
public:
    // `opening` and `movements` are read for the component's group as the book reads them;
    // `number` is the component's place in the group.
    ProductCheck(data::Query& query, CheckReport& report, const ControlledComponent& component, SupplierRows& suppliers,
                 const ledger::Opening& opening, classic::MovementSource& movements, int number)
        : m_query(query), m_report(report), m_component(component), m_suppliers(suppliers), m_opening(opening),
          m_movements(movements), m_number(number)
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

    // The opening stock as the books take it: the inventory converted to the catalogue unit.
    double checkOpening()
    {
        const QDate day = m_report.from;
        m_bookUnit = m_component.unid;
        if (m_opening.rows == 0) {
            add(FindingKind::NoOpeningInventory, day, QStringLiteral("nenhuma linha em BALANCOS"));
            return 0;
        }
        if (m_opening.rows > 1)
            reportDuplicates(readInventoryDay(m_query, m_report.cnpj, m_component.codigo, day), day);
        if (m_opening.unit.left(classic::kUnidLength) != m_component.unid)
            add(FindingKind::InventoryUnit, day,
                QStringLiteral("BALANCOS: %1 %2; COMPONEN: %3")
                    .arg(quantityText(m_opening.quantity), m_opening.unit.trimmed(), m_component.unid.trimmed()));
        return m_opening.bookQuantity();
    }

    // The period's movements as the classic book walks them; the closing stock.
    double walkPeriod(double balance)
    {
        bool negative = false;
        m_movements.walkProduct(m_number, [&](MovementKind kind, const classic::MovementRow& row) {
            if (kind != MovementKind::Exit)
                checkSupplier(row);
            const double quantity = classic::bookQuantity(row, m_bookUnit);
            balance += kind == MovementKind::Entry ? quantity : -quantity;
            if (!negative && balance < 0 && !sameQuantity(balance, 0)) {
                negative = true;
                add(FindingKind::NegativeStock, row.date,
                    QStringLiteral("saldo %1 após %2 de %3 %4 (lote %5)")
                        .arg(quantityText(balance),
                             kind == MovementKind::Exit ? QStringLiteral("saída") : QStringLiteral("perda"),
                             quantityText(row.quantity), row.unit.trimmed(), row.lot.trimmed()));
            }
        });
        return balance;
    }

    // Entries and losses name their supplier; each supplier is reported once per product.
    void checkSupplier(const classic::MovementRow& row)
    {
        if (!m_suppliersSeen.insert(row.supplier).second)
            return;
        const int rows = m_suppliers.count(row.supplier);
        if (rows == 0)
            add(FindingKind::SupplierMissing, row.date,
                QStringLiteral("fornecedor \"%1\" sem linha em FORNECED (lote %2)").arg(row.supplier.trimmed(), row.lot.trimmed()));
        else if (rows > 1)
            add(FindingKind::SupplierDuplicated, row.date,
                QStringLiteral("fornecedor \"%1\" com %2 linhas em FORNECED (lote %3)")
                    .arg(row.supplier.trimmed())
                    .arg(rows)
                    .arg(row.lot.trimmed()));
    }

    void checkNextCount(double closing)
    {
        const QDate day = m_report.to.addDays(1);
        const InventoryDay inventory = readInventoryDay(m_query, m_report.cnpj, m_component.codigo, day);
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

    data::Query& m_query; // the inventory days
    CheckReport& m_report;
    const ControlledComponent& m_component;
    SupplierRows& m_suppliers;
    const ledger::Opening& m_opening;
    classic::MovementSource& m_movements;
    int m_number;
    std::set<QString> m_suppliersSeen;
    QString m_bookUnit;  // the catalogue's unit, which the books count in
};

Finding catalogueFinding(FindingKind kind, const QString& codigo, const QString& produto, const QString& rows)
{
    return {kind, codigo.trimmed(), produto.trimmed(), QDate(), rows};
}

// The catalogue as the revised books select it: a controlled product without the identifier its
// book is kept by (registration or DCB) gets no line; drugstore products sharing a description
// cannot take a sale recorded without a product code.
// Returns how many products the revised books select.
int checkCatalogue(data::Query& query, CheckReport& report)
{
    std::set<QString> selected;
    std::map<QString, QStringList> drugstoreByDescription;
    for (const auto mode : {revised::RevisedMode::Drogaria, revised::RevisedMode::InsumosCompleto}) {
        for (const revised::ComponentRow& row : revised::readComponentRows(query, mode)) {
            selected.insert(row.codigo);
            if (!revised::hasIdentifier(mode, row))
                report.findings.push_back(catalogueFinding(
                    FindingKind::NotInAnyBook, row.codigo, row.name,
                    mode == revised::RevisedMode::Drogaria ? QStringLiteral("COMPONEN.REGMSMEDICAM vazio")
                                                           : QStringLiteral("COMPONEN.DCB vazio")));
            if (mode == revised::RevisedMode::Drogaria)
                drugstoreByDescription[row.name] << row.codigo;
        }
    }
    for (const auto& [description, codes] : drugstoreByDescription)
        if (codes.size() > 1)
            for (const QString& codigo : codes)
                report.findings.push_back(catalogueFinding(
                    FindingKind::SameDrugstoreDescription, codigo, description,
                    QStringLiteral("mesma descrição nos códigos %1").arg(codes.join(QStringLiteral(", ")))));
    return int(selected.size());
}

// The period's formulas whose laboratory is no store's: the compounding book takes a store's
// formulas by its laboratory (TABLAB), so their components leave no store's book.
void checkFormulaLaboratories(data::Query& query, CheckReport& report)
{
    query.setSql(QStringLiteral("Select PD.DATAPEDIDO, PF.ESTACAO, PF.NPEDIDO, PF.NFORMULA, PF.LABORATORIO, "
                                "CP.CODIGOCOMP, CP.COMPONENTE from PEDIFORM PF "
                                "join PEDIDOS PD on PD.ESTACAO = PF.ESTACAO and PD.NPEDIDO = PF.NPEDIDO "
                                "join COMPEDID CP on CP.ESTACAO = PF.ESTACAO and CP.NPEDIDO = PF.NPEDIDO "
                                "and CP.NFORMULA = PF.NFORMULA where PD.DATAPEDIDO between ? and ? "
                                "and not exists (select 1 from TABLAB T where T.LABORATORIO = PF.LABORATORIO) "
                                "order by PD.DATAPEDIDO, PF.ESTACAO, PF.NPEDIDO, PF.NFORMULA, CP.CODIGOCOMP"),
                 {report.from, report.to});
    query.open();
    for (; !query.eof(); query.next())
        report.findings.push_back({FindingKind::FormulaOfUnknownLaboratory,
                                   query.asString(QStringLiteral("CODIGOCOMP")).trimmed(),
                                   query.asString(QStringLiteral("COMPONENTE")).trimmed(),
                                   query.asDateTime(QStringLiteral("DATAPEDIDO")).date(),
                                   QStringLiteral("pedido %1-%2, fórmula %3, laboratório \"%4\"")
                                       .arg(query.asString(QStringLiteral("ESTACAO")).trimmed(),
                                            query.asString(QStringLiteral("NPEDIDO")),
                                            query.asString(QStringLiteral("NFORMULA")),
                                            query.asString(QStringLiteral("LABORATORIO")).trimmed())});
    query.close();
}

// Each refused row once, whichever book's reading met it first.
void addRefusals(CheckReport& report, const std::vector<ledger::Refusal>& refusals)
{
    for (const ledger::Refusal& refusal : refusals) {
        const bool known = std::any_of(report.findings.begin(), report.findings.end(), [&](const Finding& f) {
            return f.kind == FindingKind::RefusedMovement && f.rows == refusal.text;
        });
        if (!known)
            report.findings.push_back({FindingKind::RefusedMovement, refusal.codigo.trimmed(),
                                       refusal.produto.trimmed(), refusal.date, refusal.text});
    }
}

// The revised books read the ledger of their own products (drugstore sales, every compounding
// product): what they refuse is listed too.
void checkRevisedLedgers(data::Query& query, CheckReport& report, const ledger::StoreScope& store)
{
    for (const auto mode : {revised::RevisedMode::Drogaria, revised::RevisedMode::InsumosCompleto,
                            revised::RevisedMode::Siproquim}) {
        const std::vector<revised::ComponentRow> rows = revised::readComponentRows(query, mode);
        std::vector<ledger::LedgerProduct> products;
        for (const revised::ComponentRow& row : rows)
            products.push_back({row.codigo, row.name, row.dcb, row.unid});
        ledger::LedgerRequest request;
        request.drugstoreItems = mode == revised::RevisedMode::Drogaria;
        request.whenOneStore = ledger::StoreScope::OneStore::StoreLaboratories;
        ledger::Ledger ledger;
        try {
            ledger.read(query, store, products, report.from, report.to, request);
        } catch (const ledger::LedgerQueryFailed& failure) {
            throw data::DbError(failure.reason + u'\n' + failure.statement);
        }
        addRefusals(report, ledger.refusals());
    }
}

} // namespace

CheckReport checkStoreData(data::TDM& dm, const QString& cnpj, const QDate& from, const QDate& to,
                           const QString& indexScript)
{
    CheckReport report;
    report.cnpj = cnpj;
    report.from = from;
    report.to = to;
    // The check's own queries: the window's SQLQuery1 and SQLQuery2 stay as they are.
    data::Query query(dm.sqlcon1, QStringLiteral("CheckQuery"));
    data::Query inventoryQuery(dm.sqlcon1, QStringLiteral("CheckInventoryQuery"));
    data::Query supplierQuery(dm.sqlcon1, QStringLiteral("CheckSupplierQuery"));
    const int revisedProducts = checkCatalogue(query, report);
    checkFormulaLaboratories(query, report);
    SupplierRows suppliers(supplierQuery);
    const classic::ComponentLists lists = classic::loadComponentLists(query);
    const ledger::StoreScope store = ledger::readStoreScope(query, cnpj);
    int classicProducts = 0;
    for (const classic::ListGroupTable& table : lists.tables) {
        classicProducts += table.count();
        if (table.isEmpty())
            continue;
        classic::PeriodMovements movements;
        try {
            movements.startGroup(query, store, table, from, to);
        } catch (const classic::MovementQueryFailed& failure) {
            throw data::DbError(failure.reason + u'\n' + failure.statement);
        }
        addRefusals(report, movements.refusals());
        for (int number = 1; number <= table.count(); ++number)
            ProductCheck(inventoryQuery, report, table.entry(number), suppliers, movements.opening(number), movements,
                         number)
                .run();
    }
    checkRevisedLedgers(query, report, store);
    checkPrescriptions(dm, report);
    if (!indexScript.isEmpty()) {
        report.indexes = readIndexReadiness(dm, indexScript, classicProducts, revisedProducts);
        report.indexesRead = true;
    }
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) { return int(a.kind) < int(b.kind); });
    return report;
}

} // namespace livros::check
