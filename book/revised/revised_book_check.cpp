#include "book/revised/revised_book_check.h"

#include "book/revised/revised_book_builder.h"
#include "book/stock_check.h"
#include "data/query.h"
#include "platform/sql_literal.h"

#include <QDate>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <vector>

namespace livros::revised {

namespace {

struct StoredLine {
    QDate date;
    int rank = 0; // the statement's order within a date: I, E, P, S
    double quantity = 0;
    double stock = 0;
};

int rankOf(const QString& operation)
{
    static const QString order = QStringLiteral("IEPS");
    const qsizetype rank = order.indexOf(operation.trimmed());
    return rank < 0 ? int(order.size()) : int(rank);
}

bool subtracts(int rank) { return rank >= 2; }

// Lines of one date and kind came from one pass in an order the table does not keep; their
// stocks move one way (up for entries, down for exits and losses), so sorting by stock in that
// direction gives the order they were computed in.
bool bookOrder(const StoredLine& a, const StoredLine& b)
{
    if (a.date != b.date)
        return a.date < b.date;
    if (a.rank != b.rank)
        return a.rank < b.rank;
    return subtracts(a.rank) ? a.stock > b.stock : a.stock < b.stock;
}

// A product's code as the book stores it, compared as the server compares it.
QString codeKey(const QString& codigo) { return comparedText(codigo.left(kCodigoWidth)); }

// Every line of the store's book, by product code, each product's in book order.
QHash<QString, std::vector<StoredLine>> readLines(data::Query& query, const MovementValues& values)
{
    query.close();
    query.setSql(QStringLiteral("select CODIGO, DATA, OPERACAO, QUANTIDADE, ESTOQUE from LIVROREVCONTR where CNPJ = ")
                 + sqlLiteral(values.cnpj));
    query.open();
    QHash<QString, std::vector<StoredLine>> lines;
    for (; !query.eof(); query.next())
        lines[codeKey(query.asString(QStringLiteral("CODIGO")))].push_back(
            {query.asDateTime(QStringLiteral("DATA")).date(), rankOf(query.asString(QStringLiteral("OPERACAO"))),
             query.asFloat(QStringLiteral("QUANTIDADE")), query.asFloat(QStringLiteral("ESTOQUE"))});
    query.close();
    for (std::vector<StoredLine>& product : lines)
        std::sort(product.begin(), product.end(), bookOrder);
    return lines;
}

// The store's inventory quantities of the start date, by product code (normally one row, or none).
QHash<QString, std::vector<double>> readInventories(data::Query& query, const MovementValues& values)
{
    query.close();
    query.setSql(QStringLiteral("select CODIGO, QDE from BALANCOS where LOJA = ") + sqlLiteral(values.cnpj)
                 + QStringLiteral(" and DATABALANCO = ") + sqlLiteral(values.start.toString(Qt::ISODate)));
    query.open();
    QHash<QString, std::vector<double>> quantities;
    for (; !query.eof(); query.next())
        quantities[codeKey(query.asString(QStringLiteral("CODIGO")))].push_back(query.asFloat(QStringLiteral("QDE")));
    query.close();
    return quantities;
}

void checkProduct(const std::vector<StoredLine>& lines, const std::vector<double>& inventory, double tolerance,
                  const QString& productName)
{
    double opening = 0;
    if (!inventory.empty())
        opening = *std::min_element(inventory.begin(), inventory.end(), [&](double a, double b) {
            return std::fabs(a - lines.front().stock) < std::fabs(b - lines.front().stock);
        });

    book::ProductStock stock{productName, opening, {}, 0};
    double closing = opening;
    for (const StoredLine& line : lines) {
        const double quantity = subtracts(line.rank) ? -line.quantity : line.quantity;
        stock.steps.push_back({quantity, line.stock});
        closing += quantity;
    }
    stock.closing = closing;
    book::checkRunningStock(stock, tolerance);
}

} // namespace

void resetRunningStock(data::Query& query, const QString& codigo)
{
    query.close();
    query.setSql(QStringLiteral("select rdb$set_context('USER_TRANSACTION', ") + sqlLiteral(codigo.left(kCodigoWidth))
                 + QStringLiteral(", NULL) CLEARED from RDB$DATABASE"));
    query.open();
    query.close();
}

void checkStoreLines(data::Query& query, RevisedMode mode, const MovementValues& values,
                     const std::vector<ComponentRow>& products)
{
    const QHash<QString, std::vector<StoredLine>> lines = readLines(query, values);
    const QHash<QString, std::vector<double>> inventories = readInventories(query, values);
    // The drugstore book keeps whole units: its opening stock is the inventory rounded.
    const double tolerance = mode == RevisedMode::Drogaria ? 0.5 : 0.0000005;
    QSet<QString> checked;
    for (const ComponentRow& product : products) {
        const QString key = codeKey(product.codigo);
        const auto found = lines.constFind(key);
        if (found == lines.constEnd() || checked.contains(key))
            continue; // a product without identifier gets no line
        checked.insert(key);
        checkProduct(*found, inventories.value(key), tolerance, product.componente);
    }
}

} // namespace livros::revised
