#include "classic_test_view.h"

#include "platform/date_text.h"

namespace livros::classic::testing {

namespace {
QString onOff(bool on) { return on ? QStringLiteral("show") : QStringLiteral("hide"); }
} // namespace

void RecordingView::appendListingLine(const QString& line) { listing.append(line); }
void RecordingView::showMessage(const QString& text)
{
    messages.append(text);
    events.append(QStringLiteral("message"));
}
void RecordingView::setGaugeMaximum(int maximum)
{
    gaugeMaximum = maximum;
    events.append(QStringLiteral("gauge:max %1").arg(maximum));
}
void RecordingView::setGaugePosition(int position) { gaugePositions.append(position); }
void RecordingView::setStatusText(const QString& text) { statusTexts.append(text); }
void RecordingView::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}
void RecordingView::clearListing()
{
    listing.clear();
    events.append(QStringLiteral("listing:clear"));
}
void RecordingView::setListingVisible(bool visible)
{
    listingVisible = visible;
    events.append(QStringLiteral("listing:") + onOff(visible));
}
void RecordingView::setCloseButtonVisible(bool visible)
{
    closeButtonVisible = visible;
    events.append(QStringLiteral("close:") + onOff(visible));
}
void RecordingView::showPeriodPanel()
{
    periodPanelVisible = true;
    events.append(QStringLiteral("panel:show"));
}
void RecordingView::hidePeriodPanel()
{
    periodPanelVisible = false;
    events.append(QStringLiteral("panel:hide"));
}
void RecordingView::focusInitialDate() { events.append(QStringLiteral("focus:initial")); }
void RecordingView::focusFinalDate() { events.append(QStringLiteral("focus:final")); }
void RecordingView::showBookButtons()
{
    bookButtonsVisible = true;
    events.append(QStringLiteral("bookButtons:show"));
}
void RecordingView::setGaugeVisible(bool visible)
{
    gaugeVisible = visible;
    events.append(QStringLiteral("gauge:") + onOff(visible));
}
void RecordingView::setStatusVisible(bool visible)
{
    statusVisible = visible;
    events.append(QStringLiteral("status:") + onOff(visible));
}

QString buildClassicGroup(data::TDM& dm, const ComponentLists& lists, const QString& store, const QDate& start,
                          const QDate& end, int group)
{
    RecordingView view;
    ClassicPreparationRequest request;
    request.initialDateText = dateText(start);
    request.finalDateText = dateText(end);
    request.storeCnpj = store;
    request.selectedGroup = group;
    request.lists = &lists;
    request.startStockProgram = false;
    if (prepareClassicBook(dm, view, request) == ClassicPreparationOutcome::Built)
        return {};
    return view.messages.isEmpty() ? QStringLiteral("not built") : view.messages.join(u'\n');
}

} // namespace livros::classic::testing
