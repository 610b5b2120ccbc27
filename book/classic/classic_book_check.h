#pragma once
#include <QString>

#include <vector>

namespace livros::data {
class Query;
}

namespace livros::classic {

// What the walk did for one product: its opening balance, the quantity of each book line it
// wrote (entries positive, exits and losses negative), in order, and its closing balance.
struct WalkedProduct {
    QString codigo;
    QString componente;
    double opening = 0;
    std::vector<double> quantities;
    double closing = 0;
};

// Re-reads LIVROCONTR (inside the build's transaction, which emptied it) and checks, product by
// product in walk order, that the lines are those the walk wrote and that their balances add up;
// throws book::StockCheckFailed naming the first product that does not.
void checkClassicBook(data::Query& query, const std::vector<WalkedProduct>& products);

} // namespace livros::classic
