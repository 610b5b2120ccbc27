// Closing the window in any state deletes the in-use marker, silently; other programs are started
// without waiting for them.
#include "window_fixture.h"

#include "app/click_label.h"
#include "app/date_mask_edit.h"
#include "app/in_use_marker.h"
#include "platform/suite_paths.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QComboBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace livros::app;
using namespace livros::app::testing;

class ShutdownTest : public WindowTest {
protected:
    void oneStore()
    {
        addStore(QStringLiteral("11222333000181"));
        setCompanyCnpj(QStringLiteral("11222333000181"));
    }
};

TEST_F(ShutdownTest, ClosingInEveryStateDeletesTheMarker)
{
    struct Way {
        const char* name;
        RunMode mode;
        bool severalStores;
        std::function<void(TFormLivros&)> reachState;
        std::function<void(TFormLivros&)> close;
        const char* state;
    };
    const auto closeBox = [](TFormLivros& f) { f.close(); };
    const std::vector<Way> ways = {
        {"Sair in book choice", RunMode::Classic, false, [](TFormLivros&) {},
         [](TFormLivros& f) { QTest::mouseClick(f.BitBtn39, Qt::LeftButton); }, "book choice"},
        {"Esc in book choice", RunMode::Classic, false, [](TFormLivros&) {},
         [](TFormLivros& f) { QTest::keyClick(&f, Qt::Key_Escape); }, "book choice"},
        {"close box in store choice", RunMode::Classic, true, [](TFormLivros&) {}, closeBox, "store choice"},
        {"close box in period entry", RunMode::Classic, false,
         [](TFormLivros& f) { QTest::mouseClick(f.BotEntorpecentes, Qt::LeftButton); }, closeBox, "period entry"},
        {"Sair in revised period entry", RunMode::Drogaria, false, [](TFormLivros&) {},
         [](TFormLivros& f) { QTest::mouseClick(f.BotCancelaDesfazer, Qt::LeftButton); }, "period entry"},
        {"close box in listing view", RunMode::Classic, false,
         [](TFormLivros& f) { QTest::mouseClick(f.Titulo, Qt::LeftButton); }, closeBox, "listing view"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        suite().clearAllTables();
        oneStore();
        setPeriod("2024-05-01", "2024-05-31");
        if (way.severalStores)
            addStore(QStringLiteral("44555666000199"));
        createMarker();
        openWindow(way.mode);
        way.reachState(*form);
        ASSERT_EQ(screenState(), QString(way.state));
        way.close(*form);
        EXPECT_EQ(screenState(), QString("closed"));
        EXPECT_FALSE(QFile::exists(markerPath()));
        form.reset();
        dm->Periodo.close();
    }
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(ShutdownTest, ClosingTheWindowIsNoLeaveOfTheDateEdit)
{
    oneStore();
    setPeriod("2024-05-01", "2024-05-31");
    openWindow(RunMode::Classic);
    QTest::mouseClick(form->BotEntorpecentes, Qt::LeftButton);
    QTest::keyClicks(form->MaskEdit1, "3102");
    form->close();
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31"}));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(ShutdownTest, MissingMarkerIsNoError)
{
    oneStore();
    openWindow(RunMode::Classic);
    ASSERT_FALSE(QFile::exists(markerPath()));
    QTest::mouseClick(form->BitBtn39, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_TRUE(messages->all.isEmpty());
}

TEST_F(ShutdownTest, ExternalProgramRunsOnItsOwnAndFailuresAreSilent)
{
    oneStore();
    openWindow(RunMode::Classic);
    QTemporaryDir dir;
    const QString done = dir.filePath(QStringLiteral("done"));
    QFile program(dir.filePath(QStringLiteral("Vandor.exe")));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(QStringLiteral("#!/bin/sh\nsleep 1\ntouch '%1'\n").arg(done).toUtf8());
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QElapsedTimer clock;
    clock.start();
    form->RunExternalProgram(program.fileName());
    EXPECT_LT(clock.elapsed(), 900); // returned without waiting
    EXPECT_FALSE(QFile::exists(done));
    // The window stays usable meanwhile.
    QTest::mouseClick(form->Titulo, Qt::LeftButton);
    EXPECT_EQ(screenState(), QString("listing view"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(done), 5000);

    form->RunExternalProgram(dir.filePath(QStringLiteral("missing.exe")));
    form->RunExternalProgram(QString());
    EXPECT_TRUE(messages->all.isEmpty());
}

TEST_F(ShutdownTest, TimerRefreshWritesTheMarkerWithTheTime)
{
    oneStore();
    openWindow(RunMode::Classic);
    form->Timer1Timer();
    QFile marker(markerPath());
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    const QString line = QString::fromLatin1(marker.readAll()).trimmed();
    EXPECT_LE(line.size(), 60);
    EXPECT_TRUE(line.startsWith(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat))) << line.toStdString();
    EXPECT_TRUE(form->Timer1->isActive());
    form->Timer1->stop();
}

// After a revised build and its preview, "Sair" ends the run at once: no message about the closed
// period record (the focus passes through a date edit as the window goes), and the program's
// loop is told that the window is gone.
TEST_F(ShutdownTest, SairAfterARevisedPreviewEndsTheRun)
{
    RecordingInteraction& reportDialogs = useReports();
    oneStore();
    setPeriod("2024-05-01", "2024-05-31");
    suite().execMain("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) select '2024-05-01', 'X', 1, LOJA from TABLAB");
    openWindow(RunMode::Drogaria);
    QSignalSpy closed(form.get(), &TFormLivros::closed);
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    settle();
    ASSERT_EQ(reportDialogs.previews, 1);
    QTest::mouseClick(form->BotCancelaDesfazer, Qt::LeftButton);
    form->MaskEdit1Enter(); // the focus arriving in a date edit of the closing window
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

// Store choice has its way out, by the "Sair" button and by Esc.
TEST_F(ShutdownTest, StoreChoiceCanBeLeft)
{
    for (bool byKey : {false, true}) {
        suite().clearAllTables();
        addStore(QStringLiteral("11222333000181"));
        addStore(QStringLiteral("44555666000199"));
        openWindow(RunMode::Classic);
        ASSERT_EQ(screenState(), QString("store choice"));
        ASSERT_TRUE(form->BitBtn39->isVisible() && form->BitBtn39->isEnabled());
        if (byKey)
            QTest::keyClick(form->ComboBox1, Qt::Key_Escape);
        else
            QTest::mouseClick(form->BitBtn39, Qt::LeftButton);
        EXPECT_EQ(screenState(), QString("closed")) << (byKey ? "Esc" : "Sair");
        form.reset();
    }
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}
