#include "cli/revised_command.h"

#include "cli/cli_options.h"
#include "cli/progress_log.h"
#include "cli/store_and_period.h"
#include "book/revised/revised_book_builder.h"
#include "book/stock_check.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"
#include "platform/user_messages.h"

#include <QElapsedTimer>

#include <cstdio>
#include <unistd.h>

namespace livros::cli {

namespace {

// The window's side of a build, for a terminal: messages through userMessages(), the component
// being worked on as a progress line when standard error is a terminal, no preview.
class PrintingRevisedView : public revised::RevisedBuildView {
public:
    PrintingRevisedView() : m_progress(isatty(fileno(stderr)) != 0) {}
    ~PrintingRevisedView() override { endProgressLine(); }

    void showMessage(const QString& text) override
    {
        endProgressLine();
        userMessages().inform(text);
    }
    void focusStartDate() override {}
    void focusEndDate() override {}
    void hidePeriodPanel() override {}
    void showProgressPanel(const QString&, const QString&) override {}
    void setProgressFooter(const QString& text) override
    {
        if (!m_progress)
            return;
        std::fprintf(stderr, "\r\033[K[%d/%d] %s", m_done + 1, m_total, text.toLocal8Bit().constData());
        std::fflush(stderr);
        m_lineOpen = true;
    }
    void setGaugeRange(int maximum) override
    {
        m_total = maximum;
        m_done = 0;
        m_clock.start();
    }
    double seconds() const { return m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0; }
    void advanceGauge() override { ++m_done; }
    void processEvents() override {}
    void showWaiting(const QString& text) override
    {
        endProgressLine();
        userMessages().inform(text);
    }
    void showRevisedBook(revised::RevisedMode) override {}
    void afterPreview() override { endProgressLine(); }

private:
    void endProgressLine()
    {
        if (m_lineOpen)
            std::fputs("\n", stderr);
        m_lineOpen = false;
    }

    bool m_progress;
    bool m_lineOpen = false;
    int m_total = 0;
    int m_done = 0;
    QElapsedTimer m_clock;
};

QString bookName(revised::RevisedMode mode)
{
    switch (mode) {
    case revised::RevisedMode::Drogaria:
        return QStringLiteral("DROGARIA");
    case revised::RevisedMode::InsumosCompleto:
        return QStringLiteral("INSUMOSCOMPLETO");
    case revised::RevisedMode::Siproquim:
        break;
    }
    return QStringLiteral("SIPROQUIM");
}

} // namespace

int runRevisedCommand(data::TDM& dm, revised::RevisedMode mode, const QString& cnpj,
                      const QDate& from, const QDate& to)
{
    PrintingRevisedView view;
    try {
        revised::RevisedBookBuilder builder(dm, view);
        const revised::RevisedBuildResult result = builder.build(mode, cnpj, from, to);
        switch (result.outcome) {
        case revised::RevisedBuildOutcome::Built: {
            const int lines = countRows(dm, QStringLiteral("select count(*) N from LIVROREVCONTR where CNPJ = ") + sqlLiteral(cnpj));
            userMessages().inform(buildSummaryLine(cnpj, bookName(mode), dateText(from), dateText(to),
                                                   result.components, lines, view.seconds()));
            return Done;
        }
        case revised::RevisedBuildOutcome::BadStartDate:
        case revised::RevisedBuildOutcome::BadEndDate:
        case revised::RevisedBuildOutcome::NoInventory:
        case revised::RevisedBuildOutcome::Refused:
            return Precondition;
        case revised::RevisedBuildOutcome::StatementFailed:
            // The window's message carries no reason; a script needs the server's.
            userMessages().showError(result.failureReason);
            return MovementFailed;
        }
        return Done;
    } catch (const book::StockCheckFailed& failure) {
        showStandardError(failure.message());
        return MovementFailed;
    } catch (const data::DbError& error) {
        showStandardError(error.message());
        return Failure;
    }
}

} // namespace livros::cli
