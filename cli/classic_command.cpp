#include "cli/classic_command.h"
#include "cli/cli_options.h"
#include "cli/progress_log.h"
#include "cli/store_and_period.h"

#include "book/classic/classic_preparation.h"
#include "book/stock_check.h"
#include "book/classic/component_lists.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QElapsedTimer>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace livros::cli {

namespace {

// The window's side of the preparation, for a terminal or a script: the listing goes to the
// output stream, messages to standard error, progress to standard error when it is a terminal.
class CliClassicView : public classic::ClassicPreparationView {
public:
    explicit CliClassicView(QTextStream& out)
        : m_out(out), m_progress(isatty(fileno(stderr)) != 0)
    {
    }

    void appendListingLine(const QString& line) override { m_out << line << '\n'; }
    void showMessage(const QString& text) override { StderrMessages().inform(text); }
    void setGaugeMaximum(int maximum) override
    {
        m_maximum = maximum;
        m_clock.start();
    }
    void setGaugePosition(int position) override { m_position = position; }
    void setStatusText(const QString& text) override
    {
        if (!m_progress)
            return;
        const QString line = QStringLiteral("[%1/%2] %3").arg(m_position).arg(m_maximum).arg(text).left(120);
        std::fprintf(stderr, "\r%s\x1b[K", line.toLocal8Bit().constData());
        std::fflush(stderr);
        m_statusShown = true;
    }
    void processEvents() override {}
    void showWaiting(const QString& text) override
    {
        clearStatus();
        StderrMessages().inform(text);
    }
    void clearListing() override {}
    void setListingVisible(bool) override {}
    void setCloseButtonVisible(bool) override {}
    void showPeriodPanel() override {}
    void hidePeriodPanel() override {}
    void focusInitialDate() override {}
    void focusFinalDate() override {}
    void showBookButtons() override {}
    void setGaugeVisible(bool) override {}
    void setStatusVisible(bool visible) override
    {
        if (!visible)
            clearStatus();
    }

    void clearStatus()
    {
        if (m_statusShown) {
            std::fprintf(stderr, "\r\x1b[K");
            std::fflush(stderr);
            m_statusShown = false;
        }
    }

private:
    QTextStream& m_out;
    bool m_progress;
    bool m_statusShown = false;
    int m_maximum = 0;
    int m_position = 0;
    QElapsedTimer m_clock;

public:
    int products() const { return m_maximum; }
    double seconds() const { return m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0; }
};

// A date as the period edit would hold it. The book writes dates into SQL with two-digit years,
// which the server places in the same century window as the edits; a date outside that window
// would address another century, so it reads as the empty edit and is refused as a bad date.
QString editTextFor(const QDate& date)
{
    const QString text = dateText(date);
    return date.isValid() && parseDateText(text) == date ? text : dateText(QDate());
}

// The PERIODO dates as the period edits would show them.
void periodRecordTexts(data::TDM& dm, QString& fromText, QString& toText)
{
    QDate from;
    QDate to;
    periodRecordDates(dm, from, to);
    fromText = editTextFor(from);
    toText = editTextFor(to);
}

int run(data::TDM& dm, int group, const QString& cnpjOption, bool usePeriodRecord, QString fromText, QString toText,
        QTextStream& listingOut)
{
    if (group < 1 || group > classic::kListGroupCount) {
        StderrMessages().inform(QStringLiteral("classic: --group deve ser 1, 2, 3 ou 4"));
        return Usage;
    }

    CliClassicView view(listingOut);
    try {
        const StoreChoice store = chooseStore(dm, cnpjOption);
        if (store.cnpj.isEmpty()) {
            StderrMessages().inform(store.error);
            return Usage;
        }
        const QString& cnpj = store.cnpj;
        if (usePeriodRecord)
            periodRecordTexts(dm, fromText, toText);

        const classic::ComponentLists lists = classic::loadComponentLists(dm);
        classic::ClassicPreparationRequest request;
        request.initialDateText = fromText;
        request.finalDateText = toText;
        request.storeCnpj = cnpj;
        request.selectedGroup = group;
        request.lists = &lists;
        request.programFolder = programFolder();
        request.startStockProgram = false;

        const classic::ClassicPreparationOutcome outcome = classic::prepareClassicBook(dm, view, request);
        listingOut.flush();
        switch (outcome) {
        case classic::ClassicPreparationOutcome::Built:
            StderrMessages().inform(buildSummaryLine(cnpj, QStringLiteral("clássico do grupo %1").arg(group), fromText,
                                                     toText, view.products(),
                                                     countRows(dm, QStringLiteral("select count(*) N from LIVROCONTR")),
                                                     view.seconds()));
            return Done;
        case classic::ClassicPreparationOutcome::Failed:
            return MovementFailed;
        default:
            return Precondition;
        }
    } catch (const book::StockCheckFailed& failure) {
        view.clearStatus();
        listingOut.flush();
        StderrMessages().showError(failure.message());
        return MovementFailed;
    } catch (const data::DbError& error) {
        view.clearStatus();
        listingOut.flush();
        StderrMessages().showError(error.message());
        return Failure;
    }
}

} // namespace

int runClassicCommand(data::TDM& dm, int group, const QString& cnpj, QDate from, QDate to, QTextStream& listingOut)
{
    const bool usePeriodRecord = from.isNull() && to.isNull();
    const QString fromText = editTextFor(from);
    const QString toText = editTextFor(to);
    return run(dm, group, cnpj, usePeriodRecord, fromText, toText, listingOut);
}

int runClassicCommand(data::TDM& dm, int group, const QString& cnpj, const QString& fromText,
                      const QString& toText, QTextStream& listingOut)
{
    if (fromText.isEmpty() != toText.isEmpty()) {
        StderrMessages().inform(QStringLiteral("classic: --from e --to vão juntas"));
        return Usage;
    }
    return run(dm, group, cnpj, fromText.isEmpty(), fromText, toText, listingOut);
}

} // namespace livros::cli
