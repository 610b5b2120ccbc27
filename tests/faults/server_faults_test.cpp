// The database server stops or dies while the books are built and between two user actions: the
// error reaches the user saying that the book was not built, nothing is reported as done that was
// not, the previous book stays whole, row for row, and once the server is back the same data
// module attaches again and the next action works.
#include "book/classic/classic_preparation.h"
#include "book/classic/component_lists.h"
#include "book/revised/revised_book_builder.h"
#include "classic_test_data.h"
#include "classic_test_view.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "fault_support.h"
#include "message_recorder.h"
#include "platform/user_messages.h"

#include <QDate>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

using namespace livros;
using namespace livros::faults;
using livros::classic::testing::RecordingView;
using livros::classic::testing::TestData;
using livros::revised::RevisedBookBuilder;
using livros::revised::RevisedBuildOutcome;
using livros::revised::RevisedMode;
using livros::testing::ServerSuite;

namespace {

// The classic listing view, able to act when a movement line is listed (just before its insert).
class ClassicView : public RecordingView {
public:
    std::function<void(const QString&)> onLine;
    void appendListingLine(const QString& line) override
    {
        RecordingView::appendListingLine(line);
        if (onLine)
            onLine(line);
    }
};

bool isMovementLine(const QString& line) { return line.contains(QStringLiteral("| Forn: ")); }

class ServerFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_suite = new ServerSuite; }
    static void TearDownTestSuite()
    {
        stopServer(*s_suite); // not waiting long for a shutdown that hangs
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        s_suite->startServer();
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
    }
    void TearDown() override
    {
        dm.reset();
        s_suite->startServer();
    }

    // Two products of group 1 with six days of entries and exits.
    void classicData()
    {
        TestData data{*s_suite};
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.component("C002", "Petidina", "G", "A2", "D2");
        data.inventory("2024-05-01", "C001", 100, "G");
        data.inventory("2024-05-01", "C002", 50, "G");
        for (int day = 1; day <= 6; ++day) {
            const QString date = QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0'));
            data.entry(date, "C001", day, "G");
            data.exit(date, "C002", day / 2.0, "G");
        }
    }

    // The book button loads the group tables (unless the test keeps those loaded before), then
    // "Preparação" runs the preparation.
    classic::ClassicPreparationOutcome prepareClassic(ClassicView& view, const QString& to = QStringLiteral("06/05/24"),
                                                      bool loadLists = true)
    {
        if (loadLists)
            lists = classic::loadComponentLists(*dm);
        classic::ClassicPreparationRequest request;
        request.initialDateText = QStringLiteral("01/05/24");
        request.finalDateText = to;
        request.storeCnpj = kStoreA;
        request.selectedGroup = 1;
        request.lists = &lists;
        request.programFolder = s_suite->folder();
        request.startStockProgram = false;
        return classic::prepareClassicBook(*dm, view, request);
    }

    revised::RevisedBuildResult buildRevised(RevisedView& view, const QString& store = kStoreA)
    {
        RevisedBookBuilder builder(*dm, view);
        return builder.build(RevisedMode::InsumosCompleto, store, QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
    }

    // The whole classic book as built with the server up, then the book of the first three days
    // built over it: the previous book that a failed build must leave as it is.
    QStringList classicReference(QStringList* previous = nullptr)
    {
        ClassicView view;
        EXPECT_EQ(prepareClassic(view), classic::ClassicPreparationOutcome::Built);
        const QStringList lines = classicLines(*s_suite);
        ClassicView shorter;
        EXPECT_EQ(prepareClassic(shorter, QStringLiteral("03/05/24"), false), classic::ClassicPreparationOutcome::Built);
        if (previous)
            *previous = classicLines(*s_suite);
        return lines;
    }

    static bool saysNotBuilt(const QString& message) { return message.contains(QStringLiteral("não foi montado")); }

    static ServerSuite* s_suite;
    std::unique_ptr<data::TDM> dm;
    classic::ComponentLists lists;
    livros::testing::MessageRecorder recorder;
};

ServerSuite* ServerFaults::s_suite = nullptr;

} // namespace

TEST_F(ServerFaults, ClassicBuildServerStoppedBetweenQueries)
{
    classicData();
    QStringList previous;
    const QStringList reference = classicReference(&previous);
    ASSERT_EQ(reference.size(), 12);
    ASSERT_EQ(previous.size(), 6);

    // The preparation lets the window process events once, then at the start and the end of each
    // product: the 4th call comes when the first product's six lines have been written.
    ClassicView view;
    view.onProcessEvents = [&] {
        if (view.processEventsCalls == 4)
            stopServer(*s_suite);
    };
    QString shown;
    try {
        prepareClassic(view);
        ADD_FAILURE() << "a build without its server cannot complete";
    } catch (const data::DbError& error) {
        shown = error.message();
    }
    EXPECT_TRUE(saysNotBuilt(shown)) << shown.toStdString();
    EXPECT_TRUE(recorder.terminations.isEmpty()) << "the program must stay";
    EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join('\n').toStdString();
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_FALSE(view.gaugeVisible);
    EXPECT_TRUE(view.closeButtonVisible);
    EXPECT_FALSE(view.listing.last().contains(QStringLiteral("FIM"))) << "no closing for a book not built";

    s_suite->startServer();
    EXPECT_EQ(classicLines(*s_suite), previous);

    ClassicView again; // the next user action, same data module
    EXPECT_EQ(prepareClassic(again), classic::ClassicPreparationOutcome::Built);
    EXPECT_EQ(classicLines(*s_suite), reference);
}

