#pragma once
#include "book/classic/book_line_writer.h"
#include "book/classic/classic_book_check.h"
#include "book/classic/component_lists.h"
#include "book/classic/movement_rows.h"
#include "book/classic/period_movements.h"
#include "data/query.h"

#include <QDate>
#include "platform/book_locale.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace livros::data {
class TDM;
class Transaction;
}

namespace livros::classic {

// What the group walk shows while it runs: the listing, the progress bar and status line, and
// the message of a failed movement query. The window and the command-line tool implement it.
class ClassicBuildView {
public:
    virtual ~ClassicBuildView() = default;
    virtual void appendListingLine(const QString& line) = 0;
    // A modal message box (or its text on standard error).
    virtual void showMessage(const QString& text) = 0;
    virtual void setGaugeMaximum(int maximum) = 0;
    virtual void setGaugePosition(int position) = 0;
    virtual void setStatusText(const QString& text) = 0;
    // Lets the window repaint and handle its pending messages between products.
    virtual void processEvents() = 0;
    // Another workstation is building the book: the build waits (the window shows why).
    virtual void showWaiting(const QString& text)
    {
        setStatusText(text);
        processEvents();
    }
};

// The exit code of the command-line tool when a movement query or a book line fails.
inline constexpr int kMovementQueryFailedExitCode = 4;

// The walk of one list group: for each component its opening balance on the initial date, then
// its movements of the period day by day (entries, exits, losses), each changing the running
// balance and written as one LIVROCONTR row and one listing line. The store's ledger of the group
// (its opening inventories and movements) is read before the first component (PeriodMovements);
// a group with a movement or inventory row the ledger refuses is not built. LIVROCONTR must have been emptied by the caller in
// `transaction`, the build's, which the lines are written in.
class ClassicBookBuilder {
public:
    ClassicBookBuilder(data::TDM& dm, data::Transaction& transaction, ClassicBuildView& view, const QString& storeCnpj,
                       const QDate& initialDate, const QDate& finalDate, const QLocale& locale = bookLocale());

    // Builds the book of group 1..4; another number or an empty table builds nothing. Returns
    // false when a movement query or a book line's insert fails: the walk stops there, since
    // every later balance would leave that movement out, and the server's reason is shown with
    // the statement; the caller rolls the build's transaction back. A database that cannot be
    // reached or a connection lost during the walk (data::DatabaseUnavailable) propagates.
    bool buildGroup(int groupNumber, const ComponentLists& lists);
    // Whether the last buildGroup failed because the ledger refused rows (shown, each named).
    bool refused() const { return m_refused; }

    // What the walk wrote, product by product, for the check after the build.
    const std::vector<WalkedProduct>& walkedProducts() const { return m_walked; }

    // Takes the movements from `source` instead of reading the period at once: for comparing the
    // walk with another way of reading the same movements. `source` must outlive the builder.
    void readMovementsFrom(MovementSource& source) { m_movements = &source; }

    // The last book line number given out (ID of LIVROCONTR); 0 before the first line.
    int bookLineNumber() const { return m_bookLineNumber; }
    // The number of days walked, both ends included.
    int dayCount() const { return m_dayCount; }

private:
    struct Failed {};  // unwinds the walk after a failure has been shown

    void walkComponent(int index, const ControlledComponent& component);
    void openBalance(const ControlledComponent& component, const ledger::Opening& opening);
    void walkMovement(MovementKind kind, const ControlledComponent& component, const MovementRow& row);
    [[noreturn]] void failedQuery(const MovementQueryFailed& failure);
    [[noreturn]] void refuse(const std::vector<ledger::Refusal>& refusals);
    void writeBookLine(MovementKind kind, const ControlledComponent& component, const MovementRow& row,
                       const QString& history, const QString& observation);
    // Runs a write of book lines; a line the server refuses fails the build naming it.
    void sendLines(const std::function<void()>& sending);
    void append(const QStringList& lines);
    [[noreturn]] void fail(const QString& message);

    data::TDM& m_dm;
    ClassicBuildView& m_view;
    StoreScope m_store;
    QDate m_initialDate;
    QDate m_finalDate;
    int m_dayCount;
    QString m_periodText;
    QLocale m_locale;
    QString m_titleLine;
    QString m_bookName;
    int m_bookLineNumber = 0;

    // Working values of the component being walked.
    double m_openingBalance = 0;
    double m_runningBalance = 0;
    QString m_bookUnit;
    int m_movementCount = 0;

    PeriodMovements m_periodMovements;
    bool m_refused = false;
    MovementSource* m_movements = &m_periodMovements;

    BookLineWriter m_lineWriter;
    data::Query m_ledgerQuery; // the builder's own: the ledger's period queries
    std::vector<WalkedProduct> m_walked;
};

} // namespace livros::classic
