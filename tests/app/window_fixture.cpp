#include "window_fixture.h"

#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/pie_gauge.h"
#include "platform/suite_paths.h"
#include "report/report_module.h"
#include "report/status_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace livros::app::testing {

namespace {
livros::testing::EmbeddedSuite* g_suite = nullptr;

// Removes the installation after the last test.
class SuiteEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete g_suite;
        g_suite = nullptr;
    }
};
[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new SuiteEnvironment);
} // namespace

livros::testing::EmbeddedSuite& sharedSuite()
{
    if (!g_suite)
        g_suite = new livros::testing::EmbeddedSuite;
    return *g_suite;
}

RecordingInteraction::RecordingInteraction() = default;
RecordingInteraction::~RecordingInteraction() = default;

std::optional<report::OutputChoice> RecordingInteraction::chooseOutput(const QString&, const report::OutputChoice&,
                                                                       report::TSystemSetups)
{
    ++setupDialogs;
    report::OutputChoice choice;
    choice.destination = report::ReportDestination::Preview;
    return choice;
}

bool RecordingInteraction::choosePrinter(QPrinter&, report::TSystemSetups) { return false; }

void RecordingInteraction::showStatus(const QString& title, const QString& text)
{
    if (!m_status)
        m_status = std::make_unique<report::ReportStatusWindow>();
    m_status->setStatus(title, text);
    m_status->show();
    statusTexts << text;
}

void RecordingInteraction::hideStatus()
{
    if (m_status)
        m_status->hide();
}

void RecordingInteraction::preview(const report::LaidOutReport& report, const report::PreviewSettings&,
                                   const std::function<void()>&)
{
    ++previews;
    QStringList lines;
    for (const report::LaidOutPage& page : report.pages)
        for (const report::PageElement& element : page.elements)
            lines << element.lines;
    previewText = lines.join(u'\n');
    if (whilePreviewOpen)
        whilePreviewOpen();
}

void WindowTest::SetUp()
{
    QApplication::setQuitOnLastWindowClosed(false);
    suite().clearAllTables();
    setProgramFolder(suite().folder());
    dm = suite().makeDataModule();
    messages = std::make_unique<livros::testing::MessageRecorder>();
}

void WindowTest::TearDown()
{
    form.reset();
    settle();
    if (report::RM == reports.get())
        report::RM = nullptr;
    reports.reset();
    interaction.reset();
    dm.reset();
    messages.reset();
    QFile::remove(markerPath());
}

TFormLivros& WindowTest::openWindow(RunMode mode)
{
    form = std::make_unique<TFormLivros>(*dm, mode);
    form->show();
    form->activateWindow();
    // On a real display the window is activated a moment later (a view-only run closes it first).
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->isActiveWindow() || !form->isVisible(); }, 5000));
    settle();
    return *form;
}

void WindowTest::settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

RecordingInteraction& WindowTest::useReports()
{
    const QString rpt = suite().folder() + QStringLiteral("rpt");
    QDir().mkpath(rpt);
    for (const char* name : {"RelLivros.rav", "RelLivrosRev.rav", "RelPF.rav", "Termos.rav", "Conferencia.rav", "Formularios.rav"}) {
        const QString target = rpt + u'/' + QLatin1String(name);
        if (!QFile::exists(target))
            QFile::copy(livros::testing::sourceDir() + QStringLiteral("/rpt/") + QLatin1String(name), target);
    }
    interaction = std::make_unique<RecordingInteraction>();
    reports = std::make_unique<report::TRM>(*dm);
    reports->rvstm1.setInteraction(interaction.get());
    report::RM = reports.get();
    return *interaction;
}

void WindowTest::addStore(const QString& loja, const QString& laboratorio)
{
    suite().execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', '%2')").arg(loja, laboratorio));
}

void WindowTest::setCompanyCnpj(const QString& cnpj)
{
    suite().execMain(QStringLiteral("delete from DADOSGER"));
    suite().execMain(QStringLiteral("insert into DADOSGER (CNPJ) values (%1)")
                         .arg(cnpj == QLatin1String("NULL") ? cnpj : u'\'' + cnpj + u'\''));
}

void WindowTest::setPeriod(const QString& initial, const QString& final)
{
    const auto literal = [](const QString& v) { return v == QLatin1String("NULL") ? v : u'\'' + v + u'\''; };
    suite().execInterface(QStringLiteral("delete from PERIODO"));
    suite().execInterface(
        QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL) values (%1, %2)").arg(literal(initial), literal(final)));
}

QStringList WindowTest::periodRows() { return suite().rowsInterface(QStringLiteral("select DATAINICIAL, DATAFINAL from PERIODO")); }

QString WindowTest::screenState()
{
    if (!form->isVisible())
        return QStringLiteral("closed");
    if (!form->PainelLivro->isVisible())
        return QStringLiteral("blank");
    if (form->PainelCNPJ->isVisible())
        return QStringLiteral("store choice");
    if (form->PainelPeriodo5->isVisible())
        return QStringLiteral("period entry");
    if (form->Memo1->isVisible())
        return QStringLiteral("listing view");
    for (QWidget* w : std::initializer_list<QWidget*>{form->BotEntorpecentes, form->BotPsicotropicos, form->BotControleEspecial,
                                                       form->BotImunossupressores, form->BitBtn39, form->BotSC, form->Label3,
                                                       form->Label4, form->Label5, form->Label6, form->Titulo}) {
        if (!w->isVisible() || !w->isEnabled())
            return QStringLiteral("other");
    }
    return QStringLiteral("book choice");
}

bool WindowTest::bookControlsHiddenAndDisabled()
{
    for (QWidget* w : std::initializer_list<QWidget*>{form->BotEntorpecentes, form->BotPsicotropicos, form->BotControleEspecial,
                                                       form->BotImunossupressores, form->BitBtn39, form->BotSC}) {
        if (w->isVisible() || w->isEnabled())
            return false;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{form->Label3, form->Label4, form->Label5, form->Label6, form->Bevel1,
                                                       form->Bevel2, form->Bevel3, form->Bevel4, form->BitBtn1, form->BitBtn2,
                                                       form->BitBtn3, form->BitBtn5, form->BitBtn6, form->BitBtn7, form->BitBtn8,
                                                       form->BitBtn10}) {
        if (w->isVisible())
            return false;
    }
    return true;
}

QString WindowTest::markerPath() const { return mapSuitePath(QStringLiteral("C:\\QUILMARA\\Em_Uso.txt")); }

void WindowTest::createMarker()
{
    QFile marker(suite().folder() + QStringLiteral("Em_Uso.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("em uso\r\n");
}

} // namespace livros::app::testing
