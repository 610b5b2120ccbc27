// Another program holds rows that this one writes: the period record, the store's revised book,
// the classic book. The connections wait on locks, so the write waits until the other transaction
// ends and then completes; neither side's change is lost. No wait outlasts the lock timeout.
#include "book/classic/classic_preparation.h"
#include "book/classic/component_lists.h"
#include "book/revised/revised_book_builder.h"
#include "classic_test_data.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "fault_support.h"
#include "message_recorder.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <chrono>
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

constexpr int kHoldMs = 1000;

// A transaction of another program on the server: its statement has run and is not committed
// until the transaction ends, which happens on a thread of its own after `kHoldMs`.
class OtherProgram {
public:
    OtherProgram(const QString& database, const QString& characterSet, const QString& statement, int holdMs = kHoldMs)
        : m_connection(QStringLiteral("other"), characterSet), m_query(m_connection, QStringLiteral("other"))
    {
        m_connection.setParam(QStringLiteral("DataBase"), database);
        m_connection.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
        m_connection.setParam(QStringLiteral("Password"), QStringLiteral("vrentasko"));
        // A selectable block: fetching its row runs the statement inside the query's transaction,
        // which stays open until the query is closed (and committed).
        m_query.setSql(QStringLiteral("execute block returns (DONE integer) as begin ") + statement
                       + QStringLiteral("; DONE = 1; suspend; end"));
        m_query.open();
        m_ending = std::thread([this, holdMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            m_query.close();
        });
    }
    ~OtherProgram() { finish(); }
    void finish()
    {
        if (m_ending.joinable())
            m_ending.join();
    }

private:
    data::Connection m_connection;
    data::Query m_query;
    std::thread m_ending;
};

class Locks : public ::testing::Test {
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
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
    }
    void TearDown() override { EXPECT_TRUE(recorder.all.isEmpty()) << recorder.all.join('\n').toStdString(); }

    QString mainDatabase() const { return s_suite->serverAddress() + QStringLiteral(":C:\\quilmara\\dados\\quilmara.bd"); }
    QString interfaceDatabase() const
    {
        return s_suite->serverAddress() + QStringLiteral(":C:\\quilmara\\interfac\\quilmara.bd");
    }
    revised::RevisedBuildResult buildRevised(const QString& store)
    {
        RevisedView view;
        RevisedBookBuilder builder(*dm, view);
        return builder.build(RevisedMode::InsumosCompleto, store, QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
    }

    static ServerSuite* s_suite;
    std::unique_ptr<data::TDM> dm;
    livros::testing::MessageRecorder recorder;
    QElapsedTimer clock;
};

ServerSuite* Locks::s_suite = nullptr;

} // namespace

TEST_F(Locks, PeriodRecordHeldWithoutChangeIsWrittenOnceReleased)
{
    s_suite->execInterface(QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL, NPEDIDO) values "
                                          "('2024-04-01', '2024-04-30', 7)"));
    dm->Periodo.open();
    OtherProgram other(interfaceDatabase(), QStringLiteral("WIN1252"),
                       QStringLiteral("update PERIODO set NPEDIDO = NPEDIDO")); // rewrites the row as it is

    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setAsString(QStringLiteral("01/05/2024"));
    clock.start();
    EXPECT_NO_THROW(dm->Periodo.post());
    EXPECT_GE(clock.elapsed(), kHoldMs - 200) << "the write must wait for the other transaction";
    other.finish();
    EXPECT_FALSE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(s_suite->rowsInterface(QStringLiteral("select DATAINICIAL, DATAFINAL, NPEDIDO from PERIODO")),
              QStringList{QStringLiteral("2024-05-01|2024-04-30|7")});
}

// The record changed under the panel: the all-columns identity leaves the date unapplied and
// says so; the other program's value stays, the date stays pending in the panel.
TEST_F(Locks, PeriodRecordChangedByTheOtherProgramKeepsBothSides)
{
    s_suite->execInterface(QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL, NPEDIDO) values "
                                          "('2024-04-01', '2024-04-30', 7)"));
    dm->Periodo.open();
    OtherProgram other(interfaceDatabase(), QStringLiteral("WIN1252"), QStringLiteral("update PERIODO set NPEDIDO = 8"));

    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setAsString(QStringLiteral("01/05/2024"));
    clock.start();
    try {
        dm->Periodo.post();
        ADD_FAILURE() << "a row changed by another program is not overwritten";
    } catch (const data::DbError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Periodo: é preciso gravar as alterações antes de reler os dados"));
    }
    EXPECT_GE(clock.elapsed(), kHoldMs - 200);
    other.finish();
    EXPECT_TRUE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(dm->PeriodoDATAINICIAL().asString(), QStringLiteral("01/05/2024"));
    EXPECT_EQ(s_suite->rowsInterface(QStringLiteral("select DATAINICIAL, DATAFINAL, NPEDIDO from PERIODO")),
              QStringList{QStringLiteral("2024-04-01|2024-04-30|8")});
}

