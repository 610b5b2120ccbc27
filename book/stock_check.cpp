#include "book/stock_check.h"

#include <QLocale>

#include <cmath>

namespace livros::book {

namespace {

QString number(double value) { return QLocale::c().toString(value, 'f', 6); }

bool agrees(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance + 1e-9 * (1 + std::fabs(b)); }

} // namespace

QString bookNotBuiltSentence()
{
    return QStringLiteral("O livro não foi montado; o livro anterior continua como estava.");
}

QString lineCountMismatchMessage(const QString& product, int written, int expected)
{
    return QStringLiteral("Conferência do livro: o produto \"%1\" tem %2 linhas gravadas para %3 movimentos. ")
               .arg(product)
               .arg(written)
               .arg(expected)
        + bookNotBuiltSentence();
}

void checkRunningStock(const ProductStock& product, double tolerance)
{
    double expected = product.opening;
    for (size_t i = 0; i < product.steps.size(); ++i) {
        expected += product.steps[i].quantity;
        if (!agrees(product.steps[i].stock, expected, tolerance))
            throw StockCheckFailed(
                QStringLiteral("Conferência do livro: o estoque do produto \"%1\" não confere na linha %2 "
                               "(gravado %3, calculado %4). ")
                    .arg(product.product)
                    .arg(i + 1)
                    .arg(number(product.steps[i].stock), number(expected))
                + bookNotBuiltSentence());
    }
    const double closing = product.steps.empty() ? product.opening : product.steps.back().stock;
    if (!agrees(closing, product.closing, tolerance) || !agrees(expected, product.closing, tolerance))
        throw StockCheckFailed(QStringLiteral("Conferência do livro: o estoque final do produto \"%1\" não confere "
                                              "(gravado %2, calculado %3). ")
                                   .arg(product.product)
                                   .arg(number(closing), number(product.closing))
                               + bookNotBuiltSentence());
}

} // namespace livros::book
