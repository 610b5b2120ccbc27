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
    const auto& rows = m_ledger.product(std::size_t(number - 1)).movements;
    std::array<std::size_t, 3> next{};
    for (;;) {
        // The earliest date next; on one date the kinds in their order (entries first).
        int pick = -1;
        for (int kind = 0; kind < 3; ++kind) {
            if (next[kind] == rows[kind].size())
                continue;
            if (pick < 0 || rows[kind][next[kind]].date < rows[pick][next[pick]].date)
                pick = kind;
        }
        if (pick < 0)
            return;
        visit(MovementKind(pick), movementRowOf(rows[pick][next[pick]++]));
    }
}

} // namespace livros::classic
