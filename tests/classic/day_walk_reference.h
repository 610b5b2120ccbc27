#pragma once
#include "book/classic/movement_source.h"

namespace livros::classic::testing {

// The reference the period reading is compared with: every product's movements read one day and
// one kind at a time, with one query each, in the book's order within the day.
class DayByDayMovements : public MovementSource {
public:
    void startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products, const QDate& first,
                    const QDate& last) override;
    void walkProduct(int number, const MovementVisitor& visit) override;

private:
    data::Query* m_query = nullptr;
    StoreScope m_store;
    const ListGroupTable* m_products = nullptr;
    QDate m_first;
    QDate m_last;
};

// One day's movements of one kind of one product: entries and exits by product code, losses by
// DCB, dates as "mm/dd/yy".
QString dayMovementSql(MovementKind kind, const QString& storeCnpj, const QString& codigo, const QString& dcb,
                       const QDate& day, const std::optional<QString>& laboratory = std::nullopt);

} // namespace livros::classic::testing
