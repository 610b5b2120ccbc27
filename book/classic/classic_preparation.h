#pragma once
#include "book/ledger/ledger.h"
#include "book/classic/classic_book_builder.h"
#include "book/classic/component_lists.h"

#include "platform/book_locale.h"

#include <QLocale>
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::classic {

// Everything the preparation does to the window besides the build itself: the listing and its
// "X" button, the period panel and its two date edits, the book buttons, progress and messages.
class ClassicPreparationView : public ClassicBuildView {
public:
    virtual void clearListing() = 0;
    virtual void setListingVisible(bool visible) = 0;
    virtual void setCloseButtonVisible(bool visible) = 0;
    virtual void showPeriodPanel() = 0;
    virtual void hidePeriodPanel() = 0;
    virtual void focusInitialDate() = 0;
    virtual void focusFinalDate() = 0;
    virtual void showBookButtons() = 0;
    virtual void setGaugeVisible(bool visible) = 0;
    virtual void setStatusVisible(bool visible) = 0;
};

struct ClassicPreparationRequest {
    QString initialDateText;   // as typed, "dd/mm/yy"
    QString finalDateText;
    QString storeCnpj;
    int selectedGroup = 0;
    const ComponentLists* lists = nullptr;
    QString programFolder;     // ends in a separator; where the stock program lies
    // The window starts the stock program when the store has no inventory; the command-line tool
    // only reports the missing inventory.
    bool startStockProgram = true;
};

// Failed: a movement query or a book line failed; its message has been shown and LIVROCONTR
// emptied again, so that no part of a book is ever printed as the book.
// Refused: the ledger refused movements or inventory rows (each named in the message); nothing
// changed.
enum class ClassicPreparationOutcome { BadInitialDate, BadFinalDate, NoInventory, Built, Failed, Refused };

QString badInitialDateMessage();
QString badFinalDateMessage();
// The message for a store without inventory on the initial date; its line breaks are single
// carriage returns.
using ledger::noInventoryMessage;
QString stockProgramMissingMessage();
inline constexpr char kStockProgramName[] = "Vandor.exe";

// The classic preparation: checks the period typed in the panel, requires an inventory of the
// store on the initial date (starting the stock program when there is none), empties LIVROCONTR
// and builds the selected group's book with its listing.
//
// A final date before the initial date is refused with the final date's message: the walk runs
// forward from the initial date, so such a period would book the wrong days.
//
// The build runs in one transaction that reserves LIVROCONTR (a build from another workstation
// waits, showing why, up to the lock timeout): the delete, every line and the check of the lines
// written (book::StockCheckFailed) commit together, or the previous book stays whole.
//
// Errors propagate (the caller shows them in the standard error display), saying that the book
// was not built; before they do, the window is brought back to book choice so that it is not left
// without controls.
ClassicPreparationOutcome prepareClassicBook(data::TDM& dm, ClassicPreparationView& view,
                                             const ClassicPreparationRequest& request,
                                             const QLocale& locale = bookLocale());

} // namespace livros::classic
