// Programs on several workstations build books through one server at the same time: builds of
// different stores' revised books both complete with their own lines; a build of a book that
// another workstation is building waits for it, or gives up after the lock timeout changing
// nothing; a build whose program ends half-way leaves the previous book whole.
#include "classic_test_data.h"
#include "book/build_transaction.h"
#include "data/transaction.h"
#include "fault_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::faults;
using livros::classic::testing::TestData;
using livros::testing::ServerSuite;

namespace {

QProcess* startCli(const ServerSuite& suite, const QStringList& arguments, const QString& lockTimeout = {})
{
    auto* process = new QProcess;
    process->setProgram(QStringLiteral(LIVROS_CLI));
    process->setArguments(QStringList{QStringLiteral("--folder"), suite.folder()} + arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!lockTimeout.isEmpty())
        environment.insert(QStringLiteral("LIVROS_LOCK_TIMEOUT"), lockTimeout);
    process->setProcessEnvironment(environment);
    process->start();
    return process;
}

QProcess* startBuild(const ServerSuite& suite, const QString& store, const QString& lockTimeout = {})
{
    return startCli(suite,
                    {QStringLiteral("revised"), QStringLiteral("--mode"), QStringLiteral("INSUMOSCOMPLETO"),
                     QStringLiteral("--cnpj"), store, QStringLiteral("--from"), QStringLiteral("01/05/24"),
                     QStringLiteral("--to"), QStringLiteral("31/05/24")},
                    lockTimeout);
}

QProcess* startClassic(const ServerSuite& suite, const QString& to, const QString& lockTimeout = {})
{
    return startCli(suite,
                    {QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("1"), QStringLiteral("--cnpj"),
                     kStoreA, QStringLiteral("--from"), QStringLiteral("01/05/24"), QStringLiteral("--to"), to},
                    lockTimeout);
}

struct Finished {
    int exitCode = -1;
    QString errors;
};

Finished finish(QProcess* process)
{
    Finished result;
    if (process->waitForFinished(60000) && process->exitStatus() == QProcess::NormalExit)
        result.exitCode = process->exitCode();
    result.errors = QString::fromLocal8Bit(process->readAllStandardError());
    delete process;
    return result;
}

} // namespace

TEST(ConcurrentStores, TwoProgramsBuildTwoStoresAtOnce)
{
    ServerSuite suite;
    addRevisedProducts(suite, 30, 3, kStoreA);
    addRevisedProducts(suite, 30, 2, kStoreB, QStringLiteral("2024-05-03"));
    // Store B counted its stock on the period's first day too (a product of no book).
    suite.execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                  "('2024-05-01', 'CONTAGEM', 1, 'G', '%1')").arg(kStoreB));
    // The tool builds only for stores the database records.
    for (const QString& store : {kStoreA, kStoreB})
        suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(store));

    // Each book built alone first: what each store's book must hold.
    ASSERT_EQ(finish(startBuild(suite, kStoreA)).exitCode, 0);
    ASSERT_EQ(finish(startBuild(suite, kStoreB)).exitCode, 0);
    const QStringList storeA = revisedLines(suite, kStoreA);
    const QStringList storeB = revisedLines(suite, kStoreB);
    ASSERT_EQ(storeA.size(), 30 * 4);
    ASSERT_EQ(storeB.size(), 30 * 3);
    // A line of a third store that neither build may touch.
    suite.execMain(QStringLiteral("insert into LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO) values "
                                  "(1, '11111111000111', '2024-05-01', 'outra loja')"));

    QProcess* a = startBuild(suite, kStoreA);
    QProcess* b = startBuild(suite, kStoreB);
    ASSERT_TRUE(a->waitForStarted() && b->waitForStarted());
    const bool overlapped = a->state() == QProcess::Running && b->state() == QProcess::Running;
    const Finished doneA = finish(a);
    const Finished doneB = finish(b);
    EXPECT_TRUE(overlapped) << "the two builds did not run at the same time";
    EXPECT_EQ(doneA.exitCode, 0) << doneA.errors.toStdString();
    EXPECT_EQ(doneB.exitCode, 0) << doneB.errors.toStdString();

    EXPECT_EQ(revisedLines(suite, kStoreA), storeA);
    EXPECT_EQ(revisedLines(suite, kStoreB), storeB);
    EXPECT_EQ(suite.rowsMain(QStringLiteral("select CNPJ, HISTORICO from LIVROREVCONTR where CNPJ not in ('%1', '%2')")
                                 .arg(kStoreA, kStoreB)),
              QStringList{QStringLiteral("11111111000111|outra loja")});
    stopServer(suite); // not waiting long for a shutdown that hangs
}

