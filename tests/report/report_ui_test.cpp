// The engine component with its dialogs: the set-up dialog before a run, the status window,
// the preview and printing; the project component's loading rules. Dialogs are answered either
// through a scripted interaction or, for the real ones, as the active modal widget.
#include "message_recorder.h"
#include "report/dialog_interaction.h"
#include "report/memory_data_source.h"
#include "report/output_setup_dialog.h"
#include "report/preview_dialog.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_system.h"
#include "report/rv_project.h"
#include "report/status_window.h"
#include "report_test_util.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace livros::report;
using namespace livros::report::testing;

namespace {

// Answers the next modal dialog of type T with `answer`, from the event loop the dialog runs.
// A dialog that never comes fails the test; one left open is closed so the test cannot hang.
template <typename T>
void answerModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            answer(dialog);
            return;
        }
        if (++*waited > 1000) { // 10 s
            timer->stop();
            timer->deleteLater();
            delete waited;
            ADD_FAILURE() << "the expected dialog did not open";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
        }
    });
    timer->start(10);
}

// Records what the engine asks and answers as told.
class ScriptedInteraction : public ReportInteraction {
public:
    std::optional<OutputChoice> answer;
    QString printToFile; // empty: the printer dialog is cancelled
    bool printFromPreview = false;

    QStringList calls;
    QStringList statusLines;
    PreviewSettings previewSettings;
    int previewPages = -1;
    TSystemSetups setupsSeen;
    QString printerDocName; // what the print dialog proposes as the name of "print to file"

    std::optional<OutputChoice> chooseOutput(const QString& title, const OutputChoice&, TSystemSetups setups) override
    {
        calls << QStringLiteral("setup:") + title;
        setupsSeen = setups;
        return answer;
    }
    bool choosePrinter(QPrinter& printer, TSystemSetups) override
    {
        calls << QStringLiteral("printer");
        printerDocName = printer.docName();
        if (printToFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
        return true;
    }
    void showStatus(const QString& title, const QString& text) override { statusLines << title + QStringLiteral(": ") + text; }
    void hideStatus() override { calls << QStringLiteral("hideStatus"); }
    void preview(const LaidOutReport& report, const PreviewSettings& settings, const std::function<void()>& print) override
    {
        calls << QStringLiteral("preview");
        previewSettings = settings;
        previewPages = report.pageCount();
        if (printFromPreview)
            print();
    }
};

class EngineRun : public ::testing::Test {
protected:
    EngineRun()
        : lines({QStringLiteral("PRODUTO"), QStringLiteral("DATA"), QStringLiteral("OPERACAO"), QStringLiteral("QUANTIDADE"),
                 QStringLiteral("SALDO"), QStringLiteral("INICIAL"), QStringLiteral("HISTORICO")}),
          company({QStringLiteral("FIRMA"), QStringLiteral("CNPJ"), QStringLiteral("CIDADE"), QStringLiteral("ESTADO"),
                   QStringLiteral("FARMACEUTICO")})
    {
        company.addRow({QStringLiteral("Farmácia Teste"), QStringLiteral("12345678000195")});
        for (const char* product : {"Alprazolam", "Bromazepam"})
            lines.addRow({QString::fromLatin1(product), QDate(2024, 2, 1), QStringLiteral("I"), 0, 5.0, 5.0, QStringLiteral("Estoque")});
        connections.add(QStringLiteral("Linhas"), &lines);
        connections.add(QStringLiteral("Empresa"), &company);
        project.Engine = &engine;
        project.Connections = &connections;
        project.setProjectFile(testDataFile(QStringLiteral("pequeno.rav")));
    }

