#include "book/classic/opening_inventory.h"

#include "book/classic/classic_sql.h"
#include "platform/sql_literal.h"
#include "data/db_error.h"
#include "data/query.h"

#include <QHash>

namespace livros::classic {

std::vector<OpeningInventory> readOpeningInventories(data::Query& query, const QString& storeCnpj,
                                                     const ListGroupTable& products, const QDate& day)
{
    static const QString kCodigo = QStringLiteral("CODIGO");
    static const QString kQde = QStringLiteral("QDE");
    static const QString kUnid = QStringLiteral("UNID");

    std::vector<OpeningInventory> openings(std::size_t(products.count()));
    QStringList codes;
    QHash<QString, std::vector<std::size_t>> productsOf;
    std::size_t index = 0;
    for (const ControlledComponent& product : products) {
        auto& owners = productsOf[comparedText(product.codigo)];
        if (owners.empty())
            codes << comparedText(product.codigo);
        owners.push_back(index++);
    }

    for (qsizetype from = 0; from < codes.size(); from += kKeysPerQuery) {
        query.close();
        query.setSql(openingInventorySql(storeCnpj, codes.mid(from, kKeysPerQuery), day));
        query.open();
        for (; !query.eof(); query.next()) {
            const auto owners = productsOf.constFind(comparedText(query.asString(kCodigo)));
            if (owners == productsOf.constEnd())
                // Only a server comparing texts otherwise (another collation) gets here.
                throw data::DbError(QStringLiteral("O servidor devolveu o produto \"%1\", que não está na lista.")
                                        .arg(query.asString(kCodigo)));
            for (const std::size_t owner : *owners) {
                OpeningInventory& opening = openings[owner];
                if (opening.rows++ > 0)
                    continue;
                // A first row that cannot be read leaves the product at zero, silently.
                try {
                    opening.quantity = query.asFloat(kQde);
                    opening.unit = query.asString(kUnid).left(kUnidLength);
                    opening.read = true;
                } catch (const data::DatabaseUnavailable&) {
                    throw;
                } catch (const data::DbError&) {
                    opening.quantity = 0;
                    opening.unit.clear();
                }
            }
        }
        query.close();
    }
    return openings;
}

} // namespace livros::classic
