#pragma once
#include "app/form_livros.h"
#include "app/run_mode.h"
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "message_recorder.h"
#include "report/report_interaction.h"
#include "report/report_module.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "qt_test_print.h"

namespace livros::report {
class ReportStatusWindow;
}

namespace livros::app::testing {

// One installation for the whole test program, made by the first test that needs it.
livros::testing::EmbeddedSuite& sharedSuite();

// Answers a report run as a person would: the output set-up dialog picks the preview, the status
// window is a real (non-modal) window of the program, the preview is recorded and closed.
class RecordingInteraction : public report::ReportInteraction {
public:
    RecordingInteraction();
    ~RecordingInteraction() override;

    std::optional<report::OutputChoice> chooseOutput(const QString& title, const report::OutputChoice& proposed,
                                                     report::TSystemSetups setups) override;
    bool choosePrinter(QPrinter& printer, report::TSystemSetups setups) override;
    void showStatus(const QString& title, const QString& text) override;
    void hideStatus() override;
    void preview(const report::LaidOutReport& report, const report::PreviewSettings& settings,
                 const std::function<void()>& print) override;

    int setupDialogs = 0;
    int previews = 0;
    QString previewText; // every text of the last preview's pages, one line each
    QStringList statusTexts;
    // Runs while the preview is open, as its modal message loop would.
    std::function<void()> whilePreviewOpen;

private:
    std::unique_ptr<report::ReportStatusWindow> m_status;
};

// A fresh data module, message recorder and (on demand) window for every test.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    livros::testing::EmbeddedSuite& suite() { return sharedSuite(); }

    // Creates the window for a run mode and shows it; its first activation runs.
    TFormLivros& openWindow(RunMode mode);
    // Lets the events posted so far run (a queued activation, for one).
    static void settle();

    // The report module with recorded dialogs, and the project files in the program folder.
    RecordingInteraction& useReports();

    void addStore(const QString& loja, const QString& laboratorio = QStringLiteral("LAB1"));
    void setCompanyCnpj(const QString& cnpj);
    // ISO dates or "NULL".
    void setPeriod(const QString& initial, const QString& final);
    QStringList periodRows(); // "DATAINICIAL|DATAFINAL"

    // What the window shows: "closed", "blank", "store choice", "period entry", "listing view",
    // "book choice" (every book control shown and usable), or "other".
    QString screenState();
    bool bookControlsHiddenAndDisabled();

    template <typename W = QWidget>
    W* control(const char* name)
    {
        W* widget = form->findChild<W*>(QLatin1String(name));
        if (!widget)
            ADD_FAILURE() << "no control named " << name;
        return widget;
    }

    QString markerPath() const;
    void createMarker();

    std::unique_ptr<data::TDM> dm;
    std::unique_ptr<livros::testing::MessageRecorder> messages;
    std::unique_ptr<TFormLivros> form;
    std::unique_ptr<RecordingInteraction> interaction;
    std::unique_ptr<report::TRM> reports;
};

} // namespace livros::app::testing
