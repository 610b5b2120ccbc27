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

void ClassicWindowView::appendListingLine(const QString& line)
{
    BuildInputBlock::onWindowThread([&] { m_form.Memo1->appendPlainText(line); });
}
void ClassicWindowView::showMessage(const QString& text)
{
    BuildInputBlock::onWindowThread([&] { userMessages().inform(text); });
}
void ClassicWindowView::setGaugeMaximum(int maximum)
{
    BuildInputBlock::onWindowThread([&] { m_form.Gauge1->setMaximum(maximum); });
}
void ClassicWindowView::setGaugePosition(int position)
{
    BuildInputBlock::onWindowThread([&] { m_form.Gauge1->setValue(position); });
}
void ClassicWindowView::setStatusText(const QString& text)
{
    BuildInputBlock::onWindowThread([&] { m_form.Label2->setText(text); });
}
void ClassicWindowView::processEvents() { BuildInputBlock::processEvents(); }
void ClassicWindowView::clearListing()
{
    BuildInputBlock::onWindowThread([&] { m_form.Memo1->clear(); });
}
void ClassicWindowView::setListingVisible(bool visible)
{
    BuildInputBlock::onWindowThread([&] { m_form.Memo1->setVisible(visible); });
}
void ClassicWindowView::setCloseButtonVisible(bool visible)
{
    BuildInputBlock::onWindowThread([&] { m_form.BitBtn4->setVisible(visible); });
}
void ClassicWindowView::showPeriodPanel()
{
    BuildInputBlock::onWindowThread([&] { m_form.PainelPeriodo5->setVisible(true); });
}
void ClassicWindowView::hidePeriodPanel()
{
    BuildInputBlock::onWindowThread([&] { m_form.PainelPeriodo5->setVisible(false); });
}
void ClassicWindowView::focusInitialDate()
{
    BuildInputBlock::onWindowThread([&] { m_form.MaskEdit1->setFocus(Qt::OtherFocusReason); });
}
void ClassicWindowView::focusFinalDate()
{
    BuildInputBlock::onWindowThread([&] { m_form.MaskEdit2->setFocus(Qt::OtherFocusReason); });
}
void ClassicWindowView::showBookButtons()
{
    BuildInputBlock::onWindowThread([&] { m_form.ShowBookButtons(); });
}
void ClassicWindowView::setGaugeVisible(bool visible)
{
    BuildInputBlock::onWindowThread([&] { m_form.Gauge1->setVisible(visible); });
}
void ClassicWindowView::setStatusVisible(bool visible)
{
    BuildInputBlock::onWindowThread([&] { m_form.Label2->setVisible(visible); });
}

void RevisedWindowView::showMessage(const QString& text)
{
    BuildInputBlock::onWindowThread([&] { userMessages().inform(text); });
}
// The server's reason first; the statement, kilobytes long, in the box's scrollable details.
void RevisedWindowView::showStatementFailure(const QString& text, const QString& reason, const QString& statement)
{
    BuildInputBlock::onWindowThread(
        [&] { userMessages().informWithDetails(text + QStringLiteral("\n\n") + reason, statement); });
}

void RevisedWindowView::focusStartDate()
{
    BuildInputBlock::onWindowThread([&] { m_form.MaskEdit1->setFocus(Qt::OtherFocusReason); });
}
void RevisedWindowView::focusEndDate()
{
    BuildInputBlock::onWindowThread([&] { m_form.MaskEdit2->setFocus(Qt::OtherFocusReason); });
}
void RevisedWindowView::hidePeriodPanel()
{
    BuildInputBlock::onWindowThread([&] { m_form.PainelPeriodo5->setVisible(false); });
}

void RevisedWindowView::showProgressPanel(const QString& header, const QString& footer)
{
    BuildInputBlock::onWindowThread([&] {
        m_form.Panel4->setText(header);
        m_form.pnl_rodape_progresso->setText(footer);
        m_form.pnl_progresso->setGeometry(270, 111, 335, 209);
        m_form.pnl_progresso->setVisible(true);
    });
}

void RevisedWindowView::setProgressFooter(const QString& text)
{
    BuildInputBlock::onWindowThread([&] { m_form.pnl_rodape_progresso->setText(text); });
}

void RevisedWindowView::setGaugeRange(int maximum)
{
    BuildInputBlock::onWindowThread([&] {
        m_form.Gauge2->setMinValue(0);
        m_form.Gauge2->setMaxValue(maximum);
        m_form.Gauge2->setProgress(0);
    });
}

void RevisedWindowView::advanceGauge()
{
    BuildInputBlock::onWindowThread([&] { m_form.Gauge2->addProgress(1); });
}
void RevisedWindowView::processEvents() { BuildInputBlock::processEvents(); }
void RevisedWindowView::showRevisedBook(revised::RevisedMode mode)
{
    BuildInputBlock::onWindowThread([&] { m_form.ShowRevisedBook(mode); });
}

void RevisedWindowView::afterPreview()
{
    BuildInputBlock::onWindowThread([&] {
        m_form.PainelCNPJ->setVisible(false);
        m_form.PainelPeriodo5->setVisible(true);
    });
}

} // namespace livros::app
