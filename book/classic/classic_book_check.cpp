#include "book/classic/classic_book_check.h"

#include "book/stock_check.h"
#include "data/query.h"

#include <algorithm>
#include <cmath>

namespace livros::classic {

namespace {

// The table keeps balances rounded to four decimals.
constexpr double kStoredRounding = 0.00005;

struct StoredLine {
    QString codigo;
    double opening = 0;
    double balance = 0;
};

std::vector<StoredLine> readLines(data::Query& query)
{
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, ESTOQUEINICIAL, SALDO from LIVROCONTR order by ID"));
    query.open();
    std::vector<StoredLine> lines;
    for (; !query.eof(); query.next())
        lines.push_back({query.asString(QStringLiteral("CODIGO")), query.asFloat(QStringLiteral("ESTOQUEINICIAL")),
                         query.asFloat(QStringLiteral("SALDO"))});
    query.close();
    return lines;
}

int linesOf(const std::vector<StoredLine>& lines, const QString& codigo)
{
    return int(std::count_if(lines.begin(), lines.end(), [&](const StoredLine& l) { return l.codigo == codigo; }));
}

} // namespace

void checkClassicBook(data::Query& query, const std::vector<WalkedProduct>& products)
{
    const std::vector<StoredLine> lines = readLines(query);
    size_t next = 0;
    for (const WalkedProduct& product : products) {
        const size_t count = product.quantities.size();
        book::ProductStock stock{product.componente, product.opening, {}, product.closing};
        bool inPlace = next + count <= lines.size();
        for (size_t i = 0; inPlace && i < count; ++i) {
            const StoredLine& line = lines[next + i];
            inPlace = line.codigo == product.codigo;
            stock.steps.push_back({product.quantities[i], line.balance});
            if (inPlace && std::abs(line.opening - product.opening) > kStoredRounding + 1e-9 * (1 + std::abs(product.opening)))
                throw book::StockCheckFailed(
                    QStringLiteral("Conferência do livro: o estoque inicial do produto \"%1\" não confere. ").arg(product.componente)
                    + book::bookNotBuiltSentence());
        }
        if (!inPlace)
            throw book::StockCheckFailed(book::lineCountMismatchMessage(product.componente, linesOf(lines, product.codigo),
                                                                        int(count)));
        book::checkRunningStock(stock, kStoredRounding);
        next += count;
    }
    if (next != lines.size()) {
        const QString codigo = lines[next].codigo;
        throw book::StockCheckFailed(book::lineCountMismatchMessage(codigo, linesOf(lines, codigo), 0));
    }
}

} // namespace livros::classic
