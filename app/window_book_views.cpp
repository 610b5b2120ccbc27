#include "app/window_book_views.h"

#include "app/build_input_block.h"
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/pie_gauge.h"
#include "platform/user_messages.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace livros::app {

void ClassicWindowView::appendListingLine(const QString& line) { m_form.Memo1->appendPlainText(line); }
void ClassicWindowView::showMessage(const QString& text) { userMessages().inform(text); }
void ClassicWindowView::setGaugeMaximum(int maximum) { m_form.Gauge1->setMaximum(maximum); }
void ClassicWindowView::setGaugePosition(int position) { m_form.Gauge1->setValue(position); }
void ClassicWindowView::setStatusText(const QString& text) { m_form.Label2->setText(text); }
void ClassicWindowView::processEvents() { BuildInputBlock::processEvents(); }
void ClassicWindowView::clearListing() { m_form.Memo1->clear(); }
void ClassicWindowView::setListingVisible(bool visible) { m_form.Memo1->setVisible(visible); }
void ClassicWindowView::setCloseButtonVisible(bool visible) { m_form.BitBtn4->setVisible(visible); }
void ClassicWindowView::showPeriodPanel() { m_form.PainelPeriodo5->setVisible(true); }
void ClassicWindowView::hidePeriodPanel() { m_form.PainelPeriodo5->setVisible(false); }
void ClassicWindowView::focusInitialDate() { m_form.MaskEdit1->setFocus(Qt::OtherFocusReason); }
void ClassicWindowView::focusFinalDate() { m_form.MaskEdit2->setFocus(Qt::OtherFocusReason); }
void ClassicWindowView::showBookButtons() { m_form.ShowBookButtons(); }
void ClassicWindowView::setGaugeVisible(bool visible) { m_form.Gauge1->setVisible(visible); }
void ClassicWindowView::setStatusVisible(bool visible) { m_form.Label2->setVisible(visible); }

void RevisedWindowView::showMessage(const QString& text) { userMessages().inform(text); }
// The server's reason first; the statement, kilobytes long, in the box's scrollable details.
void RevisedWindowView::showStatementFailure(const QString& text, const QString& reason, const QString& statement)
{
    userMessages().informWithDetails(text + QStringLiteral("\n\n") + reason, statement);
}

void RevisedWindowView::focusStartDate() { m_form.MaskEdit1->setFocus(Qt::OtherFocusReason); }
void RevisedWindowView::focusEndDate() { m_form.MaskEdit2->setFocus(Qt::OtherFocusReason); }
void RevisedWindowView::hidePeriodPanel() { m_form.PainelPeriodo5->setVisible(false); }

void RevisedWindowView::showProgressPanel(const QString& header, const QString& footer)
{
    m_form.Panel4->setText(header);
    m_form.pnl_rodape_progresso->setText(footer);
    m_form.pnl_progresso->setGeometry(270, 111, 335, 209);
    m_form.pnl_progresso->setVisible(true);
}

void RevisedWindowView::setProgressFooter(const QString& text) { m_form.pnl_rodape_progresso->setText(text); }

void RevisedWindowView::setGaugeRange(int maximum)
{
    m_form.Gauge2->setMinValue(0);
    m_form.Gauge2->setMaxValue(maximum);
    m_form.Gauge2->setProgress(0);
}

void RevisedWindowView::advanceGauge() { m_form.Gauge2->addProgress(1); }
void RevisedWindowView::processEvents() { BuildInputBlock::processEvents(); }
void RevisedWindowView::showRevisedBook(revised::RevisedMode mode) { m_form.ShowRevisedBook(mode); }

void RevisedWindowView::afterPreview()
{
    m_form.PainelCNPJ->setVisible(false);
    m_form.PainelPeriodo5->setVisible(true);
}

} // namespace livros::app
