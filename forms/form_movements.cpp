// The periodic forms' movements through the classic book's own reading of the period (its product
// lists, opening inventories and period movements, book/classic); the drugstore's medicines, which
// the classic walk does not sell, add their ready-made sales and take their losses by name.
#include "forms/form_movements.h"

#include "book/classic/classic_sql.h"
#include "book/classic/component_lists.h"
#include "book/classic/movement_rows.h"
#include "book/classic/opening_inventory.h"
#include "book/classic/period_movements.h"
#include "book/classic/store_laboratory.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace livros::forms {

namespace {

using classic::MovementKind;

const QString kDrugstoreGroup = QStringLiteral("upper(substring(GRUPO from 1 for 3)) = 'REV'");

QString isoDate(const QDate& date) { return sqlLiteral(date.toString(QStringLiteral("yyyy-MM-dd"))); }

FormMovementKind formKind(MovementKind kind)
{
    switch (kind) {
    case MovementKind::Entry:
        return FormMovementKind::Entry;
    case MovementKind::Exit:
        return FormMovementKind::Exit;
    case MovementKind::Loss:
        break;
    }
    return FormMovementKind::Loss;
}

struct CatalogueTexts {
    QString registration;
    bool drugstore = false;
};

// What the classic lists do not keep of a product: its registration and whether it is sold by
// the drugstore.
QHash<QString, CatalogueTexts> catalogueTexts(data::Query& query)
{
    QHash<QString, CatalogueTexts> texts;
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, REGMSMEDICAM, case when ") + kDrugstoreGroup
                 + QStringLiteral(" then 1 else 0 end as DROGARIA from COMPONEN where CONTROLADA = 'Sim'"));
    query.open();
    for (; !query.eof(); query.next())
        texts.insert(comparedText(query.asString(QStringLiteral("CODIGO"))),
                     {query.asString(QStringLiteral("REGMSMEDICAM")).trimmed(),
                      query.asInteger(QStringLiteral("DROGARIA")) == 1});
    query.close();
    return texts;
}

// The controlled products with a list that `condition` selects, in the books' order (list, then
// name), as the classic lists keep them.
classic::ListGroupTable catalogueTable(data::Query& query, const QString& condition)
{
    classic::ListGroupTable table;
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, COMPONENTE, UNID, LISTA, DCB from COMPONEN where ") + condition
                 + QStringLiteral(" and CONTROLADA = 'Sim' and LISTA is not null and LISTA <> '' "
                                  "order by LISTA, COMPONENTE"));
    query.open();
    for (; !query.eof(); query.next())
        table.append({query.asString(QStringLiteral("DCB")).left(classic::kDcbLength),
                      query.asString(QStringLiteral("CODIGO")).left(classic::kCodigoLength),
                      query.asString(QStringLiteral("COMPONENTE")).left(classic::kComponenteLength),
                      query.asString(QStringLiteral("UNID")).left(classic::kUnidLength),
                      query.asString(QStringLiteral("LISTA")).left(classic::kListaLength)});
    query.close();
    return table;
}

// The compounding inputs of lists that no classic book keeps (D1, the precursors), read the way
// the classic books read theirs.
classic::ListGroupTable inputsOfNoBook(data::Query& query)
{
    classic::ListGroupTable inputs;
    for (const classic::ControlledComponent& product :
         catalogueTable(query, QStringLiteral("not (") + kDrugstoreGroup + QStringLiteral(")")))
        if (classic::listGroupOf(product.lista) == 0)
            inputs.append(product);
    return inputs;
}

// The invoice numbers of the entries, per product code, in the order the book reads its entries
// (the same statement): the n-th entry the book walks for a code is the n-th number here.
QHash<QString, QStringList> entryInvoices(data::Query& query, const classic::StoreScope& store,
                                          const classic::ListGroupTable& products, const QDate& first,
                                          const QDate& last)
{
    QStringList codes;
    for (const classic::ControlledComponent& product : products) {
        const QString code = comparedText(product.codigo);
        if (!codes.contains(code))
            codes << code;
    }
    QHash<QString, QStringList> invoices;
    for (qsizetype from = 0; from < codes.size(); from += classic::kKeysPerQuery) {
        query.close();
        query.setSql(classic::periodMovementSql(MovementKind::Entry, store.cnpj, codes.mid(from, classic::kKeysPerQuery),
                                                first, last, store.laboratory));
        query.open();
        for (; !query.eof(); query.next())
            invoices[comparedText(query.asString(QStringLiteral("CODIGO")))]
                << query.asString(QStringLiteral("NOTAFISCAL")).trimmed();
        query.close();
    }
    return invoices;
}

