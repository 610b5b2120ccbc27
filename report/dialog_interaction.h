#pragma once
#include "report/report_interaction.h"

#include <memory>

namespace livros::report {

class ReportStatusWindow;

// The real dialogs of a run, on the widgets of the application. Each modal one is the active
// modal widget while it waits (QApplication::activeModalWidget), which is how a test answers it.
class DialogInteraction : public ReportInteraction {
public:
    DialogInteraction();
    ~DialogInteraction() override;

    std::optional<OutputChoice> chooseOutput(const QString& title, const OutputChoice& proposed, TSystemSetups setups) override;
    bool choosePrinter(QPrinter& printer, TSystemSetups setups) override;
    void showStatus(const QString& title, const QString& text) override;
    void hideStatus() override;
    void preview(const LaidOutReport& report, const PreviewSettings& settings, const std::function<void()>& print) override;

    ReportStatusWindow* statusWindow() const { return m_status.get(); }

private:
    std::unique_ptr<ReportStatusWindow> m_status;
};

} // namespace livros::report
