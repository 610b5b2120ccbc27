// The window during a build: clicks meant for it are dropped (nothing starts inside the build);
// Esc stops the build and returns to the window, closing or a termination signal stops it and
// ends the program; either way at once, even in the middle of a statement, rolled back with the
// previous book kept.
#include "app/build_input_block.h"
#include "app/termination_signals.h"
#include "book/build_transaction.h"
#include "data/transaction.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <iostream>
#include <unistd.h>

using namespace livros;
using namespace livros::app;
using namespace livros::app::testing;

namespace {

class BuildInputTest : public WindowTest {
protected:
    // A store with four compounding inputs and a previous book, in the period entry of the mode.
    void openCompoundingBuild()
    {
        useReports();
        addStore(QStringLiteral("11222333000181"));
        setCompanyCnpj(QStringLiteral("11222333000181"));
        setPeriod("2024-05-01", "2024-05-31");
        for (int i = 1; i <= 4; ++i)
            suite().execMain(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) "
                                            "values ('K%1', 'Insumo %1', 'INS', 'G', 'Sim', 'B1', '0%1')").arg(i));
        // The store counted its stock on the period's first day, as a revised build requires.
        suite().execMain("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                         "('2024-05-01', 'K1', 1, 'G', '11222333000181')");
        suite().execMain("insert into LIVROREVCONTR (ID, CNPJ, DATA, DCB) values (1, '11222333000181', '2024-01-01', 'OLD')");
        openWindow(RunMode::InsumosCompleto);
        ASSERT_EQ(screenState(), QString("period entry"));
    }

    // Runs `atStep` at each step of the build where the window processes its events (1 first).
    void buildWith(const std::function<void(int)>& atStep)
    {
        int step = 0;
        QTimer steps;
        steps.setInterval(0);
        QObject::connect(&steps, &QTimer::timeout, [&] { atStep(++step); });
        steps.start();
        QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
        steps.stop();
        EXPECT_GE(step, 3) << "the build processed events fewer times than the test needs";
    }

    QString oldLines() { return suite().scalarMain("select count(*) from LIVROREVCONTR where DCB = 'OLD'"); }

    // Another workstation builds the same store's book: the window's build waits on the server
    // for it (up to two minutes), and `stop` runs once the window says it waits. Returns how long
    // the build took to end after the stop.
    qint64 stopWhileWaiting(const std::function<void()>& stop)
    {
        qputenv("LIVROS_LOCK_TIMEOUT", "120");
        const auto restore = qScopeGuard([] { qunsetenv("LIVROS_LOCK_TIMEOUT"); });
        data::Connection other(QStringLiteral("other"), QString());
        other.setParam(QStringLiteral("DataBase"), suite().mainDatabasePath());
        other.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
        other.setParam(QStringLiteral("Password"), QStringLiteral("vrentasko"));
        const auto held = book::startStoreBuildTransaction(other, QStringLiteral("LIVROREVCONTR"),
                                                           QStringLiteral("11222333000181"), {});
        QElapsedTimer sinceStop;
        QTimer watch;
        watch.setInterval(50);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (sinceStop.isValid()
                || form->pnl_rodape_progresso->text() != book::otherStationBuildingMessage())
                return;
            // The statement that waits has reached the server by now.
            QTest::qWait(300);
            sinceStop.start();
            stop();
        });
        watch.start();
        QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
        watch.stop();
        EXPECT_TRUE(sinceStop.isValid()) << "the build did not wait for the other workstation";
        const qint64 ms = sinceStop.isValid() ? sinceStop.elapsed() : -1;
        std::cout << "[stop] the build ended " << ms << " ms after the stop\n";
        return ms;
    }

    // What Firebird's validation says of the main database once every connection is gone.
    QString validation()
    {
        form.reset();
        dm->sqlcon1.close();
        dm->sqlcon2.close();
        suite().releaseConnections();
        QProcess gfix;
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                            suite().mainDatabasePath()});
        if (!gfix.waitForFinished(120000))
            return QStringLiteral("gfix did not finish");
        const QString out = QString::fromLocal8Bit(gfix.readAll()).trimmed();
        return gfix.exitCode() == 0 ? out : QStringLiteral("gfix exit %1: %2").arg(gfix.exitCode()).arg(out);
    }
};

} // namespace