// The period record held longer than LIVROS_LOCK_TIMEOUT: the post gives up after the timeout
// with a message, the date stays pending in the panel, and the record keeps its value.
TEST_F(Locks, PeriodRecordHeldTooLongEndsTheWaitAfterTheLockTimeout)
{
    qputenv("LIVROS_LOCK_TIMEOUT", "1");
    s_suite->execInterface(QStringLiteral("insert into PERIODO (DATAINICIAL, DATAFINAL, NPEDIDO) values "
                                          "('2024-04-01', '2024-04-30', 7)"));
    dm->Periodo.open();
    OtherProgram other(interfaceDatabase(), QStringLiteral("WIN1252"), QStringLiteral("update PERIODO set NPEDIDO = NPEDIDO"),
                       4000);
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setAsString(QStringLiteral("01/05/2024"));
    clock.start();
    EXPECT_THROW(dm->Periodo.post(), data::LockTimeout);
    EXPECT_LT(clock.elapsed(), 3500) << "the wait must end with the lock timeout";
    qunsetenv("LIVROS_LOCK_TIMEOUT");
    other.finish();
    EXPECT_TRUE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(s_suite->rowsInterface(QStringLiteral("select DATAINICIAL from PERIODO")), QStringList{"2024-04-01"});
}

TEST_F(Locks, RevisedBookRowsHeldByAnotherProgram)
{
    addRevisedProducts(*s_suite, 3, 2, kStoreA);
    addRevisedProducts(*s_suite, 2, 2, kStoreB);
    ASSERT_EQ(buildRevised(kStoreA).outcome, RevisedBuildOutcome::Built);
    const QStringList storeA = revisedLines(*s_suite, kStoreA);
    ASSERT_EQ(buildRevised(kStoreB).outcome, RevisedBuildOutcome::Built);
    const int storeBLines = int(revisedLines(*s_suite, kStoreB).size());
    ASSERT_GT(storeBLines, 0);

    // The other program marks both stores' lines, uncommitted, while store A is rebuilt.
    OtherProgram other(mainDatabase(), QString(),
                       QStringLiteral("update LIVROREVCONTR set OBSERVACAO = OBSERVACAO || ' (visto)'"));
    clock.start();
    revised::RevisedBuildResult result;
    EXPECT_NO_THROW(result = buildRevised(kStoreA));
    EXPECT_GE(clock.elapsed(), kHoldMs - 200);
    other.finish();
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), storeA); // store A's book, rebuilt whole
    const QStringList marks = s_suite->rowsMain(QStringLiteral(
        "select count(*), sum(case when OBSERVACAO like '% (visto)' then 1 else 0 end) from LIVROREVCONTR where CNPJ = '")
        + kStoreB + QStringLiteral("'"));
    EXPECT_EQ(marks, QStringList{QStringLiteral("%1|%1").arg(storeBLines)}); // the other program's change
}

TEST_F(Locks, ClassicBookRowsHeldByAnotherProgram)
{
    TestData data{*s_suite};
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-02", "C001", 5, "G");
    s_suite->execMain(QStringLiteral("insert into LIVROCONTR (ID, CNPJ, HISTORICO) values (1, 'old', 'old line')"));

    OtherProgram other(mainDatabase(), QString(), QStringLiteral("update LIVROCONTR set LINHA = 1"));
    RecordingView view;
    const classic::ComponentLists lists = classic::loadComponentLists(*dm);
    classic::ClassicPreparationRequest request;
    request.initialDateText = QStringLiteral("01/05/24");
    request.finalDateText = QStringLiteral("03/05/24");
    request.storeCnpj = kStoreA;
    request.selectedGroup = 1;
    request.lists = &lists;
    clock.start();
    classic::ClassicPreparationOutcome outcome{};
    EXPECT_NO_THROW(outcome = classic::prepareClassicBook(*dm, view, request));
    EXPECT_GE(clock.elapsed(), kHoldMs - 200);
    other.finish();
    EXPECT_EQ(outcome, classic::ClassicPreparationOutcome::Built);
    EXPECT_EQ(s_suite->rowsMain(QStringLiteral("select ID, CNPJ, SALDO from LIVROCONTR")),
              QStringList{QStringLiteral("1|12345678000199|15")});
}
