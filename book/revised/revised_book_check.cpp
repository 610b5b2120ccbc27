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
    int order = 0; // ORDEM: the line's place in its product's book
    bool subtracts = false;
    double quantity = 0;
    double stock = 0;
};

// A product's code as the book stores it, compared as the server compares it.
QString codeKey(const QString& codigo) { return comparedText(codigo.left(kCodigoWidth)); }

// Every line of the store's book, by product code, each product's in book order.
QHash<QString, std::vector<StoredLine>> readLines(data::Query& query, const MovementValues& values)
{
    query.setSql(QStringLiteral("select CODIGO, ORDEM, OPERACAO, QUANTIDADE, ESTOQUE from LIVROREVCONTR where CNPJ = "
                                "cast(? as varchar(255))"),
                 {values.cnpj});
    query.open();
    QHash<QString, std::vector<StoredLine>> lines;
    for (; !query.eof(); query.next()) {
        const QString operation = query.asString(QStringLiteral("OPERACAO")).trimmed();
        lines[codeKey(query.asString(QStringLiteral("CODIGO")))].push_back(
            {query.asInteger(QStringLiteral("ORDEM")), operation == u"S" || operation == u"P",
             query.asFloat(QStringLiteral("QUANTIDADE")), query.asFloat(QStringLiteral("ESTOQUE"))});
    }
    query.close();
    for (std::vector<StoredLine>& product : lines)
        std::sort(product.begin(), product.end(),
                  [](const StoredLine& a, const StoredLine& b) { return a.order < b.order; });
    return lines;
}

void checkProduct(const std::vector<StoredLine>& lines, double opening, double tolerance, const QString& productName)
{
    book::ProductStock stock{productName, opening, {}, 0};
    double closing = opening;
    for (const StoredLine& line : lines) {
        const double quantity = line.subtracts ? -line.quantity : line.quantity;
        stock.steps.push_back({quantity, line.stock});
        closing += quantity;
    }
    stock.closing = closing;
    book::checkRunningStock(stock, tolerance);
}

} // namespace

void checkStoreLines(data::Query& query, RevisedMode, const MovementValues& values,
                     const std::vector<ComponentRow>& products, const std::vector<RevisedOpening>& openings)
{
    const QHash<QString, std::vector<StoredLine>> lines = readLines(query, values);
    QHash<QString, double> openingOf;
    for (const RevisedOpening& opening : openings)
        openingOf.insert(codeKey(opening.codigo), opening.stock.toDouble());
    // The stocks are exact to six decimals; reading them back as doubles adds no more than this.
    const double tolerance = 0.0000005;
    QSet<QString> checked;
    for (const ComponentRow& product : products) {
        const QString key = codeKey(product.codigo);
        const auto found = lines.constFind(key);
        if (found == lines.constEnd() || checked.contains(key))
            continue; // a product without identifier gets no line
        checked.insert(key);
        checkProduct(*found, openingOf.value(key), tolerance, product.componente);
    }
}

} // namespace livros::revised
