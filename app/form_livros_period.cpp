// The period panel: the two date edits over the period record, which every leave of an edit
// writes to PERIODO at once, and its cancel button.
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "data/data_module.h"
#include "platform/date_text.h"

#include <QFrame>
#include <QPushButton>

namespace livros::app {

void TFormLivros::OpenPeriodPanel(bool cancelReadsSair)
{
    m_dm.Periodo.open();
    MaskEdit1->setMaskText(dateText(m_dm.PeriodoDATAINICIAL().asDate()));
    MaskEdit2->setMaskText(dateText(m_dm.PeriodoDATAFINAL().asDate()));
    if (cancelReadsSair)
        BotCancelaDesfazer->setText(QStringLiteral("Sair"));
    PainelPeriodo5->setGeometry(270, 111, 417, 209);
    PainelPeriodo5->setVisible(true);
    BotDesfPrep->setText(QStringLiteral("Preparação"));
    MaskEdit1->setFocus(Qt::OtherFocusReason);
}

// Entering either edit puts the record into edit mode; with no row in PERIODO this starts the
// new row that the next leave inserts.
void TFormLivros::MaskEdit1Enter() { periodEditEntered(); }

void TFormLivros::MaskEdit2Enter() { periodEditEntered(); }

void TFormLivros::periodEditEntered()
{
    // The cancel button closes the record and then the window; as the window goes, the focus
    // may pass through a date edit. There is no record to edit then.
    if (!m_dm.Periodo.active())
        return;
    runHandler([this] { m_dm.Periodo.edit(); });
}

void TFormLivros::MaskEdit1Exit() { periodEditLeft(*MaskEdit1, QStringLiteral("DATAINICIAL"), true); }

void TFormLivros::MaskEdit2Exit() { periodEditLeft(*MaskEdit2, QStringLiteral("DATAFINAL"), false); }

void TFormLivros::periodEditLeft(DateMaskEdit& edit, const QString& field, bool editAgain)
{
    // Esc in an unchanged edit runs the cancel, which closes the record, before the edit is
    // left: there is no record to write into then, and nothing to write.
    if (!m_dm.Periodo.active())
        return;
    runHandler([&] {
        const QString text = edit.maskText();
        const std::optional<QDate> date = parseDateText(text);
        if (!date)
            throw invalidDateError(text);
        m_dm.Periodo.field(field).setValue(*date);
        m_dm.Periodo.post();
        if (editAgain)
            m_dm.Periodo.edit();
    });
}

void TFormLivros::MaskEdit1KeyPress() { MaskEdit1->moveToNextControl(); }

// Enter in the final date presses the preparation button, the focus staying in the edit.
void TFormLivros::MaskEdit2KeyPress() { BotDesfPrepClick(); }

void TFormLivros::BotCancelaDesfazerClick()
{
    runHandler([this] {
        m_dm.Periodo.cancel();
        m_dm.Periodo.close();
        if (isRevisedMode(m_mode)) {
            close();
            return;
        }
        ShowBookButtons();
        PainelPeriodo5->hide();
    });
}

} // namespace livros::app