    MemoryDataSource lines;
    MemoryDataSource company;
    ConnectionSet connections;
    ReportEngine engine;
    ReportProjectFile project;
    QTemporaryDir dir;
};

TEST_F(EngineRun, TheEngineStartsWithTheSettingsOfTheReportModule)
{
    EXPECT_EQ(engine.DefaultDest, ReportDestination::Preview);
    EXPECT_EQ(engine.SystemSetups, allSystemSetups());
    EXPECT_TRUE(engine.SystemSetups.testFlag(ssAllowSetup));
    EXPECT_EQ(engine.TitleSetup, QStringLiteral("Opções de saída"));
    EXPECT_EQ(engine.TitleStatus, QStringLiteral("Estatus do relatório"));
    EXPECT_EQ(engine.TitlePreview, QStringLiteral("Visualizar relatório"));
    EXPECT_EQ(engine.StatusFormat, QStringLiteral("Gerando pág.  %p"));
    EXPECT_EQ(engine.PrinterStatusFormat, QStringLiteral("Imprimindo página %p"));
    EXPECT_EQ(engine.Title, QStringLiteral("Relatórios Administrativos / Financeiros"));
    EXPECT_EQ(engine.Margins, QMarginsF(0.5, 0.2, 0.5, 0.2));
    EXPECT_TRUE(engine.PreviewModal && engine.PreviewMaximized && engine.AllowPrintFromPreview && engine.ShowStatus);
    EXPECT_EQ(engine.PreviewZoom, 100);
    EXPECT_EQ(engine.PreviewWidth, 800);
}

TEST_F(EngineRun, TheSetupDialogComesFirstAndAFileChoiceWritesThePdf)
{
    ScriptedInteraction script;
    const QString pdf = dir.filePath(QStringLiteral("saida.pdf"));
    script.answer = OutputChoice{ReportDestination::File, pdf, 1};
    engine.setInteraction(&script);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(script.calls, QStringList({QStringLiteral("setup:Opções de saída"), QStringLiteral("hideStatus")}));
    EXPECT_EQ(script.statusLines, QStringList({QStringLiteral("Estatus do relatório: Gerando pág.  1"),
                                               QStringLiteral("Estatus do relatório: Gerando pág.  2")}));
    EXPECT_EQ(pdfPages(pdf).size(), 2);
    EXPECT_EQ(engine.OutputFileName, pdf);
    EXPECT_FALSE(lines.active());
}

TEST_F(EngineRun, CancellingTheSetupEndsTheRunWithoutOutput)
{
    ScriptedInteraction script; // answers nothing: cancelled
    engine.setInteraction(&script);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(script.calls, QStringList({QStringLiteral("setup:Opções de saída")}));
    EXPECT_TRUE(script.statusLines.isEmpty());
    EXPECT_EQ(lines.openCount(), 0);
}

TEST_F(EngineRun, WithoutSetupThePreviewOpensAtOnceWithItsSettings)
{
    ScriptedInteraction script;
    engine.setInteraction(&script);
    engine.SystemSetups &= ~TSystemSetups(ssAllowSetup);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(script.calls, QStringList({QStringLiteral("hideStatus"), QStringLiteral("preview")}));
    EXPECT_EQ(script.previewPages, 2);
    EXPECT_EQ(script.previewSettings.title, QStringLiteral("Visualizar relatório"));
    EXPECT_TRUE(script.previewSettings.modal);
    EXPECT_TRUE(script.previewSettings.maximized);
    EXPECT_EQ(script.previewSettings.zoom, 100);
    EXPECT_TRUE(script.previewSettings.allowPrint);
}

TEST_F(EngineRun, PrintingFromThePreviewReportsEveryPage)
{
    ScriptedInteraction script;
    script.printFromPreview = true;
    script.printToFile = dir.filePath(QStringLiteral("impresso.pdf"));
    engine.setInteraction(&script);
    engine.SystemSetups &= ~TSystemSetups(ssAllowSetup);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_TRUE(script.statusLines.contains(QStringLiteral("Estatus do relatório: Imprimindo página 1")));
    EXPECT_TRUE(script.statusLines.contains(QStringLiteral("Estatus do relatório: Imprimindo página 2")));
    const QStringList pages = pdfPages(script.printToFile);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Página 2 de 2")));
}

TEST_F(EngineRun, AFailedPrintFromThePreviewIsShownAndThePreviewGoesOn)
{
    livros::testing::MessageRecorder messages;
    ScriptedInteraction script;
    script.printFromPreview = true;
    script.printToFile = QStringLiteral("/proc/nao-imprime.pdf"); // no file can be made there
    engine.setInteraction(&script);
    engine.SystemSetups &= ~TSystemSetups(ssAllowSetup);
    EXPECT_NO_THROW(project.RunNamedReport(QStringLiteral("LivroContr")));
    EXPECT_EQ(messages.errors, QStringList({QStringLiteral("Não foi possível imprimir em \"/proc/nao-imprime.pdf\".")}));
    EXPECT_EQ(script.calls, QStringList({QStringLiteral("hideStatus"), QStringLiteral("preview"), QStringLiteral("printer")}));
}

TEST_F(EngineRun, ACancelledPrinterDialogPrintsNothing)
{
    ScriptedInteraction script;
    script.answer = OutputChoice{ReportDestination::Printer, QString(), 2};
    engine.setInteraction(&script);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(script.calls.last(), QStringLiteral("printer"));
    EXPECT_FALSE(script.statusLines.join(QString()).contains(QStringLiteral("Imprimindo")));
    // The job title "... / ..." would propose a file in a folder that does not exist.
    EXPECT_EQ(script.printerDocName, QStringLiteral("Relatórios Administrativos - Financeiros"));
}

TEST_F(EngineRun, AnUnknownReportNameAsksNothingAndGivesNoOutput)
{
    ScriptedInteraction script;
    engine.setInteraction(&script);
    project.RunNamedReport(QStringLiteral("RelatorioQueNaoExiste"));
    EXPECT_TRUE(script.calls.isEmpty());
    EXPECT_EQ(lines.openCount(), 0);
    EXPECT_TRUE(project.isOpen());
}

TEST_F(EngineRun, TheProjectIsLoadedOnFirstUseOnly)
{
    ScriptedInteraction script;
    engine.setInteraction(&script);
    project.RunNamedReport(QStringLiteral("LivroContr"));
    ASSERT_TRUE(project.isOpen());
    // A later project file is not read: the loaded project stays for the process.
    project.setProjectFile(dir.filePath(QStringLiteral("outro.rav")));
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(script.calls.count(QStringLiteral("setup:Opções de saída")), 2);
}

TEST_F(EngineRun, AMissingProjectFileGivesTheExactMessageAndIsTriedAgainNextTime)
{
    ScriptedInteraction script;
    engine.setInteraction(&script);
    ReportProjectFile missing;
    missing.Engine = &engine;
    missing.Connections = &connections;
    // Written as the program writes it: program folder, then "rpt\RelLivros" without extension.
    missing.setProjectFile(dir.path() + QStringLiteral("/rpt\\RelLivros"));
    EXPECT_EQ(missing.projectFile(), dir.path() + QStringLiteral("/rpt\\RelLivros.rav"));
    try {
        missing.RunNamedReport(QStringLiteral("LivroContr"));
        FAIL() << "no error";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("O projeto de relatório a seguir não existe:\n\"%1\"")
                                   .arg(dir.path() + QStringLiteral("/rpt/RelLivros.rav")));
    }
    EXPECT_FALSE(missing.isOpen());
    // The file put in place later, with other letter case: found and run.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("RPT")));
    ASSERT_TRUE(QFile::copy(testDataFile(QStringLiteral("pequeno.rav")), dir.filePath(QStringLiteral("RPT/rellivros.rav"))));
    missing.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_TRUE(missing.isOpen());
    EXPECT_EQ(script.calls.count(QStringLiteral("setup:Opções de saída")), 1);
}

