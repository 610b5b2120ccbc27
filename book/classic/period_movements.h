#pragma once
#include "book/classic/movement_source.h"
#include "book/ledger/ledger.h"

namespace livros::classic {

// The movements of a list group's products over the whole period, as the store's ledger reads
// them (one query per kind for the group, products in batches when the group is very large),
// with the products' opening inventories and what the ledger refuses. The rows of a product are
// then walked in memory; the memory held is the group's movements of the period.
class PeriodMovements : public MovementSource {
public:
    void startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products, const QDate& first,
                    const QDate& last) override;
    void walkProduct(int number, const MovementVisitor& visit) override;

    // The inventory of product `number` (1..count) on the first day.
    const ledger::Opening& opening(int number) const { return m_ledger.product(std::size_t(number - 1)).opening; }
    // The movements and inventory rows the group's book cannot count.
    const std::vector<ledger::Refusal>& refusals() const { return m_ledger.refusals(); }

private:
    ledger::Ledger m_ledger;
};

// The ledger's products of a list group, in the group's order.
std::vector<ledger::LedgerProduct> ledgerProducts(const ListGroupTable& products);

} // namespace livros::classic
