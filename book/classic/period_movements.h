#pragma once
#include "book/classic/movement_source.h"

#include <array>
#include <vector>

namespace livros::classic {

// The movements of a list group's products over the whole period, read with one query per kind
// for the group (products in batches when the group is very large) and kept per product. The
// rows of a product are then walked in memory; the memory held is the group's movements of the
// period.
//
// A row belongs to every product of the group whose code (entries, exits) or DCB (losses) the
// server finds equal to the row's: compared as the server compares texts, so trailing blanks do
// not count.
class PeriodMovements : public MovementSource {
public:
    void startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products, const QDate& first,
                    const QDate& last) override;
    void walkProduct(int number, const MovementVisitor& visit) override;

private:
    using KindRows = std::array<std::vector<MovementRow>, 3>;  // entries, exits, losses
    void read(data::Query& query, MovementKind kind, const StoreScope& store, const ListGroupTable& products,
              const QDate& first, const QDate& last);

    std::vector<KindRows> m_products;  // by product number - 1
};

} // namespace livros::classic