TEST_F(BuildInputTest, ClicksDuringTheBuildStartNothingAndEscStopsItRolledBack)
{
    openCompoundingBuild();
    buildWith([&](int step) {
        if (step == 1 || step == 2) // another build, and the check, inside this one's transaction
            QTest::mouseClick(step == 1 ? form->BotDesfPrep : control<QPushButton>("BotConferencia"), Qt::LeftButton);
        if (step == 3)
            QTest::keyClick(form.get(), Qt::Key_Escape);
    });
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(oldLines(), QString("1")); // rolled back: the previous book stays
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROREVCONTR"), QString("1"));
    EXPECT_EQ(screenState(), QString("period entry"));
}

TEST_F(BuildInputTest, EscDuringAWaitOnTheServerStopsTheBuildAtOnceAndTheWindowBuildsAgain)
{
    openCompoundingBuild();
    const qint64 stopped = stopWhileWaiting([&] { QTest::keyClick(form.get(), Qt::Key_Escape); });
    EXPECT_GE(stopped, 0);
    EXPECT_LT(stopped, 5000);
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(oldLines(), QString("1"));
    ASSERT_EQ(screenState(), QString("period entry"));

    // The cancelled statement leaves nothing pending: the next build replaces the book.
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    EXPECT_EQ(oldLines(), QString("0"));
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
}

TEST_F(BuildInputTest, ATerminationSignalDuringAWaitOnTheServerEndsTheProgramAtOnce)
{
    openCompoundingBuild();
    // As the program connects it: the stop, the window closed, the event loop told to end.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [this] {
        BuildInputBlock::requestStop();
        form->close();
        QCoreApplication::exit(0);
    });
    const qint64 stopped = stopWhileWaiting([] { ::kill(::getpid(), SIGTERM); });
    EXPECT_GE(stopped, 0);
    EXPECT_LT(stopped, 5000);
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(screenState(), QString("closed"));
    EXPECT_EQ(oldLines(), QString("1"));
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROREVCONTR"), QString("1"));
    EXPECT_EQ(validation(), QString());
}

TEST_F(BuildInputTest, ClosingTheWindowDuringTheBuildStopsItRolledBack)
{
    openCompoundingBuild();
    buildWith([&](int step) {
        if (step == 3)
            form->close();
    });
    EXPECT_TRUE(messages->all.isEmpty()) << messages->all.join('\n').toStdString();
    EXPECT_EQ(oldLines(), QString("1"));
    EXPECT_EQ(screenState(), QString("closed"));

    // Without a stop the same build replaces the book.
    BuildInputBlock::requestStop(); // no build runs: nothing to stop, nothing kept for later
    openWindow(RunMode::InsumosCompleto);
    ASSERT_EQ(screenState(), QString("period entry"));
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    EXPECT_EQ(oldLines(), QString("0"));
}

TEST_F(BuildInputTest, ABadLockTimeoutIsSaidOverTheWindowWhichThenBuildsAsUsual)
{
    qputenv("LIVROS_LOCK_TIMEOUT", "1.5");
    const auto restore = qScopeGuard([] { qunsetenv("LIVROS_LOCK_TIMEOUT"); });
    openCompoundingBuild();
    ASSERT_EQ(messages->all.size(), 1) << messages->all.join('\n').toStdString();
    EXPECT_TRUE(messages->all.first().contains(QStringLiteral("LIVROS_LOCK_TIMEOUT inválido: \"1.5\"")))
        << messages->all.first().toStdString();
    EXPECT_TRUE(messages->all.first().contains(QStringLiteral("Esperando 60 segundos"))) << messages->all.first().toStdString();

    // The window stays usable: the build replaces the book, and nothing more is said.
    QTest::mouseClick(form->BotDesfPrep, Qt::LeftButton);
    EXPECT_EQ(oldLines(), QString("0"));
    EXPECT_EQ(messages->all.size(), 1) << messages->all.join('\n').toStdString();
}
