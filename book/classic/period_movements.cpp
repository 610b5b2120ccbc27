#include "book/classic/period_movements.h"

#include "book/classic/classic_sql.h"
#include "platform/sql_literal.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/date_text.h"

#include <QHash>

namespace livros::classic {

namespace {

std::size_t slot(MovementKind kind) { return std::size_t(kind); }

} // namespace

void PeriodMovements::startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products,
                                 const QDate& first, const QDate& last)
{
    m_products.assign(std::size_t(products.count()), KindRows{});
    for (const MovementKind kind : {MovementKind::Entry, MovementKind::Exit, MovementKind::Loss})
        read(query, kind, store, products, first, last);
}

void PeriodMovements::read(data::Query& query, MovementKind kind, const StoreScope& store,
                           const ListGroupTable& products, const QDate& first, const QDate& last)
{
    // Each distinct key once, in the group's order, with the products it belongs to.
    QStringList keys;
    QHash<QString, std::vector<std::size_t>> productsOf;
    std::size_t index = 0;
    for (const ControlledComponent& product : products) {
        const QString key = comparedText(kind == MovementKind::Loss ? product.dcb : product.codigo);
        auto& owners = productsOf[key];
        if (owners.empty())
            keys << key;
        owners.push_back(index++);
    }

    const QString productColumn = movementProductColumn(kind);
    QString statement;
    try {
        for (qsizetype from = 0; from < keys.size(); from += kKeysPerQuery) {
            statement = periodMovementSql(kind, store.cnpj, keys.mid(from, kKeysPerQuery), first, last,
                                          store.laboratory);
            query.close();
            query.setSql(statement);
            query.open();
            for (; !query.eof(); query.next()) {
                const QString key = comparedText(query.asString(productColumn));
                const auto owners = productsOf.constFind(key);
                if (owners == productsOf.constEnd())
                    // Only a server comparing texts otherwise (another collation) gets here:
                    // the row cannot be given to a product, and a book without it would be wrong.
                    throw data::DbError(QStringLiteral("O servidor devolveu o produto \"%1\", que não está na lista.")
                                            .arg(key));
                const MovementRow row = readMovementRow(query, kind);
                for (const std::size_t owner : *owners)
                    m_products[owner][slot(kind)].push_back(row);
            }
            query.close();
        }
    } catch (const data::DatabaseUnavailable&) {
        throw; // not this query's fault: no query can run now
    } catch (const data::DbError& error) {
        query.close();
        throw MovementQueryFailed{kind, QStringLiteral("do período %1 a %2").arg(dateText(first), dateText(last)),
                                  error.message(), statement};
    }
}

void PeriodMovements::walkProduct(int number, const MovementVisitor& visit)
{
    const KindRows& rows = m_products.at(std::size_t(number - 1));
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
        visit(MovementKind(pick), rows[pick][next[pick]++]);
    }
}

} // namespace livros::classic