TEST_F(ServerFaults, ClassicBuildServerKilledJustBeforeAnInsert)
{
    classicData();
    QStringList previous;
    const QStringList reference = classicReference(&previous);

    ClassicView view;
    int movementLines = 0;
    view.onLine = [&](const QString& line) {
        if (isMovementLine(line) && ++movementLines == 8) // the second product's second exit
            s_suite->killServer();
    };
    EXPECT_THROW(prepareClassic(view), data::DbError);
    EXPECT_TRUE(recorder.terminations.isEmpty());
    EXPECT_TRUE(view.bookButtonsVisible);

    s_suite->startServer();
    EXPECT_EQ(classicLines(*s_suite), previous);

    ClassicView again;
    EXPECT_EQ(prepareClassic(again), classic::ClassicPreparationOutcome::Built);
    EXPECT_EQ(classicLines(*s_suite), reference);
}

TEST_F(ServerFaults, RevisedBuildServerKilledAtTheThirdComponent)
{
    addRevisedProducts(*s_suite, 5, 3, kStoreA);
    addRevisedProducts(*s_suite, 2, 1, kStoreB);
    RevisedView first;
    ASSERT_EQ(buildRevised(first, kStoreB).outcome, RevisedBuildOutcome::Built);
    const QStringList storeB = revisedLines(*s_suite, kStoreB);
    ASSERT_EQ(buildRevised(first).outcome, RevisedBuildOutcome::Built);
    QStringList reference[5];
    for (int p = 0; p < 5; ++p)
        reference[p] = revisedLinesOf(*s_suite, kStoreA, QStringLiteral("P0%1").arg(p + 1));
    ASSERT_EQ(reference[2].size(), 4); // opening line and three entries

    RevisedView view;
    view.onFooter = [&](const QString& footer) {
        if (footer == u"Produto P03")
            s_suite->killServer();
    };
    // The driver's message in the standard error display, not the failed-statement message: the
    // statement itself is sound.
    try {
        buildRevised(view);
        ADD_FAILURE() << "a build without its server cannot complete";
    } catch (const data::DbError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("não foi montado"))) << error.message().toStdString();
    }
    EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join('\n').toStdString();
    // The lines go in batches: the lost server is met at the next batch, not at the product.
    EXPECT_GE(view.footers.size(), 3);
    EXPECT_EQ(view.previews, 0) << "no preview of a book not built";

    s_suite->startServer();
    // Both stores' previous books whole: nothing of the failed build stays.
    QStringList all;
    for (const QStringList& lines : reference)
        all += lines;
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), all);
    EXPECT_EQ(revisedLines(*s_suite, kStoreB), storeB);
    s_suite->execMain(QStringLiteral("delete from LIVROREVCONTR where CNPJ = '") + kStoreA + QStringLiteral("'"));

    RevisedView again;
    EXPECT_EQ(buildRevised(again).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(again.previews, 1);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), all);
    EXPECT_EQ(revisedLines(*s_suite, kStoreB), storeB);
}

