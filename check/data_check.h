#pragma once
#include "check/index_readiness.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace livros::data {
class TDM;
}

namespace livros::check {

// The data faults that make a book wrong, most harmful first (the order of the report).
enum class FindingKind {
    RefusedMovement,      // a movement or inventory row the ledger refuses: no book can be built
    DuplicateInventory,   // two inventory rows for one product and day: no book can be built
    NotInAnyBook,         // a controlled product without the identifier its revised book is kept by
    SameDrugstoreDescription, // drugstore sales without a product code go by description: ambiguous
    FormulaOfUnknownLaboratory, // a formula of a laboratory of no store: in no revised book
    NoOpeningInventory,   // no inventory on the period's first day: the book opens at 0
    InventoryUnit,        // the inventory counts in another unit than the catalogue's
    SupplierDuplicated,   // a movement's supplier has two FORNECED rows: the line shows the smaller CNPJ
    SupplierMissing,      // a movement's supplier is not in FORNECED: the line has no CNPJ
    NegativeStock,        // the running stock goes below zero
    ClosingDiffersFromCount, // the book's closing stock is not the next inventory count
    CodeTooLong,          // a code longer than inventories and purchases can hold
    NotificationMissing,  // a controlled sale without the notification its list needs
    NotificationNumberCut, // a notification number the suite cannot hold whole
    PrescriberIncomplete, // the prescriber's council, number or state missing
    PatientMissing,       // a controlled sale without its patient
};

struct Finding {
    FindingKind kind;
    QString codigo;
    QString produto;
    QDate date;
    QString rows;  // the rows involved, as the suite shows them
};

// One product with an inventory on the day after the period: the book's closing stock beside it.
struct VarianceLine {
    QString codigo;
    QString produto;
    QString unit;
    double closing = 0;
    double counted = 0;
    double difference() const { return counted - closing; }
};

struct CheckReport {
    QString cnpj;
    QDate from;
    QDate to;
    std::vector<Finding> findings;  // in the kinds' order, then by product
    std::vector<VarianceLine> variance;
    int productsWithoutCount = 0;   // no inventory on the day after the period
    bool indexesRead = false;       // the optional indexes' part, when their script was given
    IndexReadiness indexes;
    bool clean() const { return findings.empty(); }
};

// The longest product code that BALANCOS and COMPRAS hold.
inline constexpr int kStockCodeLength = 13;

// Reads the store's controlled products of the classic lists for the period, as the classic
// book reads them (its opening inventory, its movements through classic::PeriodMovements), and
// the catalogue as the revised books select it, and the prescription data of the period's
// controlled sales (checkPrescriptions), and reports what would make the books wrong. Writes nothing.
// With `indexScript` (db/suite_indexes.sql) it also reports the optional indexes that are missing.
// Database errors propagate.
CheckReport checkStoreData(data::TDM& dm, const QString& cnpj, const QDate& from, const QDate& to,
                           const QString& indexScript = QString());

// The report as plain text: a summary line per kind, the findings grouped by kind with what to do
// in the suite, then the variance.
QStringList checkReportText(const CheckReport& report, const QLocale& locale = QLocale());

} // namespace livros::check