// The real dialogs, answered as the active modal widget.

TEST_F(EngineRun, CancelInTheRealSetupDialogGivesNoOutput)
{
    QString title;
    bool allOffered = false;
    answerModal<OutputSetupDialog>([&](OutputSetupDialog* dialog) {
        title = dialog->windowTitle();
        allOffered = dialog->printerOption()->isEnabled() && dialog->previewOption()->isEnabled() && dialog->fileOption()->isEnabled();
        dialog->fileOption()->setChecked(true);
        dialog->fileNameEdit()->setText(dir.filePath(QStringLiteral("nao.pdf")));
        dialog->reject();
    });
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(title, QStringLiteral("Opções de saída"));
    EXPECT_TRUE(allOffered);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nao.pdf"))));
    EXPECT_EQ(lines.openCount(), 0);
}

TEST_F(EngineRun, TheRealSetupDialogWritesTheChosenFileWithTheStatusWindowShowingPages)
{
    const QString pdf = dir.filePath(QStringLiteral("escolhido"));
    answerModal<OutputSetupDialog>([&](OutputSetupDialog* dialog) {
        dialog->fileOption()->setChecked(true);
        dialog->fileNameEdit()->setText(pdf);
        dialog->okButton()->click();
    });
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(pdfPages(pdf + QStringLiteral(".pdf")).size(), 2);
    auto* dialogs = dynamic_cast<DialogInteraction*>(&engine.interaction());
    ASSERT_TRUE(dialogs && dialogs->statusWindow());
    EXPECT_EQ(dialogs->statusWindow()->windowTitle(), QStringLiteral("Estatus do relatório"));
    EXPECT_EQ(dialogs->statusWindow()->statusText(), QStringLiteral("Gerando pág.  2"));
    EXPECT_FALSE(dialogs->statusWindow()->isVisible());
    EXPECT_FALSE(dialogs->statusWindow()->isModal());
}

