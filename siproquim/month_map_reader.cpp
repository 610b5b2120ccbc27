#include "siproquim/month_map_reader.h"

#include "book/ledger/ledger.h"
#include "book/ledger/store_scope.h"
#include "book/revised/revised_book_builder.h"
#include "book/revised/revised_walk.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/sql_literal.h"
#include "siproquim/map_fields.h"
#include "siproquim/map_units.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <map>
#include <tuple>

namespace livros::siproquim {

namespace {

// A chemical of the SIPROQUIM book as the map declares it.
struct Chemical {
    QString codigo, name, pfCode, unitText;
    double density = 0;
    std::optional<MapUnit> unit;
    bool used = false; // moved in the month or in stock on its first day
};

// The month of one store, taken from the ledger that the SIPROQUIM book reads: the same products,
// store scope, product identity and unit rule, so that the map and the book cannot disagree.
class MonthReader {
public:
    MonthReader(data::TDM& dm, const QString& cnpj, int year, int month)
        : m_query(dm.sqlcon1, QStringLiteral("MonthMapQuery")), m_cnpj(cnpj), m_start(year, month, 1)
    {
        m_end = m_start.addMonths(1).addDays(-1);
        m_map.content.cnpj = cnpj;
        m_map.content.year = year;
        m_map.content.month = month;
    }

    MonthMap read()
    {
        if (!m_start.isValid())
            return m_map;
        readCatalogue();
        readLedger();
        declareProducts();
        return std::move(m_map);
    }

private:
    void readCatalogue()
    {
        const std::vector<revised::ComponentRow> rows =
            revised::readComponentRows(m_query, revised::RevisedMode::Siproquim);
        QHash<QString, double> densities;
        m_query.setSql(QStringLiteral("select CODIGO, DENSIDADE from COMPONEN where ")
                       + revised::siproquimComponentCondition());
        m_query.open();
        for (; !m_query.eof(); m_query.next())
            densities.insert(comparedText(m_query.asString(QStringLiteral("CODIGO"))),
                             m_query.asFloat(QStringLiteral("DENSIDADE")));
        m_query.close();
        for (const revised::ComponentRow& row : rows) {
            Chemical c{row.codigo.trimmed(), row.name.trimmed(), row.fornecedor.trimmed().toUpper(),
                       row.unid.trimmed(), densities.value(comparedText(row.codigo)), mapUnitOf(row.unid)};
            m_chemicals.push_back(c);
            m_products.push_back({row.codigo, row.name, row.dcb, row.unid});
        }
    }