namespace {

// The other workstation: a build that holds the classic book table reserved, or one store's
// claim on the revised book table, until it is released.
class OtherStation {
public:
    OtherStation(ServerSuite& suite, const QString& table, const QString& store = {})
        : m_dm(suite.makeDataModule()),
          m_build(store.isEmpty() ? std::make_unique<data::Transaction>(m_dm->sqlcon1, QStringList{table})
                                  : book::startStoreBuildTransaction(m_dm->sqlcon1, table, store, {}))
    {
    }
    void release() { m_build.reset(); }

private:
    std::unique_ptr<data::TDM> m_dm;
    std::unique_ptr<data::Transaction> m_build;
};

class SerializedBuilds : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_suite = new ServerSuite; }
    static void TearDownTestSuite()
    {
        stopServer(*s_suite);
        delete s_suite;
        s_suite = nullptr;
    }
    void SetUp() override
    {
        s_suite->clearAllTables();
        s_suite->execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(kStoreA));
    }

    // Two products of group 1 with a movement on every day of May.
    void classicData()
    {
        TestData data{*s_suite};
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.component("C002", "Petidina", "G", "A2", "D2");
        data.inventory("2024-05-01", "C001", 100, "G", kStoreA);
        data.inventory("2024-05-01", "C002", 50, "G", kStoreA);
        for (int day = 1; day <= 31; ++day) {
            const QString date = QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0'));
            data.entry(date, "C001", day, "G", "L1", "ABC", kStoreA);
            data.exit(date, "C002", day / 4.0, "G");
        }
    }

    static const QString kWaiting;
    static ServerSuite* s_suite;
};

const QString SerializedBuilds::kWaiting = QStringLiteral("Outra estação está montando este livro; aguardando...");
ServerSuite* SerializedBuilds::s_suite = nullptr;

} // namespace

TEST_F(SerializedBuilds, ClassicBuildWaitsForTheOtherStationOrGivesUpChangingNothing)
{
    classicData();
    ASSERT_EQ(finish(startClassic(*s_suite, QStringLiteral("31/05/24"))).exitCode, 0);
    const QStringList whole = classicLines(*s_suite);
    ASSERT_EQ(whole.size(), 62);
    ASSERT_EQ(finish(startClassic(*s_suite, QStringLiteral("10/05/24"))).exitCode, 0);
    const QStringList previous = classicLines(*s_suite);

    auto other = std::make_unique<OtherStation>(*s_suite, QStringLiteral("LIVROCONTR"));
    QElapsedTimer clock;
    clock.start();
    const Finished refused = finish(startClassic(*s_suite, QStringLiteral("31/05/24"), QStringLiteral("2")));
    EXPECT_EQ(refused.exitCode, 1) << refused.errors.toStdString();
    EXPECT_GE(clock.elapsed(), 900); // the server counts whole seconds: 1 to 2 s
    EXPECT_TRUE(refused.errors.contains(kWaiting)) << refused.errors.toStdString();
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("Outra estação continua montando este livro")));
    EXPECT_EQ(classicLines(*s_suite), previous);

    QProcess* waiting = startClassic(*s_suite, QStringLiteral("31/05/24"));
    ASSERT_TRUE(waiting->waitForStarted());
    QThread::msleep(1500);
    EXPECT_EQ(waiting->state(), QProcess::Running);
    other->release();
    const Finished built = finish(waiting);
    EXPECT_EQ(built.exitCode, 0) << built.errors.toStdString();
    EXPECT_TRUE(built.errors.contains(kWaiting));
    EXPECT_EQ(classicLines(*s_suite), whole);

    // Two workstations at once: the second waits, and the book is whole after both.
    QProcess* a = startClassic(*s_suite, QStringLiteral("31/05/24"));
    QProcess* b = startClassic(*s_suite, QStringLiteral("31/05/24"));
    EXPECT_EQ(finish(a).exitCode, 0);
    EXPECT_EQ(finish(b).exitCode, 0);
    EXPECT_EQ(classicLines(*s_suite), whole);
}

