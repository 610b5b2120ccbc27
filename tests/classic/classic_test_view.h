#pragma once
#include "book/classic/classic_preparation.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <ostream>

#include "qt_test_print.h"

namespace livros::classic::testing {

// A window stand-in that records what the preparation and the walk do to it.
class RecordingView : public ClassicPreparationView {
public:
    QStringList listing;
    QStringList messages;
    // Every state change in order, e.g. "panel:hide", "gauge:max 3", "status:Morfina - 01/05/24".
    QStringList events;
    QStringList statusTexts;
    QList<int> gaugePositions;
    int gaugeMaximum = -1;
    int processEventsCalls = 0;
    bool listingVisible = false;
    bool closeButtonVisible = true;
    bool periodPanelVisible = true;
    bool bookButtonsVisible = false;
    bool gaugeVisible = false;
    bool statusVisible = false;
    std::function<void()> onProcessEvents;

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
};

// Builds the store's classic book of one list group for the period as "Preparação" does, without
// the stock program. Empty when it was built; otherwise the messages the window would have shown.
QString buildClassicGroup(data::TDM& dm, const ComponentLists& lists, const QString& store, const QDate& start,
                          const QDate& end, int group);

} // namespace livros::classic::testing
