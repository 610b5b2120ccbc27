#pragma once
// The revised build's side of the window for tests and benchmarks: records what the build shows
// and lets a test act at a chosen moment.
#include "book/revised/revised_build_view.h"

#include <QStringList>
#include <functional>

namespace livros::testing {

class RecordingRevisedView : public revised::RevisedBuildView {
public:
    QStringList messages;
    QStringList footers;
    int products = 0; // the gauge's range: the components selected
    int previews = 0;
    // Runs when a component's name is put in the footer, before its statement runs.
    std::function<void(const QString&)> onFooter;

    void showMessage(const QString& text) override { messages << text; }
    void focusStartDate() override {}
    void focusEndDate() override {}
    void hidePeriodPanel() override {}
    void showProgressPanel(const QString&, const QString&) override {}
    void setProgressFooter(const QString& text) override
    {
        footers << text;
        if (onFooter)
            onFooter(text);
    }
    void setGaugeRange(int maximum) override { products = maximum; }
    void advanceGauge() override {}
    void processEvents() override {}
    void showRevisedBook(revised::RevisedMode) override { ++previews; }
    void afterPreview() override {}
};

} // namespace livros::testing