    void readLedger()
    {
        const ledger::StoreScope scope = ledger::readStoreScope(m_query, m_cnpj);
        ledger::LedgerRequest request;
        request.whenOneStore = ledger::StoreScope::OneStore::StoreLaboratories;
        ledger::Ledger ledger;
        try {
            ledger.read(m_query, scope, m_products, m_start, m_end, request);
        } catch (const ledger::LedgerQueryFailed& failure) {
            throw data::DbError(failure.reason + u'\n' + failure.statement);
        }
        // What stops the book stops the map: a month is declared as the book registers it or not
        // at all. The rest is still read, so that every problem is listed at once.
        for (const ledger::Refusal& refusal : ledger.refusals())
            m_map.problems << refusal.text;

        // Invoice (date, supplier, number) -> Polícia Federal code -> quantity, in date order.
        std::map<std::tuple<QDate, QString, QString>, QMap<QString, double>> invoices;
        QHash<QString, QString> supplierCnpjs;
        struct Day {
            double quantity = 0;
            QSet<QString> formulas;
        };
        std::map<std::pair<QDate, QString>, Day> productionDays;
        QList<MapConsumption> losses;

        for (std::size_t index = 0; index < m_chemicals.size(); ++index) {
            Chemical& chemical = m_chemicals[index];
            const ledger::ProductLedger& product = ledger.product(index);
            if (product.opening.counted && product.opening.quantity > 0)
                chemical.used = true;
            ledger::walkInBookOrder(product, [&](const ledger::Movement& m) {
                if (!revised::countsInRevisedBook(m))
                    return;
                chemical.used = true;
                if (!chemical.unit)
                    return; // the product's own problem, listed once when it is declared
                const double quantity = m.bookQuantity() * chemical.unit->factor;
                switch (m.kind) {
                case ledger::MovementKind::Entry: {
                    const auto key = std::make_tuple(m.date, m.supplier.trimmed(), m.invoice.trimmed());
                    invoices[key][chemical.pfCode] += quantity;
                    if (!m.supplierCnpj.trimmed().isEmpty())
                        supplierCnpjs.insert(m.supplier.trimmed(), m.supplierCnpj.trimmed());
                    break;
                }
                case ledger::MovementKind::Exit: {
                    Day& day = productionDays[{m.date, chemical.pfCode}];
                    day.quantity += quantity;
                    day.formulas.insert(m.station.trimmed() + u'/' + m.orderNumber.trimmed() + u'/'
                                        + m.formula.trimmed());
                    break;
                }
                case ledger::MovementKind::Loss: {
                    const QString reason = m.reason.trimmed();
                    losses << MapConsumption{chemical.pfCode, quantity, kConsumptionOther,
                                             reason.isEmpty() ? QStringLiteral("PERDA SEM MOTIVO INFORMADO") : reason,
                                             m.date};
                    break;
                }
                }
            });
        }

        for (const auto& [key, items] : invoices) {
            MapInvoice invoice;
            invoice.date = std::get<0>(key);
            invoice.supplierName = std::get<1>(key);
            invoice.number = std::get<2>(key);
            invoice.supplierCnpj = supplierCnpjs.value(invoice.supplierName);
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                invoice.items << MapItem{it.key(), it.value()};
            m_map.content.invoices << invoice;
        }
        for (const auto& [key, day] : productionDays) {
            const qsizetype n = day.formulas.size();
            m_map.content.consumptions << MapConsumption{
                key.second, day.quantity, kConsumptionProduction,
                QStringLiteral("PROCESSO PRODUTIVO: %1 %2")
                    .arg(n)
                    .arg(n == 1 ? QStringLiteral("FORMULA MANIPULADA") : QStringLiteral("FORMULAS MANIPULADAS")),
                key.first};
        }
        m_map.content.consumptions << losses;
        std::stable_sort(m_map.content.consumptions.begin(), m_map.content.consumptions.end(),
                         [](const MapConsumption& a, const MapConsumption& b) { return a.date < b.date; });
    }

    // One PR per Polícia Federal code among the chemicals that moved or are in stock, by name.
    void declareProducts()
    {
        std::vector<const Chemical*> byName;
        for (const Chemical& c : m_chemicals)
            if (c.used)
                byName.push_back(&c);
        std::stable_sort(byName.begin(), byName.end(), [](const Chemical* a, const Chemical* b) {
            return std::tie(a->name, a->codigo) < std::tie(b->name, b->codigo);
        });
        QHash<QString, const Chemical*> declared;
        for (const Chemical* c : byName) {
            const QString owner = QStringLiteral("Produto %1 %2").arg(c->codigo, c->name);
            if (!c->unit) {
                m_map.problems << owner
                        + QStringLiteral(": unidade \"%1\" do cadastro não é de massa nem de volume").arg(c->unitText);
                continue;
            }
            if (const Chemical* first = declared.value(c->pfCode)) {
                if (first->unit->letter != c->unit->letter || densityText(first->density) != densityText(c->density))
                    m_map.problems << owner
                            + QStringLiteral(": mesmo código %1 do produto %2 %3 com outra unidade ou densidade")
                                  .arg(c->pfCode, first->codigo, first->name);
                continue;
            }
            declared.insert(c->pfCode, c);
            m_map.content.products << MapProduct{c->pfCode, c->name, concentrationFromName(c->name), c->density,
                                                 c->unit->letter};
        }
    }

    data::Query m_query; // the map's own, on the main connection
    QString m_cnpj;
    QDate m_start, m_end;
    std::vector<Chemical> m_chemicals;               // in the SIPROQUIM book's order
    std::vector<ledger::LedgerProduct> m_products;  // the same, as the ledger reads them
    MonthMap m_map;
};

} // namespace

MonthMap readMonthMap(data::TDM& dm, const QString& cnpj, int year, int month)
{
    return MonthReader(dm, cnpj, year, month).read();
}

} // namespace livros::siproquim
