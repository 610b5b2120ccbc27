#pragma once
#include <QString>

#include <stdexcept>
#include <vector>

namespace livros::book {

// One book line of a product as the check sees it: the movement's quantity with its sign (entries
// add, exits and losses subtract) and the stock written on the line after it.
struct StockStep {
    double quantity = 0;
    double stock = 0;
};

// A build whose lines do not add up. Its text names the product and says that the book was not
// built; the build's transaction is rolled back.
class StockCheckFailed : public std::runtime_error {
public:
    explicit StockCheckFailed(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// What the check compares, for one product: the opening stock, the lines re-read from the book
// table in book order, and the closing stock the build computed. Stocks differing by no more
// than `tolerance` agree (the classic book stores its balances rounded to four decimals).
struct ProductStock {
    QString product;      // the name the message shows
    double opening = 0;
    std::vector<StockStep> steps;
    double closing = 0;
};

// Verifies that opening + entries - exits - losses gives each line's stock, in order, and the
// closing stock; throws StockCheckFailed naming the product and the first line that differs.
void checkRunningStock(const ProductStock& product, double tolerance);

// The message of a product whose re-read lines are not the ones the build wrote (a line missing
// or out of place); the check fails with it.
QString lineCountMismatchMessage(const QString& product, int written, int expected);

// The sentence added to every failure of a build: the previous book stays as it was.
QString bookNotBuiltSentence();

} // namespace livros::book
