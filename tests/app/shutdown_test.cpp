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
