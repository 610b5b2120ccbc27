#pragma once
#include "book/classic/component_lists.h"

#include <QDate>
#include <QString>

#include <vector>

namespace livros::data {
class Query;
}

namespace livros::classic {

// A product's inventory on the book's initial date, as the book opens with it.
struct OpeningInventory {
    int rows = 0;         // its BALANCOS rows of the day
    bool read = false;    // whether its first row could be read; false leaves the product at zero
    double quantity = 0;  // of the first row
    QString unit;         // of the first row, cut to kUnidLength
};

// The opening inventories of a list group's products, read with one query (products in batches
// when the group is very large): each product takes the first of its rows the server returns,
// its code compared as the server compares texts. Database errors propagate.
std::vector<OpeningInventory> readOpeningInventories(data::Query& query, const QString& storeCnpj,
                                                     const ListGroupTable& products, const QDate& day);

} // namespace livros::classic
