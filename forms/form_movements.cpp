// The periodic forms' movements through the store's ledger (book/ledger), read for the same sets
// of products as the books read them: each classic list group (and the inputs of lists no classic
// book keeps) for the substances, the drugstore book's products for the medicines. A form and its
// book thus share the store's scope, the product each movement belongs to, the unit rule and the
// openings.
#include "forms/form_movements.h"

#include "book/classic/component_lists.h"
#include "book/ledger/ledger.h"
#include "book/ledger/ledger_sql.h"
#include "book/revised/revised_book_builder.h"
#include "data/data_module.h"
#include "data/query.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"

#include <QHash>
#include <QStringList>

#include <array>

namespace livros::forms {

namespace {

FormMovementKind formKind(ledger::MovementKind kind)
{
    switch (kind) {
    case ledger::MovementKind::Entry:
        return FormMovementKind::Entry;
    case ledger::MovementKind::Exit:
        return FormMovementKind::Exit;
    case ledger::MovementKind::Loss:
        break;
    }
    return FormMovementKind::Loss;
}

// One product as the forms read it: the ledger's identity and the texts the forms show.
struct CatalogueProduct {
    QString codigo;
    QString componente;
    QString dcb;
    QString unid;
    QString lista;
    QString registration;
};

using ProductSet = std::vector<CatalogueProduct>;

// The codes of the drugstore's medicines, which no substance form declares.
QHash<QString, QString> drugstoreRegistrations(data::Query& query)
{
    QHash<QString, QString> registrations;
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, REGMSMEDICAM from COMPONEN where ") + ledger::drugstoreProductCondition()
                 + QStringLiteral(" and CONTROLADA = 'Sim'"));
    query.open();
    for (; !query.eof(); query.next())
        registrations.insert(comparedText(query.asString(QStringLiteral("CODIGO"))),
                             query.asString(QStringLiteral("REGMSMEDICAM")).trimmed());
    query.close();
    return registrations;
}

ProductSet fromListGroup(const classic::ListGroupTable& table)
{
    ProductSet products;
    for (const classic::ControlledComponent& product : table)
        products.push_back({product.codigo, product.componente, product.dcb, product.unid, product.lista, {}});
    return products;
}

// The compounding inputs of lists that no classic book keeps (D1, the precursors), in the books'
// order (list, then name).
ProductSet inputsOfNoBook(data::Query& query)
{
    ProductSet inputs;
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, COMPONENTE, UNID, LISTA, DCB from COMPONEN where ")
                 + ledger::compoundingProductCondition()
                 + QStringLiteral(" and CONTROLADA = 'Sim' and LISTA is not null and LISTA <> '' "
                                  "order by LISTA, COMPONENTE"));
    query.open();
    for (; !query.eof(); query.next()) {
        const QString lista = query.asString(QStringLiteral("LISTA")).left(classic::kListaLength);
        if (classic::listGroupOf(lista) != 0)
            continue;
        inputs.push_back({query.asString(QStringLiteral("CODIGO")).left(classic::kCodigoLength),
                          query.asString(QStringLiteral("COMPONENTE")).left(classic::kComponenteLength),
                          query.asString(QStringLiteral("DCB")).left(classic::kDcbLength),
                          query.asString(QStringLiteral("UNID")).left(classic::kUnidLength), lista, {}});
    }
    query.close();
    return inputs;
}

// The drugstore book's products, as that book selects them.
ProductSet drugstoreBookProducts(data::Query& query)
{
    ProductSet products;
    for (const revised::ComponentRow& row : revised::readComponentRows(query, revised::RevisedMode::Drogaria))
        products.push_back({row.codigo, row.name, row.dcb, row.unid, row.lista, row.registration.trimmed()});
    return products;
}

QString failedMessage(const ledger::LedgerQueryFailed& failure, const QDate& first, const QDate& last)
{
    const QString kind = failure.kind == ledger::MovementKind::Entry  ? QStringLiteral("entradas")
                         : failure.kind == ledger::MovementKind::Exit ? QStringLiteral("saídas")
                                                                      : QStringLiteral("perdas");
    return QStringLiteral("Não foi possível ler as %1 do período %2 a %3.\n%4\n\n%5")
        .arg(kind, dateText(first), dateText(last), failure.reason, failure.statement);
}

