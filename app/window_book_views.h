#pragma once
#include "book/classic/classic_preparation.h"
#include "book/revised/revised_build_view.h"

namespace livros::app {

class TFormLivros;

// The main window as the classic preparation sees it: the listing and its "X" button, the
// period panel, the book buttons, the progress bar and status line, and message boxes.
class ClassicWindowView : public classic::ClassicPreparationView {
public:
    explicit ClassicWindowView(TFormLivros& form) : m_form(form) {}

    void appendListingLine(const QString& line) override;
    void showMessage(const QString& text) override;
    void setGaugeMaximum(int maximum) override;
    void setGaugePosition(int position) override;
    void setStatusText(const QString& text) override;
    void processEvents() override;
    void clearListing() override;
    void setListingVisible(bool visible) override;
    void setCloseButtonVisible(bool visible) override;
    void showPeriodPanel() override;
    void hidePeriodPanel() override;
    void focusInitialDate() override;
    void focusFinalDate() override;
    void showBookButtons() override;
    void setGaugeVisible(bool visible) override;
    void setStatusVisible(bool visible) override;

private:
    TFormLivros& m_form;
};

// The main window as a revised build sees it: the period panel, the progress panel with its pie
// gauge, message boxes and the preview of the built book.
class RevisedWindowView : public revised::RevisedBuildView {
public:
    explicit RevisedWindowView(TFormLivros& form) : m_form(form) {}

    void showMessage(const QString& text) override;
    void showStatementFailure(const QString& text, const QString& reason, const QString& statement) override;
    void focusStartDate() override;
    void focusEndDate() override;
    void hidePeriodPanel() override;
    void showProgressPanel(const QString& header, const QString& footer) override;
    void setProgressFooter(const QString& text) override;
    void setGaugeRange(int maximum) override;
    void advanceGauge() override;
    void processEvents() override;
    void showRevisedBook(revised::RevisedMode mode) override;
    void afterPreview() override;

private:
    TFormLivros& m_form;
};

} // namespace livros::app
