#pragma once
#include "book/revised/movement_statement.h"

#include <QString>

namespace livros::revised {

// Everything a revised build shows or asks of the screen. The main window implements it with
// its panels, gauge and message boxes; the command-line tool prints instead.
class RevisedBuildView {
public:
    virtual ~RevisedBuildView() = default;

    // A modal message box with a fixed text (bad date, failed movement statement).
    virtual void showMessage(const QString& text) = 0;
    // A movement statement failed: the fixed text, the server's reason and the statement. By
    // default the fixed text and the statement in one message.
    virtual void showStatementFailure(const QString& text, const QString& reason, const QString& statement)
    {
        (void)reason;
        showMessage(text + u'\n' + statement);
    }
    virtual void focusStartDate() = 0;
    virtual void focusEndDate() = 0;

    virtual void hidePeriodPanel() = 0;
    virtual void showProgressPanel(const QString& header, const QString& footer) = 0;
    virtual void setProgressFooter(const QString& text) = 0;
    // Minimum 0, the given maximum, progress back to 0.
    virtual void setGaugeRange(int maximum) = 0;
    virtual void advanceGauge() = 0;
    // Lets the window repaint between the blocking database calls.
    virtual void processEvents() = 0;
    // Another workstation is building a revised book: the build waits (the window shows why).
    virtual void showWaiting(const QString& text)
    {
        setProgressFooter(text);
        processEvents();
    }

    // The preview of the store's revised book; returns when the user closes it.
    virtual void showRevisedBook(RevisedMode mode) = 0;
    // After the preview: the store panel hidden, the period panel shown for another period.
    virtual void afterPreview() = 0;
};

} // namespace livros::revised
