#pragma once
#include "report/laid_out_report.h"

#include <QFlags>
#include <QString>
#include <functional>
#include <optional>

class QPrinter;

namespace livros::report {

// The permissions of the engine's `SystemSetups`; the first puts the output set-up dialog before
// a run, the others say what that dialog and the printer dialog may offer.
enum TSystemSetup : unsigned {
    ssAllowSetup = 0x001,
    ssAllowCopies = 0x002,
    ssAllowCollate = 0x004,
    ssAllowDuplex = 0x008,
    ssAllowDestPreview = 0x010,
    ssAllowDestPrinter = 0x020,
    ssAllowDestFile = 0x040,
    ssAllowPrinterSetup = 0x080,
    ssAllowPreviewSetup = 0x100,
};
Q_DECLARE_FLAGS(TSystemSetups, TSystemSetup)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSystemSetups)

inline TSystemSetups allSystemSetups()
{
    return TSystemSetups(ssAllowSetup | ssAllowCopies | ssAllowCollate | ssAllowDuplex | ssAllowDestPreview | ssAllowDestPrinter
                         | ssAllowDestFile | ssAllowPrinterSetup | ssAllowPreviewSetup);
}

enum class ReportDestination { Printer, Preview, File };

struct OutputChoice {
    ReportDestination destination = ReportDestination::Preview;
    QString fileName; // the PDF file, for ReportDestination::File
    int copies = 1;
};

struct PreviewSettings {
    QString title;
    bool modal = true;
    bool maximized = true;
    int formWidth = 800;
    int zoom = 100;          // percent
    bool allowPrint = true;  // the preview's print button
    // A further button of the preview ("Emitir"), shown when the action is set.
    QString actionText;
    std::function<void()> action;
};

// Everything of a run that waits for the user: the output set-up dialog, the printer dialog, the
// status window and the preview. The engine shows the real dialogs unless it is given another
// implementation, which is how the command-line tool and the tests answer them without a person.
class ReportInteraction {
public:
    virtual ~ReportInteraction() = default;

    // The output set-up dialog; nullopt when cancelled (the run ends without output).
    virtual std::optional<OutputChoice> chooseOutput(const QString& title, const OutputChoice& proposed,
                                                     TSystemSetups setups) = 0;
    // The printer dialog for the given printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer, TSystemSetups setups) = 0;
    // The status window, shown with a new line for every page generated or printed.
    virtual void showStatus(const QString& title, const QString& text) = 0;
    virtual void hideStatus() = 0;
    // The preview; returns when it is closed. `print` prints the report (the preview's button).
    virtual void preview(const LaidOutReport& report, const PreviewSettings& settings,
                         const std::function<void()>& print) = 0;
};

} // namespace livros::report
