#pragma once
#include "book/ledger/exact_quantity.h"
#include "book/ledger/store_scope.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace livros::data {
class Query;
}

namespace livros::ledger {

// The kinds of movement, in the order the classic book walks a day.
enum class MovementKind { Entry, Exit, Loss };

// A product as the ledger identifies it: code (its key), name, DCB and catalogue unit, which is
// the unit its book counts in.
struct LedgerProduct {
    QString codigo;
    QString componente;
    QString dcb;
    QString unid;
};

// One movement of a product, with what every book shows of it.
struct Movement {
    MovementKind kind = MovementKind::Entry;
    QDate date;
    double quantity = 0;          // as recorded, in `unit` (null counts as 0)
    QString quantityText;         // the same, exactly as stored ("12.50000")
    QString unit;                 // as recorded
    double factor = 1;            // into the book's unit (unitFactor)
    double bookQuantity() const { return quantity * factor; }
    ExactQuantity exactBookQuantity() const;

    QString supplier;             // FORNECEDOR of the row
    QString supplierCnpj;         // the smallest FORNECED.CNPJ of that trade name; empty when none
    bool supplierKnown = false;   // whether FORNECED has the trade name
    QString lot;
    QString expiry;               // as text (the workstation's short date); empty for losses
    QString reason;               // losses: MOTIVO
    bool reasonKnown = false;

    // Entries: the invoice and, for the SIPROQUIM report, density and correction factor.
    QString invoice;
    QString density;              // as stored, empty when null
    QString correctionFactor;

    // Exits: the order and its prescription.
    QString station;
    QString orderNumber;
    QString formula;              // empty for a drugstore item
    QString orderType;            // TIPOPEDIDO
    bool drugstoreItem = false;   // from ITENS rather than COMPEDID
    QString patient, prescriber, council, registration, councilState;
    QString notification;
    bool notificationKnown = false;
};

// A product's inventory on the period's first day.
struct Opening {
    bool counted = false;         // a BALANCOS row of the day exists
    int rows = 0;                 // how many (more than one is refused)
    double quantity = 0;          // as counted, in `unit`
    QString quantityText;
    QString unit;                 // as counted
    double factor = 1;            // into the book's unit
    double bookQuantity() const { return quantity * factor; }
    ExactQuantity exactBookQuantity() const;
};

// A movement or inventory row the ledger cannot give to exactly one product in its book's
// unit: the build stops naming it, the data check lists it.
struct Refusal {
    QString codigo;   // the product, when one is known
    QString produto;
    QDate date;
    QString text;     // what is wrong, in Portuguese, naming the row
};

struct ProductLedger {
    Opening opening;
    std::array<std::vector<Movement>, 3> movements; // by MovementKind, each by date then its key
};

// A product's movements in book order: the earliest date first; on one date the kinds in their
// order (entries, exits, losses), each kind in its own order.
void walkInBookOrder(const ProductLedger& product, const std::function<void(const Movement&)>& visit);

// What a reading takes: the exits of formulas (COMPEDID, the classic and compounding books) or
// of drugstore items (ITENS), and whose exits count with one store in TABLAB.
struct LedgerRequest {
    bool drugstoreItems = false;
    StoreScope::OneStore whenOneStore = StoreScope::OneStore::EveryLaboratory;
};

// The store's movements of a period for a set of products (a book), read with one query per
// kind (products in batches when the book is very large), in the caller's transaction: a
// snapshot transaction sees one state of the tables for every kind.
//
// Each movement belongs to exactly one product of the set: entries and formula exits by the
// product's code; a drugstore sale by ITENS.CODPROD, or when no catalogue product has that code,
// by the one product whose name is the description; a loss to the product of its DCB whose name
// is PERDAS.COMPONENTE, or the only product of that DCB in the book (a loss whose DCB no product
// of the book has goes by its name alone). Quantities convert to each product's catalogue unit
// by unitFactor. What cannot be given to one product, or converted, is a Refusal.
class Ledger {
public:
    // Reads everything; database errors propagate (a failed movement query as
    // LedgerQueryFailed, a lost database as data::DatabaseUnavailable).
    void read(data::Query& query, const StoreScope& scope, const std::vector<LedgerProduct>& products,
              const QDate& first, const QDate& last, const LedgerRequest& request = {});

    const ProductLedger& product(std::size_t index) const { return m_products.at(index); }
    std::size_t productCount() const { return m_products.size(); }
    const std::vector<Refusal>& refusals() const { return m_refusals; }
    // Whether the store has any inventory row on the first day.
    bool storeCounted() const { return m_storeCounted; }

private:
    void readOpenings(data::Query& query);
    void readKind(data::Query& query, MovementKind kind);
    void readItems(data::Query& query);
    void refuse(const LedgerProduct* product, const QDate& date, const QString& text);
    void place(std::size_t owner, Movement movement);

    StoreScope m_scope;
    std::vector<LedgerProduct> m_productList;
    QDate m_first, m_last;
    LedgerRequest m_request;
    std::vector<ProductLedger> m_products;
    std::vector<Refusal> m_refusals;
    bool m_storeCounted = false;
};

// A movement query that failed: which kind, the server's reason and the statement.
struct LedgerQueryFailed {
    MovementKind kind;
    QString reason;
    QString statement;
};

// The most values one IN list of the ledger's queries holds (the server takes up to 1500; this
// also keeps the statement well below its length limit).
inline constexpr int kKeysPerQuery = 500;

// The message of a period whose first day has no inventory of the store: no book opens without
// one. Its line breaks are single carriage returns.
QString noInventoryMessage(const QDate& initialDate);

// The texts of refused rows, one per line, for the message of a book or form that stops on them.
QString refusalLines(const std::vector<Refusal>& refusals);

// A date as the ledger's texts show it: "dd/mm/yy".
QString refusalDate(const QDate& date);

} // namespace livros::ledger
