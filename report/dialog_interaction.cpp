#include "report/dialog_interaction.h"

#include "report/output_setup_dialog.h"
#include "report/preview_dialog.h"
#include "report/status_window.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace livros::report {

DialogInteraction::DialogInteraction() = default;
DialogInteraction::~DialogInteraction() = default;

std::optional<OutputChoice> DialogInteraction::chooseOutput(const QString& title, const OutputChoice& proposed,
                                                            TSystemSetups setups)
{
    OutputSetupDialog dialog(title, proposed, setups, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

bool DialogInteraction::choosePrinter(QPrinter& printer, TSystemSetups setups)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange;
    if (setups.testFlag(ssAllowCollate))
        options |= QAbstractPrintDialog::PrintCollateCopies;
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

void DialogInteraction::showStatus(const QString& title, const QString& text)
{
    if (!m_status)
        m_status = std::make_unique<ReportStatusWindow>();
    m_status->setStatus(title, text);
}

void DialogInteraction::hideStatus()
{
    if (m_status)
        m_status->hide();
}

void DialogInteraction::preview(const LaidOutReport& report, const PreviewSettings& settings, const std::function<void()>& print)
{
    ReportPreviewDialog dialog(report, settings, print, QApplication::activeWindow());
    if (settings.modal) {
        dialog.exec();
    } else {
        // A preview that is not modal still keeps the report until the user closes it.
        dialog.show();
        QEventLoop loop;
        QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace livros::report