TEST_F(SerializedBuilds, RevisedBuildWaitsForTheOtherStationOrGivesUpChangingNothing)
{
    addRevisedProducts(*s_suite, 10, 3, kStoreA);
    ASSERT_EQ(finish(startBuild(*s_suite, kStoreA)).exitCode, 0);
    const QStringList previous = revisedLines(*s_suite, kStoreA);
    ASSERT_EQ(previous.size(), 40);

    auto other = std::make_unique<OtherStation>(*s_suite, QStringLiteral("LIVROREVCONTR"), kStoreA);
    const Finished refused = finish(startBuild(*s_suite, kStoreA, QStringLiteral("1")));
    EXPECT_EQ(refused.exitCode, 1) << refused.errors.toStdString();
    EXPECT_TRUE(refused.errors.contains(kWaiting)) << refused.errors.toStdString();
    // How to wait longer is said.
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("LIVROS_LOCK_TIMEOUT=600"))) << refused.errors.toStdString();
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), previous);
    // Told not to wait, it gives up at once.
    QElapsedTimer clock;
    clock.start();
    const Finished notWaiting = finish(startBuild(*s_suite, kStoreA, QStringLiteral("0")));
    EXPECT_EQ(notWaiting.exitCode, 1) << notWaiting.errors.toStdString();
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_TRUE(notWaiting.errors.contains(QStringLiteral("LIVROS_LOCK_TIMEOUT=0"))) << notWaiting.errors.toStdString();
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), previous);

    // Two builds of one store's book at once, while the other station still holds the table.
    QProcess* a = startBuild(*s_suite, kStoreA);
    QProcess* b = startBuild(*s_suite, kStoreA);
    QThread::msleep(1000);
    other->release();
    EXPECT_EQ(finish(a).exitCode, 0);
    EXPECT_EQ(finish(b).exitCode, 0);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), previous);
}

TEST_F(SerializedBuilds, ProgramEndedHalfWayLeavesThePreviousBookWhole)
{
    classicData();
    ASSERT_EQ(finish(startClassic(*s_suite, QStringLiteral("10/05/24"))).exitCode, 0);
    const QStringList previous = classicLines(*s_suite);
    ASSERT_EQ(previous.size(), 20);

    // The build of a longer period is held on the server at its 25th line (half-way through the
    // first product's) for ten seconds, and killed there. The trigger holds only that period's
    // build, so that it may stay for the group's other tests.
    s_suite->execMain(QStringLiteral(
        "create trigger HOLD_LINE for LIVROCONTR before insert as declare t timestamp; begin "
        "if (new.ID = 25 and new.PERIODO = '01/05/24 a 30/04/44') then begin t = cast('NOW' as timestamp); "
        "while (datediff(millisecond from t to cast('NOW' as timestamp)) < 10000) do t = t; end end"));
    QProcess* build = startClassic(*s_suite, QStringLiteral("30/04/44"));
    ASSERT_TRUE(build->waitForStarted());
    QThread::msleep(1500);
    EXPECT_EQ(build->state(), QProcess::Running) << "the build ended before it could be stopped half-way";
    build->kill();
    build->waitForFinished();
    delete build;
    EXPECT_EQ(classicLines(*s_suite), previous);
}

// A long build of one store holds only that store: another store's book builds meanwhile, without
// waiting, and each book is whole with line numbers that no other store's lines share.
TEST_F(SerializedBuilds, AnotherStoresBuildDoesNotWait)
{
    s_suite->execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(kStoreB));
    addRevisedProducts(*s_suite, 10, 3, kStoreA);
    addRevisedProducts(*s_suite, 10, 2, kStoreB, QStringLiteral("2024-05-03"));
    // Store B counted its stock on the period's first day too (a product of no book).
    s_suite->execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                     "('2024-05-01', 'CONTAGEM', 1, 'G', '%1')").arg(kStoreB));
    ASSERT_EQ(finish(startBuild(*s_suite, kStoreA)).exitCode, 0);
    ASSERT_EQ(finish(startBuild(*s_suite, kStoreB)).exitCode, 0);
    const QStringList storeA = revisedLines(*s_suite, kStoreA);
    const QStringList storeB = revisedLines(*s_suite, kStoreB);

    auto other = std::make_unique<OtherStation>(*s_suite, QStringLiteral("LIVROREVCONTR"), kStoreA);
    const Finished built = finish(startBuild(*s_suite, kStoreB, QStringLiteral("1")));
    EXPECT_EQ(built.exitCode, 0) << built.errors.toStdString();
    EXPECT_FALSE(built.errors.contains(kWaiting)) << built.errors.toStdString();
    other->release();
    EXPECT_EQ(revisedLines(*s_suite, kStoreB), storeB);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA), storeA);
    EXPECT_EQ(s_suite->rowsMain(QStringLiteral("select count(*) from (select distinct ID from LIVROREVCONTR where CNPJ = '%1') "
                                               "where ID in (select ID from LIVROREVCONTR where CNPJ = '%2')")
                                    .arg(kStoreA, kStoreB)),
              QStringList{QStringLiteral("0")});
}
