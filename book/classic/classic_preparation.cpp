#include "book/classic/classic_preparation.h"

#include "book/build_transaction.h"
#include "book/classic/book_listing.h"
#include "book/classic/classic_book_check.h"
#include "book/classic/classic_sql.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "platform/date_text.h"
#include "platform/external_program.h"

#include <QDir>
#include <QFileInfo>

namespace livros::classic {

namespace {

const QChar kCarriageReturn(13);

// The stock program in the program folder: the exact name first, then any letter case, since
// the suite's folders come from case-insensitive file systems.
QString findStockProgram(const QString& programFolder)
{
    const QString exact = programFolder + QLatin1String(kStockProgramName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir folder(programFolder.isEmpty() ? QStringLiteral(".") : programFolder);
    const QStringList matches =
        folder.entryList({QLatin1String(kStockProgramName)}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : matches) {
        if (name.compare(QLatin1String(kStockProgramName), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return {};
}

void appendLines(ClassicBuildView& view, const QStringList& lines)
{
    for (const QString& line : lines)
        view.appendListingLine(line);
}

bool hasInventoryOn(data::TDM& dm, const QString& storeCnpj, const QDate& initialDate)
{
    data::Query query(dm.sqlcon1, QStringLiteral("InventoryCountQuery"));
    query.setSql(storeInventoryCountSql(storeCnpj, initialDate));
    query.open();
    const int rows = query.asInteger(QStringLiteral("QDE"));
    query.close();
    return rows != 0;
}

} // namespace

QString badInitialDateMessage() { return QStringLiteral("Data Inicial incorreta. Corrija e tente novamente."); }

QString badFinalDateMessage() { return QStringLiteral("Data Final incorreta. Corrija e tente novamente."); }

QString stockProgramMissingMessage()
{
    return QStringLiteral("Atenção: \"Vandor.exe\" não encontrado, favor entrar em contato com a ZUN Sistemas");
}

ClassicPreparationOutcome prepareClassicBook(data::TDM& dm, ClassicPreparationView& view,
                                             const ClassicPreparationRequest& request, const QLocale& locale)
{
    view.clearListing();
    view.hidePeriodPanel();
    view.processEvents();

    const std::optional<QDate> initialDate = parseDateText(request.initialDateText);
    if (!initialDate) {
        view.showMessage(badInitialDateMessage());
        view.showPeriodPanel();
        view.focusInitialDate();
        return ClassicPreparationOutcome::BadInitialDate;
    }
    const std::optional<QDate> finalDate = parseDateText(request.finalDateText);
    if (!finalDate || *finalDate < *initialDate) {
        view.showMessage(badFinalDateMessage());
        view.showPeriodPanel();
        view.focusFinalDate();
        return ClassicPreparationOutcome::BadFinalDate;
    }

    // The panel has stored the period already; closing drops only what was never posted.
    dm.Periodo.close();

    bool building = false;
    try {
        if (!hasInventoryOn(dm, request.storeCnpj, *initialDate)) {
            view.showMessage(noInventoryMessage(*initialDate));
            view.showBookButtons();
            if (request.startStockProgram) {
                const QString stockProgram = findStockProgram(request.programFolder);
                if (!stockProgram.isEmpty())
                    runExternalProgram(stockProgram);
                else
                    view.showMessage(stockProgramMissingMessage());
            }
            return ClassicPreparationOutcome::NoInventory;
        }

        building = true;
        view.setListingVisible(true);
        view.setCloseButtonVisible(false);
        view.setGaugeVisible(true);
        view.setStatusVisible(true);
        bool built = true;
        bool refused = false;
        {
            // One transaction for the whole build: the delete, every line and the check commit
            // together, or nothing does and the previous book stays whole. LIVROCONTR is reserved,
            // so builds from other workstations wait for this one.
            const auto build = book::startBuildTransaction(dm.sqlcon1, QStringLiteral("LIVROCONTR"),
                                                           [&](const QString& text) { view.showWaiting(text); });
            build->execute(QLatin1String(kDeleteBookSql));

            ClassicBookBuilder builder(dm, *build, view, request.storeCnpj, *initialDate, *finalDate, locale);
            built = !request.lists || builder.buildGroup(request.selectedGroup, *request.lists);
            refused = builder.refused();
            if (built) {
                data::Query checkQuery(dm.sqlcon1, QStringLiteral("ClassicCheckQuery"));
                checkClassicBook(checkQuery, builder.walkedProducts());
            }
            // A failed walk is rolled back with the transaction: the previous book stays whole.
            if (built)
                build->commit();
        }
        if (built)
            appendLines(view, listingClosing());
        view.setStatusVisible(false);
        view.setGaugeVisible(false);
        view.setCloseButtonVisible(true);
        view.showBookButtons();
        if (built)
            return ClassicPreparationOutcome::Built;
        return refused ? ClassicPreparationOutcome::Refused : ClassicPreparationOutcome::Failed;
    } catch (const std::exception&) {
        if (building) {
            view.setStatusVisible(false);
            view.setGaugeVisible(false);
            view.setCloseButtonVisible(true);
        }
        view.showBookButtons();
        if (building)
            book::rethrowAsNotBuilt();
        throw;
    }
}

} // namespace livros::classic