TEST_F(EngineRun, TheRealPreviewIsModalMaximizedAtFullSizeAndPrints)
{
    engine.SystemSetups &= ~TSystemSetups(ssAllowSetup);
    const QString printed = dir.filePath(QStringLiteral("da_previa.pdf"));
    QString title, firstLabel, secondLabel;
    bool modal = false, maximized = false, inked = false;
    int zoom = 0;
    answerModal<ReportPreviewDialog>([&](ReportPreviewDialog* preview) {
        title = preview->windowTitle();
        modal = preview->isModal();
        maximized = preview->windowState().testFlag(Qt::WindowMaximized);
        zoom = preview->zoom();
        firstLabel = preview->pageLabelText();
        preview->showPage(1);
        secondLabel = preview->pageLabelText();
        const QImage image = preview->pageImage();
        // At 100% the page has its real size: A4 is 21 cm wide.
        EXPECT_NEAR(image.width(), 21.0 / 2.54 * preview->logicalDpiX(), 2);
        for (int y = 0; y < image.height() && !inked; y += 3)
            for (int x = 0; x < image.width() && !inked; x += 3)
                inked = qGray(image.pixel(x, y)) < 100;
        answerModal<QPrintDialog>([&](QPrintDialog* dialog) {
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(printed);
            dialog->done(QDialog::Accepted); // accepted as set here, not as the dialog's fields read

        });
        preview->printButton()->click();
        preview->accept();
    });
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(title, QStringLiteral("Visualizar relatório"));
    EXPECT_TRUE(modal);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(zoom, 100);
    EXPECT_EQ(firstLabel, QStringLiteral("Página 1 de 2"));
    EXPECT_EQ(secondLabel, QStringLiteral("Página 2 de 2"));
    EXPECT_TRUE(inked);
    const QStringList pages = pdfPages(printed);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Produto: Alprazolam")));
}

TEST_F(EngineRun, ThePreviewOffersTheEnginesFurtherActionOnlyWhileItIsSet)
{
    engine.SystemSetups &= ~TSystemSetups(ssAllowSetup);
    int issued = 0;
    bool shown = true;
    engine.PreviewActionText = QStringLiteral("&Emitir");
    engine.PreviewAction = [&] { ++issued; };
    answerModal<ReportPreviewDialog>([&](ReportPreviewDialog* preview) {
        EXPECT_EQ(preview->actionButton()->text(), QStringLiteral("&Emitir"));
        preview->actionButton()->click();
        preview->accept();
    });
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(issued, 1);

    engine.PreviewAction = nullptr;
    answerModal<ReportPreviewDialog>([&](ReportPreviewDialog* preview) {
        shown = !preview->actionButton()->isHidden();
        preview->accept();
    });
    project.RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_FALSE(shown);
}

TEST(OutputSetupDialogTest, OffersOnlyTheAllowedDestinationsAndNeedsAFileName)
{
    TSystemSetups setups = allSystemSetups() & ~TSystemSetups(ssAllowDestPrinter);
    OutputSetupDialog dialog(QStringLiteral("Opções de saída"), OutputChoice{ReportDestination::Printer, QString(), 1}, setups);
    EXPECT_FALSE(dialog.printerOption()->isEnabled());
    EXPECT_TRUE(dialog.previewOption()->isChecked()); // the proposed printer is not allowed
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    dialog.fileOption()->setChecked(true);
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.fileNameEdit()->setText(QStringLiteral("/tmp/livro"));
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    EXPECT_EQ(dialog.choice().destination, ReportDestination::File);
    EXPECT_EQ(dialog.choice().fileName, QStringLiteral("/tmp/livro.pdf"));
    EXPECT_FALSE(dialog.copiesBox()->isEnabled());
}

TEST(OutputSetupDialogTest, CopiesOnlyForThePrinterWhenAllowed)
{
    OutputSetupDialog allowed(QStringLiteral("x"), OutputChoice{ReportDestination::Printer, QString(), 3}, allSystemSetups());
    EXPECT_TRUE(allowed.copiesBox()->isEnabled());
    EXPECT_EQ(allowed.choice().copies, 3);
    OutputSetupDialog refused(QStringLiteral("x"), OutputChoice{ReportDestination::Printer, QString(), 1},
                              allSystemSetups() & ~TSystemSetups(ssAllowCopies));
    EXPECT_FALSE(refused.copiesBox()->isEnabled());
}

} // namespace
