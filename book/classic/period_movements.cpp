#include "book/classic/period_movements.h"

#include "platform/date_text.h"

namespace livros::classic {

std::vector<ledger::LedgerProduct> ledgerProducts(const ListGroupTable& products)
{
    std::vector<ledger::LedgerProduct> list;
    list.reserve(std::size_t(products.count()));
    for (const ControlledComponent& product : products)
        list.push_back({product.codigo, product.componente, product.dcb, product.unid});
    return list;
}

void PeriodMovements::startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products,
                                 const QDate& first, const QDate& last)
{
    try {
        m_ledger.read(query, store, ledgerProducts(products), first, last);
    } catch (const ledger::LedgerQueryFailed& failure) {
        throw MovementQueryFailed{failure.kind, QStringLiteral("do período %1 a %2").arg(dateText(first), dateText(last)),
                                  failure.reason, failure.statement};
    }
}

void PeriodMovements::walkProduct(int number, const MovementVisitor& visit)
{
    ledger::walkInBookOrder(m_ledger.product(std::size_t(number - 1)), [&](const ledger::Movement& movement) {
        visit(MovementKind(int(movement.kind)), movementRowOf(movement));
    });
}

} // namespace livros::classic