// What the drugstore book adds to or reads otherwise than the classic reading, per product: the
// sales of the period ("Pedido" orders' ready-made items, of the store's laboratory when the exits
// take one) by product code, and the store's losses by product name, as the drugstore book finds
// them (its medicines have no DCB to match a loss by).
struct DrugstoreMovements {
    QHash<QString, std::vector<FormMovement>> salesByCode;
    QHash<QString, std::vector<FormMovement>> lossesByName;
};

void readDrugstoreRows(data::Query& query, const QString& sql, const QString& what, const QDate& first,
                       const QDate& last, const std::function<void()>& row)
{
    query.close();
    query.setSql(sql);
    try {
        query.open();
        for (; !query.eof(); query.next())
            row();
    } catch (const data::DatabaseUnavailable&) {
        throw;
    } catch (const data::DbError& error) {
        query.close();
        throw FormMovementsFailed{QStringLiteral("Não foi possível ler %1 do período %2 a %3.\n%4\n\n%5")
                                      .arg(what, dateText(first), dateText(last), error.message(), sql)};
    }
    query.close();
}

DrugstoreMovements drugstoreMovements(data::Query& query, const classic::StoreScope& store, const QDate& first,
                                      const QDate& last)
{
    DrugstoreMovements movements;
    QString sales = QStringLiteral("Select P.DATAPEDIDO, I.CODPROD, I.QDE from PEDIDOS P join ITENS I on I.ESTACAO = "
                                   "P.ESTACAO and I.NPEDIDO = P.NPEDIDO where P.TIPOPEDIDO = 'Pedido' and "
                                   "P.DATAPEDIDO between ")
        + isoDate(first) + QStringLiteral(" and ") + isoDate(last);
    if (store.laboratory)
        sales += QStringLiteral(" and I.LABORATORIO = ") + sqlLiteral(*store.laboratory);
    sales += QStringLiteral(" order by P.DATAPEDIDO, I.ESTACAO, I.NPEDIDO, I.CODPROD");
    readDrugstoreRows(query, sales, QStringLiteral("as vendas da drogaria"), first, last, [&] {
        FormMovement sale;
        sale.kind = FormMovementKind::Exit;
        sale.date = query.asDateTime(QStringLiteral("DATAPEDIDO")).date();
        sale.quantity = query.asFloat(QStringLiteral("QDE"));
        movements.salesByCode[comparedText(query.asString(QStringLiteral("CODPROD")))].push_back(sale);
    });
    const QString losses = QStringLiteral("Select DATA, COMPONENTE, FORNECEDOR, QUANTIDADE from PERDAS where LOJA = ")
        + sqlLiteral(store.cnpj) + QStringLiteral(" and DATA between ") + isoDate(first) + QStringLiteral(" and ")
        + isoDate(last) + QStringLiteral(" order by DATA, FORNECEDOR, LOTE, MOTIVO, QUANTIDADE");
    readDrugstoreRows(query, losses, QStringLiteral("as perdas da drogaria"), first, last, [&] {
        FormMovement loss;
        loss.kind = FormMovementKind::Loss;
        loss.date = query.asDateTime(QStringLiteral("DATA")).date();
        loss.quantity = query.asFloat(QStringLiteral("QUANTIDADE"));
        loss.supplier = query.asString(QStringLiteral("FORNECEDOR")).trimmed();
        movements.lossesByName[comparedText(query.asString(QStringLiteral("COMPONENTE")))].push_back(loss);
    });
    return movements;
}

void addMovements(std::vector<FormMovement>& movements, const std::vector<FormMovement>& more)
{
    movements.insert(movements.end(), more.begin(), more.end());
}

QString failedMessage(const classic::MovementQueryFailed& failure)
{
    const QString kind = failure.kind == MovementKind::Entry ? QStringLiteral("entradas")
                         : failure.kind == MovementKind::Exit ? QStringLiteral("saídas")
                                                               : QStringLiteral("perdas");
    return QStringLiteral("Não foi possível ler as %1 %2.\n%3\n\n%4")
        .arg(kind, failure.where, failure.reason, failure.statement);
}

int kindRank(FormMovementKind kind) { return int(kind); }

