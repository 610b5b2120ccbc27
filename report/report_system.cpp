#include "report/report_system.h"

#include "platform/user_messages.h"
#include "report/dialog_interaction.h"
#include "report/pdf_export.h"
#include "report/report_error.h"
#include "report/report_generator.h"
#include "report/report_painter.h"

#include <QPrinter>

namespace livros::report {
namespace {

// Hides the status window however the run ends.
class StatusScope {
public:
    explicit StatusScope(ReportInteraction& interaction) : m_interaction(interaction) {}
    ~StatusScope() { hide(); }
    void show(const QString& title, const QString& text)
    {
        m_shown = true;
        m_interaction.showStatus(title, text);
    }
    void hide()
    {
        if (m_shown)
            m_interaction.hideStatus();
        m_shown = false;
    }

private:
    ReportInteraction& m_interaction;
    bool m_shown = false;
};

} // namespace

QString fileNameSafeTitle(const QString& title)
{
    QString name = title;
    name.replace(QLatin1String(" / "), QLatin1String(" - "));
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char('\\'), QLatin1Char('-'));
    return name;
}

ReportEngine::ReportEngine() = default;
ReportEngine::~ReportEngine() = default;

ReportInteraction& ReportEngine::interaction()
{
    if (m_interaction)
        return *m_interaction;
    if (!m_dialogs)
        m_dialogs = std::make_unique<DialogInteraction>();
    return *m_dialogs;
}

QString ReportEngine::statusText(const QString& format, int page) const
{
    QString text = format;
    return text.replace(QStringLiteral("%p"), QString::number(page));
}

bool ReportEngine::execute(const ReportProject& project, const ReportDefinition& report, const ConnectionSet& connections)
{
    LastRunDelivered = false;
    OutputChoice choice;
    choice.destination = DefaultDest;
    choice.fileName = OutputFileName;
    if (SystemSetups.testFlag(ssAllowSetup)) {
        const std::optional<OutputChoice> chosen = interaction().chooseOutput(TitleSetup, choice, SystemSetups);
        if (!chosen)
            return false;
        choice = *chosen;
    }

    LaidOutReport document;
    {
        StatusScope status(interaction());
        GenerateOptions options;
        options.defaultMargins = Margins;
        if (ShowStatus)
            options.onPage = [&](int page) { status.show(TitleStatus, statusText(StatusFormat, page)); };
        document = generateReport(project, report, connections, options);
    }

    switch (choice.destination) {
    case ReportDestination::Preview: {
        PreviewSettings settings;
        settings.title = TitlePreview;
        settings.modal = PreviewModal;
        settings.maximized = PreviewMaximized;
        settings.formWidth = PreviewWidth;
        settings.zoom = PreviewZoom;
        settings.allowPrint = AllowPrintFromPreview;
        settings.actionText = PreviewActionText;
        settings.action = PreviewAction;
        // The preview's print button runs inside the preview's event loop: a failure is shown
        // there and the preview stays open, instead of unwinding through the window system.
        interaction().preview(document, settings, [&] {
            try {
                if (print(document))
                    LastRunDelivered = true;
            } catch (const std::exception& e) {
                const auto* reportError = dynamic_cast<const ReportError*>(&e);
                showStandardError(reportError ? reportError->message() : QString::fromLocal8Bit(e.what()));
            }
        });
        break;
    }
    case ReportDestination::Printer:
        LastRunDelivered = print(document, choice.copies);
        break;
    case ReportDestination::File:
        writePdfFile(document, choice.fileName, Title, {}, Scale / 100.0);
        OutputFileName = choice.fileName;
        LastRunDelivered = true;
        break;
    }
    return true;
}

bool ReportEngine::print(const LaidOutReport& report, int copies)
{
    QPrinter printer(QPrinter::HighResolution);
    // The print dialog proposes the document name as the file name of "print to file": a "/" in
    // the title would name a folder that does not exist.
    printer.setDocName(fileNameSafeTitle(Title));
    printer.setFullPage(true); // the layout carries its own margins
    printer.setPageLayout(report.pageLayout);
    printer.setCopyCount(std::max(1, copies));
    if (!interaction().choosePrinter(printer, SystemSetups))
        return false;
    StatusScope status(interaction());
    const PageCallback onPage = [&](int page) {
        if (ShowStatus)
            status.show(TitleStatus, statusText(PrinterStatusFormat, page));
    };
    const bool range = printer.printRange() == QPrinter::PageRange;
    if (!paintDocument(report, printer, onPage, Scale / 100.0, range ? printer.fromPage() : 1, range ? printer.toPage() : 0)) {
        const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        throw ReportError(QStringLiteral("Não foi possível imprimir em \"%1\".").arg(name));
    }
    return true;
}

} // namespace livros::report
