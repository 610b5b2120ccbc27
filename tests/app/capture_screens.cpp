// livros-screens <folder>: drives the main window over a fresh test installation into each of its
// screen states and saves a picture of each (QWidget::grab) as a PNG in the folder. Run by
// scripts/screenshots.sh under a virtual X display.
#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/pie_gauge.h"
#include "firebird_fixture.h"
#include "message_recorder.h"
#include "report/report_module.h"
#include "tests/classic/classic_test_data.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace livros;
using namespace livros::app;

namespace {

// Report runs go straight through: no set-up dialog, no preview kept open.
class NoDialogs : public report::ReportInteraction {
public:
    std::optional<report::OutputChoice> chooseOutput(const QString&, const report::OutputChoice& proposed,
                                                     report::TSystemSetups) override
    {
        return proposed;
    }
    bool choosePrinter(QPrinter&, report::TSystemSetups) override { return false; }
    void showStatus(const QString&, const QString&) override {}
    void hideStatus() override {}
    void preview(const report::LaidOutReport&, const report::PreviewSettings&, const std::function<void()>&) override {}
};

class Capture {
public:
    explicit Capture(const QString& folder) : m_folder(folder) {}

    void save(QWidget& window, const QString& name, bool settleFirst = true)
    {
        if (settleFirst)
            settle();
        const QString file = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (!window.grab().save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        else
            std::printf("%s\n", qPrintable(file));
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(20);
        }
    }

    // Saves a picture the first time `ready` holds while a long operation lets the window repaint.
    void saveDuring(QWidget& window, const QString& name, std::function<bool()> ready, const std::function<void()>& operation)
    {
        bool saved = false;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!saved && ready()) {
                saved = true;
                const QString file = QDir(m_folder).filePath(name + QStringLiteral(".png"));
                window.grab().save(file);
                std::printf("%s\n", qPrintable(file));
            }
        });
        watch.start();
        operation();
        watch.stop();
    }

private:
    QString m_folder;
};

void fillSuite(testing::EmbeddedSuite& suite, bool severalStores)
{
    suite.clearAllTables();
    classic::testing::TestData data{suite};
    suite.execMain(QStringLiteral("insert into DADOSGER (CNPJ) values ('%1')").arg(classic::testing::kStore));
    suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB1')").arg(classic::testing::kStore));
    if (severalStores)
        suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB2')")
                           .arg(classic::testing::kOtherStore));
    suite.execInterface(QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL) values ('2024-05-01', '2024-05-31')"));
    const char* names[] = {"Morfina", "Metadona", "Oxicodona", "Fentanila", "Petidina", "Codeína"};
    for (int i = 0; i < 6; ++i) {
        const QString code = QStringLiteral("P%1").arg(i + 1);
        data.component(code, QString::fromUtf8(names[i]), QStringLiteral("G"), i % 2 ? QStringLiteral("A2") : QStringLiteral("A1"),
                       QString::fromUtf8(names[i]).toUpper());
        data.component(QStringLiteral("R%1").arg(i + 1), QString::fromUtf8(names[i]) + QStringLiteral(" 10 mg"),
                       QStringLiteral("CX"), QStringLiteral("A1"), QString(), QStringLiteral("REV"));
        data.inventory(QStringLiteral("2024-05-01"), code, 100 + i, QStringLiteral("G"));
        for (int day = 2; day <= 28; day += 3)
            data.entry(QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0')), code, 5 + day, QStringLiteral("G"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (argc < 2) {
        std::fprintf(stderr, "usage: livros-screens <folder>\n");
        return 2;
    }
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    Capture capture(QString::fromLocal8Bit(argv[1]));

    testing::EmbeddedSuite suite;
    testing::MessageRecorder messages; // nothing is expected; printed at the end if anything came
    const QString rpt = suite.folder() + QStringLiteral("rpt");
    QDir().mkpath(rpt);
    for (const char* name : {"RelLivros.rav", "RelLivrosRev.rav", "RelPF.rav"})
        QFile::copy(testing::sourceDir() + QStringLiteral("/rpt/") + QLatin1String(name), rpt + u'/' + QLatin1String(name));

    // Several stores, classic mode: blank, store choice, book choice, period entry, classic build,
    // listing view.
    {
        fillSuite(suite, true);
        auto dm = suite.makeDataModule();
        NoDialogs dialogs;
        report::TRM rm(*dm);
        rm.rvstm1.setInteraction(&dialogs);
        report::RM = &rm;
        TFormLivros form(*dm, RunMode::Classic);
        form.show();
        capture.save(form, QStringLiteral("01-blank"), false); // before the first activation runs
        Capture::settle();
        capture.save(form, QStringLiteral("02-store-choice"));
        form.ComboBox1->setFocus();
        QTest::keyClick(form.ComboBox1, Qt::Key_Down);
        capture.save(form, QStringLiteral("03-book-choice"));
        QTest::mouseClick(form.BotEntorpecentes, Qt::LeftButton);
        capture.save(form, QStringLiteral("04-period-entry"));
        capture.saveDuring(form, QStringLiteral("05-classic-build"),
                           [&] { return form.Gauge1->isVisible() && form.Gauge1->value() >= 2; },
                           [&] { QTest::mouseClick(form.BotDesfPrep, Qt::LeftButton); });
        capture.save(form, QStringLiteral("06-listing-view"));
        report::RM = nullptr;
    }
    // One store, a revised mode: period entry with "Sair", then the revised build.
    {
        fillSuite(suite, false);
        auto dm = suite.makeDataModule();
        NoDialogs dialogs;
        report::TRM rm(*dm);
        rm.rvstm1.setInteraction(&dialogs);
        report::RM = &rm;
        TFormLivros form(*dm, RunMode::Drogaria);
        form.show();
        Capture::settle();
        capture.save(form, QStringLiteral("07-revised-period-entry"));
        capture.saveDuring(form, QStringLiteral("08-revised-build"),
                           [&] { return form.pnl_progresso->isVisible() && form.Gauge2->progress() >= 2; },
                           [&] { QTest::mouseClick(form.BotDesfPrep, Qt::LeftButton); });
        report::RM = nullptr;
    }
    for (const QString& m : messages.all)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return messages.all.isEmpty() ? 0 : 1;
}
