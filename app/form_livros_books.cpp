// What the window builds and shows: the list groups, the preparation of a classic or revised
// book, and the report runs of the books.
#include "app/book_reports.h"
#include "app/build_input_block.h"
#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "app/store_texts.h"
#include "app/window_book_views.h"
#include "book/classic/classic_preparation.h"
#include "book/revised/revised_book_builder.h"
#include "book/revised/stored_book.h"
#include "data/data_module.h"
#include "platform/user_messages.h"
#include "report/report_module.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

#include <optional>

namespace livros::app {

report::TRM& TFormLivros::reportModule()
{
    if (!report::RM)
        throw std::runtime_error("O módulo de relatórios não foi criado.");
    return *report::RM;
}

void TFormLivros::LoadComponentLists()
{
    runHandler([this] {
        // A failed read keeps the tables as they were.
        m_lists = classic::loadComponentLists(m_dm);
        HideBookButtons();
        try {
            OpenPeriodPanel(false);
        } catch (...) {
            // Without the panel the window would be left with no control but its close box.
            ShowBookButtons();
            throw;
        }
    });
}

void TFormLivros::BotDesfPrepClick()
{
    // The book is built off the window's thread, no input reaching the window meanwhile. Esc
    // stops the build and returns to the window; closing the window or a termination signal stops
    // it and the program ends. Either way the statement in progress is cancelled at once, the
    // build is rolled back and the previous book kept.
    std::optional<BuildInputBlock> block(std::in_place, *this, [this] { m_dm.sqlcon1.cancelRunningStatement(); });
    const QString initialDate = MaskEdit1->maskText();
    const QString finalDate = MaskEdit2->maskText();
    const bool done = runHandler([&] {
        if (isRevisedMode(m_mode)) {
            BuildRevisedBook(*block, initialDate, finalDate);
            return;
        }
        ClassicWindowView view(*this);
        classic::ClassicPreparationRequest request;
        request.initialDateText = initialDate;
        request.finalDateText = finalDate;
        request.storeCnpj = m_storeCnpj;
        request.selectedGroup = m_selectedListGroup;
        request.lists = &m_lists;
        request.programFolder = m_programFolder;
        block->run([&] { classic::prepareClassicBook(m_dm, view, request); });
    });
    const BuildInputBlock::Stop stop = done ? BuildInputBlock::Stop::None : block->stopRequested();
    block.reset();
    if (stop == BuildInputBlock::Stop::None)
        return;
    // A cancel that met no statement must not stop the window's next one.
    m_dm.sqlcon1.forgetCancelRequest();
    if (stop == BuildInputBlock::Stop::Close) {
        close();
    } else if (!isRevisedMode(m_mode)) {
        // Back to the book buttons, as after a build that failed.
        Label2->setVisible(false);
        Gauge1->setVisible(false);
        BitBtn4->setVisible(true);
        ShowBookButtons();
    }
}

void TFormLivros::BuildRevisedBook(BuildInputBlock& block, const QString& initialDate, const QString& finalDate)
{
    const std::optional<revised::RevisedMode> book = revisedBookOf(m_mode);
    if (!book)
        return;
    RevisedWindowView view(*this);
    // A build that stops half-way (a failed statement, a lost server, Esc) comes back to the
    // period panel: the progress panel has no control of its own to leave it by.
    const auto backToPeriod = qScopeGuard([this] {
        if (!pnl_progresso->isVisible() && PainelPeriodo5->isVisible())
            return;
        pnl_progresso->hide();
        PainelPeriodo5->show();
        MaskEdit1->setFocus(Qt::OtherFocusReason);
    });
    block.run([&] { revised::RevisedBookBuilder(m_dm, view).build(*book, m_storeCnpj, initialDate, finalDate); });
}

void TFormLivros::ShowRevisedBook(revised::RevisedMode mode)
{
    if (revised::storedBookIsOfAnotherMode(m_dm, mode, m_storeCnpj)) {
        userMessages().inform(revised::noBookOfThisModeMessage(FormatCnpj(m_storeCnpj)));
        return;
    }
    const QString selection = revisedBookSelection(mode, m_storeCnpj);
    PainelCNPJ->setVisible(false);
    pnl_progresso->setVisible(false);
    report::TRM& rm = reportModule();
    m_dm.CDS_LivroRevContr.close();
    m_dm.setRevisedBookSelection(selection);
    // From the first revised preview on, runs go straight to the preview.
    rm.rvstm1.SystemSetups &= ~report::TSystemSetups(report::ssAllowSetup);
    rm.rvpjRelLivros.setProjectFile(m_programFolder + revisedProjectFile(mode));
    // A book built in this run can be issued from its preview; a view-only run only shows.
    std::optional<registerbook::RegisterBookKind> book;
    if (!isViewOnlyMode(m_mode))
        book = registerbook::revisedBookKind(mode);
    runBookReportWithIssue(book, [&] { rm.RunNamedReport(QString::fromLatin1(kBookReportName)); });
}

bool TFormLivros::ShowViewOnlyBook()
{
    if (!isViewOnlyMode(m_mode))
        return false;
    m_dm.DadosGer.open();
    m_storeCnpj = storeCnpjOf(m_dm.DadosGerCNPJ().asString());
    m_dm.DadosGer.close();
    Titulo->setText(QString::fromUtf16(kSiproquimTitle));
    Titulo->adjustSize();
    setWindowTitle(QString::fromUtf16(kSiproquimCaption) + FormatCnpj(m_storeCnpj));
    ShowRevisedBook(*revisedBookOf(m_mode));
    close();
    return true;
}

void TFormLivros::BotSCClick()
{
    runHandler([this] {
        report::TRM& rm = reportModule();
        // LIVROCONTR may hold another store's last book: print only this store's lines.
        m_dm.LivroContr.close();
        m_dm.LivroContr.setCommandText(data::livroContrSelect(m_storeCnpj));
        rm.rvpjRelLivros.setProjectFile(m_programFolder + QString::fromLatin1(kClassicProjectFile));
        // The built classic book can be issued from its preview.
        std::optional<registerbook::RegisterBookKind> book;
        if (m_selectedListGroup >= 1 && m_selectedListGroup <= classic::kListGroupCount)
            book = registerbook::classicBookKind(m_selectedListGroup);
        runBookReportWithIssue(book, [&] { rm.RunNamedReport(QString::fromLatin1(kBookReportName)); });
    });
}

} // namespace livros::app
