#pragma once
#include "report/report_data_source.h"
#include "report/report_interaction.h"
#include "report/report_model.h"

#include <QMarginsF>
#include <QString>
#include <functional>
#include <memory>

namespace livros::report {

// A report title as a file name: without the path separators that a title may hold.
QString fileNameSafeTitle(const QString& title);


// The report engine component (`rvstm1`): the settings of every run and the run itself: the
// output set-up dialog when `ssAllowSetup` is set, the pages generated with the status window
// showing, then the preview, the printer or a PDF file.
class ReportEngine {
public:
    ReportEngine();
    ~ReportEngine();
    ReportEngine(const ReportEngine&) = delete;
    ReportEngine& operator=(const ReportEngine&) = delete;

    ReportDestination DefaultDest = ReportDestination::Preview;
    TSystemSetups SystemSetups = allSystemSetups();
    bool ShowStatus = true;
    bool AllowPrintFromPreview = true;
    bool PreviewModal = true;
    bool PreviewMaximized = true;
    int PreviewWidth = 800;
    int PreviewZoom = 100;
    QString TitleSetup = QStringLiteral("Opções de saída");
    QString TitleStatus = QStringLiteral("Estatus do relatório");
    QString TitlePreview = QStringLiteral("Visualizar relatório");
    QString StatusFormat = QStringLiteral("Gerando pág.  %p");          // %p: the page
    QString PrinterStatusFormat = QStringLiteral("Imprimindo página %p");
    // The printer's units: centimetres (2.54 per inch); margins for layouts that give none.
    double UnitsFactor = 2.54;
    QMarginsF Margins = QMarginsF(0.5, 0.2, 0.5, 0.2); // left, top, right, bottom
    double Scale = 100;                                 // percent
    QString Title = QStringLiteral("Relatórios Administrativos / Financeiros"); // job and PDF title
    QString OutputFileName; // the PDF file last chosen
    // Whether the last run's output left the program: the printer accepted the job (from the
    // preview too) or the PDF file was written and verified. A preview only looked at is not.
    bool LastRunDelivered = false;
    // A further button of the preview and what it does (the window's "Emitir"); none when unset.
    QString PreviewActionText;
    std::function<void()> PreviewAction;

    // Who answers the dialogs: null (the default) shows the real ones. Not owned.
    void setInteraction(ReportInteraction* interaction) { m_interaction = interaction; }
    ReportInteraction& interaction();

    // Runs one report of a project over the connections. Returns when the output is done (the
    // preview closed), true; cancelling a dialog ends the run without output, false. Errors (a bad layout
    // reference, a file that cannot be written, a printer that fails) are thrown as ReportError.
    bool execute(const ReportProject& project, const ReportDefinition& report, const ConnectionSet& connections);

    // Prints a generated report through the printer dialog, the status window showing
    // "Imprimindo página %p"; false when the printer dialog is cancelled.
    bool print(const LaidOutReport& report, int copies = 1);

private:
    QString statusText(const QString& format, int page) const;

    ReportInteraction* m_interaction = nullptr;
    std::unique_ptr<ReportInteraction> m_dialogs; // the real dialogs, made on first use
};

} // namespace livros::report