TEST_F(ServerFaults, ServerStoppedBetweenTwoUserActions)
{
    classicData();
    addRevisedProducts(*s_suite, 2, 2, kStoreA, QStringLiteral("2024-05-02"));
    const QStringList classicReference = this->classicReference(); // also loads the group tables
    s_suite->execMain(QStringLiteral("delete from LIVROCONTR"));
    RevisedView first;
    ASSERT_EQ(buildRevised(first).outcome, RevisedBuildOutcome::Built);
    const QStringList revisedReference = revisedLines(*s_suite, kStoreA);
    s_suite->execMain(QStringLiteral("delete from LIVROREVCONTR"));
    s_suite->execInterface(QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL) values ('2024-04-01', '2024-04-30')"));

    // A date left while the server is down cannot be stored, and is not dropped either: the
    // same data module attaches again and the pending date goes with the next post.
    dm->Periodo.open(); // the period panel is shown
    stopServer(*s_suite);
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setAsString(QStringLiteral("01/05/2024"));
    EXPECT_THROW(dm->Periodo.post(), data::DbError);
    EXPECT_TRUE(dm->Periodo.hasPendingChanges());
    s_suite->startServer();
    dm->Periodo.edit();
    dm->PeriodoDATAFINAL().setAsString(QStringLiteral("06/05/2024"));
    dm->Periodo.post();
    EXPECT_FALSE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(s_suite->rowsInterface(QStringLiteral("select DATAINICIAL, DATAFINAL from PERIODO")),
              QStringList{QStringLiteral("2024-05-01|2024-05-06")});

    // Both books fail with the driver's message while the server is down; neither pretends to be
    // done, and both work again once it is back.
    stopServer(*s_suite);
    ClassicView classicView;
    try {
        prepareClassic(classicView, QStringLiteral("06/05/24"), false);
        ADD_FAILURE() << "no preparation without the server";
    } catch (const data::DbError& error) {
        EXPECT_FALSE(error.message().isEmpty());
    }
    EXPECT_TRUE(classicView.bookButtonsVisible);
    EXPECT_TRUE(classicView.messages.isEmpty());
    RevisedView revisedView;
    EXPECT_THROW(buildRevised(revisedView), data::DbError);
    EXPECT_EQ(revisedView.previews, 0);
    s_suite->startServer();
    ClassicView classicAgain;
    EXPECT_EQ(prepareClassic(classicAgain, QStringLiteral("06/05/24"), false), classic::ClassicPreparationOutcome::Built);
    EXPECT_EQ(classicLines(*s_suite), classicReference);
    RevisedView revisedAgain;
    EXPECT_EQ(buildRevised(revisedAgain).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), revisedReference);
}

// The server dies at an unforeseen moment, from another thread, possibly while a statement or
// its commit is on the way: the table holds the book whole, either the previous one or the new
// one, never a part.
TEST_F(ServerFaults, ServerKilledAtRandomMomentsLeavesOnlyWholeLines)
{
    TestData data{*s_suite};
    for (int p = 1; p <= 6; ++p) {
        const QString codigo = QStringLiteral("K%1").arg(p);
        data.component(codigo, QStringLiteral("Produto K%1").arg(p), "G", "A1", QStringLiteral("DK%1").arg(p));
        data.inventory("2024-05-01", codigo, 10 * p, "G");
        for (int day = 1; day <= 20; ++day)
            data.entry(QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0')), codigo, day + p, "G");
    }
    addRevisedProducts(*s_suite, 40, 4, kStoreA, QStringLiteral("2024-05-21"));
    s_suite->execMain(QStringLiteral("update COMPONEN set LISTA = 'X9' where CODIGO starting with 'P'")); // no classic group
    ClassicView full;
    ASSERT_EQ(prepareClassic(full, QStringLiteral("20/05/24")), classic::ClassicPreparationOutcome::Built);
    const QStringList classicReference = classicLines(*s_suite);
    RevisedView fullRevised;
    ASSERT_EQ(buildRevised(fullRevised).outcome, RevisedBuildOutcome::Built);
    const QStringList revisedReference = revisedLines(*s_suite, kStoreA);

    int classicFaults = 0;
    int revisedFaults = 0;
    for (int round = 0; round < 6; ++round) {
        const bool classicRound = round % 2 == 0;
        std::atomic<bool> started{false};
        const pid_t server = serverPid(*s_suite);
        if (server == 0)
            FAIL() << "no server process found";
        // A classic build writes its 120 lines within some tens of milliseconds of its first
        // product here; revised builds take about a tenth of a second.
        const int delay = classicRound ? 2 + 2 * round : 2 + 10 * round;
        std::thread killer([&, delay] {
            while (!started)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            ::kill(server, SIGKILL);
        });
        bool failed = false;
        if (classicRound) {
            ClassicView view;
            view.onProcessEvents = [&] { started = true; };
            try {
                prepareClassic(view, QStringLiteral("20/05/24"), false);
            } catch (const data::DbError&) {
                failed = true;
            } catch (const ProgramTerminated&) {
                failed = true; // counted below: the program must not end
            }
        } else {
            RevisedView view;
            view.onFooter = [&](const QString&) { started = true; };
            try {
                failed = buildRevised(view).outcome != RevisedBuildOutcome::Built;
                EXPECT_FALSE(failed) << "a lost server is no failed statement";
            } catch (const data::DbError&) {
                failed = true; // the standard error display
            }
            EXPECT_EQ(view.previews, failed ? 0 : 1);
        }
        started = true;
        killer.join();
        s_suite->killServer(); // reaps the process killed by pid
        s_suite->startServer();
        EXPECT_TRUE(recorder.terminations.isEmpty());
        if (classicRound) {
            classicFaults += failed;
            EXPECT_EQ(classicLines(*s_suite), classicReference) << "round " << round;
        } else {
            revisedFaults += failed;
            EXPECT_EQ(revisedLines(*s_suite, kStoreA), revisedReference) << "round " << round;
        }
    }
    EXPECT_GT(classicFaults, 0) << "no classic round met the fault";
    EXPECT_GT(revisedFaults, 0) << "no revised round met the fault";
}