// What the book refuses, the form refuses too: declared otherwise, it would disagree with its book.
QString refusedMessage(const std::vector<ledger::Refusal>& refusals)
{
    return QStringLiteral("O formulário não pode ser gerado com estas movimentações:\n%1\n\nCorrija-as no sistema; "
                          "\"livros-cli check\" lista todas.")
        .arg(ledger::refusalLines(refusals));
}

FormMovement formMovement(const ledger::Movement& movement)
{
    FormMovement form;
    form.kind = formKind(movement.kind);
    form.date = movement.date;
    form.quantity = movement.bookQuantity();
    form.supplier = movement.supplier.trimmed();
    if (movement.kind == ledger::MovementKind::Entry)
        form.invoice = movement.invoice.trimmed();
    return form;
}

// A product's movements in the book's order: by date, and on one date entries, exits, losses.
std::vector<FormMovement> bookOrder(const ledger::ProductLedger& product)
{
    std::vector<FormMovement> movements;
    ledger::walkInBookOrder(product, [&](const ledger::Movement& movement) { movements.push_back(formMovement(movement)); });
    return movements;
}

class SetReader {
public:
    SetReader(data::Query& query, const ledger::StoreScope& scope, const QDate& first, const QDate& last)
        : m_query(query), m_scope(scope), m_first(first), m_last(last)
    {
    }

    // Reads the set as its book does and adds the products that `keep` accepts.
    template<typename Keep>
    void read(const ProductSet& set, const ledger::LedgerRequest& request, Keep keep, std::vector<FormProduct>& out)
    {
        if (set.empty())
            return;
        std::vector<ledger::LedgerProduct> products;
        products.reserve(set.size());
        for (const CatalogueProduct& product : set)
            products.push_back({product.codigo, product.componente, product.dcb, product.unid});
        ledger::Ledger ledger;
        try {
            ledger.read(m_query, m_scope, products, m_first, m_last, request);
        } catch (const ledger::LedgerQueryFailed& failure) {
            throw FormMovementsFailed{failedMessage(failure, m_first, m_last)};
        }
        if (!ledger.refusals().empty())
            throw FormMovementsFailed{refusedMessage(ledger.refusals())};
        for (std::size_t index = 0; index < set.size(); ++index) {
            if (keep(set[index]))
                out.push_back(formProduct(set[index], ledger.product(index)));
        }
    }

private:
    static FormProduct formProduct(const CatalogueProduct& catalogue, const ledger::ProductLedger& ledger)
    {
        FormProduct product;
        product.codigo = catalogue.codigo.trimmed();
        product.name = catalogue.componente.trimmed();
        product.dcb = catalogue.dcb.trimmed();
        product.lista = catalogue.lista.trimmed();
        product.registration = catalogue.registration;
        product.unit = catalogue.unid.trimmed(); // the ledger counts in the catalogue unit
        product.hasOpening = ledger.opening.counted;
        product.opening = ledger.opening.bookQuantity();
        product.movements = bookOrder(ledger);
        return product;
    }

    data::Query& m_query;
    const ledger::StoreScope& m_scope;
    QDate m_first;
    QDate m_last;
};

} // namespace

std::vector<FormProduct> readFormMovements(data::TDM& dm, const QString& cnpj, const QDate& first, const QDate& last,
                                           ProductKinds kinds)
{
    data::Query query(dm.sqlcon1, QStringLiteral("FormMovementsQuery"));
    const ledger::StoreScope scope = ledger::readStoreScope(query, cnpj);
    SetReader reader(query, scope, first, last);
    std::vector<FormProduct> products;
    if (kinds == ProductKinds::Substances) {
        const QHash<QString, QString> medicines = drugstoreRegistrations(query);
        const auto substance = [&](const CatalogueProduct& product) {
            return !medicines.contains(comparedText(product.codigo));
        };
        const ledger::LedgerRequest classicReading; // formula exits, every laboratory of a lone store
        const classic::ComponentLists lists = classic::loadComponentLists(query);
        for (const classic::ListGroupTable& table : lists.tables)
            reader.read(fromListGroup(table), classicReading, substance, products);
        reader.read(inputsOfNoBook(query), classicReading, substance, products);
    } else {
        ledger::LedgerRequest drugstoreReading;
        drugstoreReading.drugstoreItems = true;
        drugstoreReading.whenOneStore = ledger::StoreScope::OneStore::StoreLaboratories;
        const auto listed = [](const CatalogueProduct& product) { return !product.lista.trimmed().isEmpty(); };
        reader.read(drugstoreBookProducts(query), drugstoreReading, listed, products);
    }
    return products;
}

} // namespace livros::forms