class GroupReader {
public:
    GroupReader(data::TDM& dm, const classic::StoreScope& store, const QDate& first, const QDate& last,
                const QHash<QString, CatalogueTexts>& catalogue)
        : m_dm(dm), m_store(store), m_first(first), m_last(last), m_catalogue(catalogue)
    {
    }

    // The products of `table` of the drugstore or not; the drugstore's with `drugstore` movements.
    void read(const classic::ListGroupTable& table, const DrugstoreMovements* drugstore,
              std::vector<FormProduct>& products)
    {
        if (table.isEmpty())
            return;
        classic::PeriodMovements movements;
        try {
            movements.startGroup(m_dm.SQLQuery1, m_store, table, m_first, m_last);
            const auto openings = classic::readOpeningInventories(m_dm.SQLQuery2, m_store.cnpj, table, m_first);
            const auto invoices = entryInvoices(m_dm.SQLQuery1, m_store, table, m_first, m_last);
            for (int number = 1; number <= table.count(); ++number) {
                const classic::ControlledComponent& component = table.entry(number);
                const QString code = comparedText(component.codigo);
                const CatalogueTexts texts = m_catalogue.value(code);
                if (texts.drugstore != (drugstore != nullptr))
                    continue;
                products.push_back(product(component, texts, openings[std::size_t(number - 1)]));
                FormProduct& current = products.back();
                int entry = 0;
                movements.walkProduct(number, [&](MovementKind kind, const classic::MovementRow& row) {
                    if (drugstore && kind == MovementKind::Loss)
                        return;  // the drugstore's losses are its own, by name
                    FormMovement movement;
                    movement.kind = formKind(kind);
                    movement.date = row.date;
                    movement.quantity = classic::bookQuantity(kind, row, current.unit);
                    movement.supplier = row.supplier.trimmed();
                    if (kind == MovementKind::Entry)
                        movement.invoice = invoices.value(code).value(entry++);
                    current.movements.push_back(movement);
                });
                if (drugstore) {
                    addMovements(current.movements, drugstore->salesByCode.value(code));
                    addMovements(current.movements, drugstore->lossesByName.value(comparedText(component.componente)));
                    std::stable_sort(current.movements.begin(), current.movements.end(),
                                     [](const FormMovement& a, const FormMovement& b) {
                                         if (a.date != b.date)
                                             return a.date < b.date;
                                         return kindRank(a.kind) < kindRank(b.kind);
                                     });
                }
            }
        } catch (const classic::MovementQueryFailed& failure) {
            throw FormMovementsFailed{failedMessage(failure)};
        }
    }

private:
    static FormProduct product(const classic::ControlledComponent& component, const CatalogueTexts& texts,
                               const classic::OpeningInventory& opening)
    {
        FormProduct product;
        product.codigo = component.codigo.trimmed();
        product.name = component.componente.trimmed();
        product.dcb = component.dcb.trimmed();
        product.lista = component.lista.trimmed();
        product.registration = texts.registration;
        product.unit = component.unid;
        product.hasOpening = opening.rows > 0;
        // A first row that cannot be read opens the product at zero in its catalogue unit, as the book does.
        if (opening.read) {
            product.opening = opening.quantity;
            product.unit = opening.unit;
        }
        product.unit = product.unit.trimmed();
        return product;
    }

    data::TDM& m_dm;
    const classic::StoreScope& m_store;
    QDate m_first;
    QDate m_last;
    const QHash<QString, CatalogueTexts>& m_catalogue;
};

} // namespace

std::vector<FormProduct> readFormMovements(data::TDM& dm, const QString& cnpj, const QDate& first, const QDate& last,
                                           ProductKinds kinds)
{
    const classic::StoreScope store{cnpj, classic::exitsLaboratory(dm, cnpj)};
    const QHash<QString, CatalogueTexts> catalogue = catalogueTexts(dm.SQLQuery1);
    GroupReader reader(dm, store, first, last, catalogue);
    std::vector<FormProduct> products;
    if (kinds == ProductKinds::Substances) {
        const classic::ComponentLists lists = classic::loadComponentLists(dm);
        for (const classic::ListGroupTable& table : lists.tables)
            reader.read(table, nullptr, products);
        reader.read(inputsOfNoBook(dm.SQLQuery1), nullptr, products);
    } else {
        const DrugstoreMovements drugstore = drugstoreMovements(dm.SQLQuery1, store, first, last);
        reader.read(catalogueTable(dm.SQLQuery1, kDrugstoreGroup), &drugstore, products);
    }
    return products;
}

} // namespace livros::forms
