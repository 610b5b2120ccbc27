#pragma once
#include <QDate>
#include <QString>

#include <vector>

namespace livros::data {
class TDM;
}

namespace livros::forms {

// The movements the periodic forms declare, read as the register books read them, so that a
// form and its book never disagree. Everything the forms know of how the books read the period
// is behind this interface.

enum class FormMovementKind { Entry, Exit, Loss };

struct FormMovement {
    FormMovementKind kind = FormMovementKind::Entry;
    QDate date;
    double quantity = 0;  // in the product's book unit, never negative for a movement the book counts
    QString supplier;     // entries and losses
    QString invoice;      // entries: the invoice number (NOTAFISCAL)
};

// One controlled product of the store with its opening stock and movements of the period.
struct FormProduct {
    QString codigo;
    QString name;          // COMPONENTE
    QString dcb;
    QString lista;
    QString registration;  // REGMSMEDICAM (drugstore medicines)
    QString unit;          // the book's: the opening inventory's, else the catalogue's
    bool hasOpening = false;  // an inventory row on the period's first day
    double opening = 0;
    std::vector<FormMovement> movements;  // in the book's order: by date, entries, exits, losses
};

// Which products: the compounding inputs (the substances of the classic books, and those of lists
// no classic book keeps, such as D1) or the drugstore medicines (group REV...).
enum class ProductKinds { Substances, Medicines };

// A movement query that failed: the book's own message, with the server's reason and statement.
struct FormMovementsFailed {
    QString message;
};

// The store's controlled products of `kinds` with their opening and movements from `first` to
// `last`. Throws FormMovementsFailed when a movement query fails; other database errors propagate.
std::vector<FormProduct> readFormMovements(data::TDM& dm, const QString& cnpj, const QDate& first, const QDate& last,
                                           ProductKinds kinds);

} // namespace livros::forms
