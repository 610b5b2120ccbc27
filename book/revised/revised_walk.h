#pragma once
#include "book/ledger/ledger.h"
#include "book/revised/movement_statement.h"

#include <QChar>
#include <QDate>
#include <QString>

#include <vector>

namespace livros::revised {

struct ComponentRow;

// One line of a product in a revised book, before its ID and the product's own columns.
struct RevisedLine {
    QDate date;
    QString history;
    QString lot;
    QChar operation;                  // I (opening), E, P, S
    ledger::ExactQuantity quantity;   // in the book's unit; 0 on the opening line
    bool quantityKnown = true;        // false: recorded without quantity (written NULL, counted 0)
    int context = 1;                  // 0 on the product's first line, 1 after, as the stock variable answered
    ledger::ExactQuantity stock;      // after the line
    QString observation;
    int order = 0;                    // the line's place in the product's book, from 0
};

// Whether the product has the identifier its run mode's book is kept by (the registration in
// the drugstore book, the DCB in the others): NULL or blanks is none, and such a product has no
// line.
bool hasIdentifier(RevisedMode mode, const ComponentRow& product);
// The identifier columns as written: REGMSMEDICAM and DCB.
QString registrationColumn(RevisedMode mode, const ComponentRow& product);
QString dcbColumn(RevisedMode mode, const ComponentRow& product);

// Whether a movement of the ledger is a line of the revised books (and of the SIPROQUIM map):
// entries and losses are; exits only of orders of type "Pedido" (a restocking order is none).
bool countsInRevisedBook(const ledger::Movement& movement);

// The lines of one product for a period: the opening (its inventory of the first day, converted
// to the product's unit, or 0 without one), then by date its entries, losses and exits, each
// changing the running stock exactly (six decimals). Exits of the revised books are orders of
// type "Pedido". Within a date and kind, the ledger's order.
std::vector<RevisedLine> productLines(RevisedMode mode, const ledger::ProductLedger& ledger, const QDate& start);

// A quantity or stock beyond what LIVROREVCONTR can keep: the build stops naming the movement.
struct QuantityOutOfRange {
    QDate date;
    QString quantity; // as recorded
};

// The columns a revised build writes into LIVROREVCONTR, in order.
QStringList revisedLineColumns();

} // namespace livros::revised
