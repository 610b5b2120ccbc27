// Load and soak through one loopback server, with the tool itself. Load: five workstations at once
// (three stores' revised books, two classic books) all finish, each book as when built alone.
// Soak: 200 builds in a row (about a minute and a half; LIVROS_SOAK_BUILDS sets another count) with the
// server stopped and started in the middle: each succeeds whole or fails with exit 1 leaving the
// previous book, and the tool's memory stays flat. Both print their figures.
#include "fault_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>

using namespace livros;
using namespace livros::faults;
using livros::testing::ServerSuite;

namespace {

struct ToolRun {
    QStringList arguments;
    QString store; // a revised book's store; empty for a classic book
    int exitCode = -1;
    QByteArray listing;
    QString errors;
    qint64 ms = 0;
    long maxRssKb = 0;
    std::unique_ptr<QProcess> process;
    std::unique_ptr<QTemporaryFile> rss;
};

// Starts the tool under time(1), which records its peak memory.
void start(const ServerSuite& suite, ToolRun& run)
{
    run.rss = std::make_unique<QTemporaryFile>();
    run.rss->open();
    run.process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LIVROS_LOCK_TIMEOUT"), QStringLiteral("300"));
    run.process->setProcessEnvironment(environment);
    run.process->start(QStringLiteral("/usr/bin/time"), QStringList{QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("-o"),
                                                                    run.rss->fileName(), QStringLiteral(LIVROS_CLI),
                                                                    QStringLiteral("--folder"), suite.folder()}
                                                             + run.arguments);
}

void finish(ToolRun& run, const QElapsedTimer& clock)
{
    if (run.process->waitForFinished(300000) && run.process->exitStatus() == QProcess::NormalExit)
        run.exitCode = run.process->exitCode();
    run.ms = clock.elapsed();
    run.listing = run.process->readAllStandardOutput();
    run.errors = QString::fromUtf8(run.process->readAllStandardError());
    QFile measured(run.rss->fileName());
    if (measured.open(QIODevice::ReadOnly))
        run.maxRssKb = measured.readAll().trimmed().split('\n').last().toLong();
}

void runAlone(const ServerSuite& suite, ToolRun& run)
{
    QElapsedTimer clock;
    clock.start();
    start(suite, run);
    finish(run, clock);
}

QStringList revisedBuild(const QString& store, const QString& to = QStringLiteral("31/05/24"))
{
    return {QStringLiteral("revised"), QStringLiteral("--mode"), QStringLiteral("INSUMOSCOMPLETO"), QStringLiteral("--cnpj"),
            store, QStringLiteral("--from"), QStringLiteral("01/05/24"), QStringLiteral("--to"), to};
}

QStringList classicBuild(const QString& to)
{
    return {QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("1"), QStringLiteral("--cnpj"), kStoreA,
            QStringLiteral("--from"), QStringLiteral("01/05/24"), QStringLiteral("--to"), to};
}

long median(std::vector<long> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

class LoadSoak : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/time")))
            GTEST_SKIP() << "time(1) measures the tool's memory";
    }
};

} // namespace

TEST_F(LoadSoak, FiveWorkstationsAtOnceEachBookAsBuiltAlone)
{
    ServerSuite suite;
    const QStringList stores = {kStoreA, kStoreB, QStringLiteral("11222333000181")};
    std::vector<ToolRun> runs(5);
    for (int s = 0; s < 3; ++s) {
        addRevisedProducts(suite, 40, 4 + s, stores[s], QStringLiteral("2024-05-0%1").arg(s + 1));
        // Every store counted its stock on the period's first day (a product of no book).
        if (s > 0)
            suite.execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                          "('2024-05-01', 'CONTAGEM', 1, 'G', '%1')").arg(stores[s]));
        suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(stores[s]));
        runs[size_t(s)].arguments = revisedBuild(stores[s]);
        runs[size_t(s)].store = stores[s];
    }
    runs[3].arguments = classicBuild(QStringLiteral("15/05/24"));
    runs[4].arguments = classicBuild(QStringLiteral("31/05/24"));

    std::vector<ToolRun> alone(5);
    std::vector<QStringList> books(5);
    for (size_t i = 0; i < 5; ++i) {
        alone[i].arguments = runs[i].arguments;
        runAlone(suite, alone[i]);
        ASSERT_EQ(alone[i].exitCode, 0) << alone[i].errors.toStdString();
        books[i] = i < 3 ? revisedLines(suite, stores[int(i)]) : classicLines(suite);
    }
    ASSERT_NE(books[3], books[4]);

    QElapsedTimer clock;
    clock.start();
    for (ToolRun& run : runs)
        start(suite, run);
    qint64 longest = 0, longestWait = 0;
    for (size_t i = 0; i < 5; ++i) {
        finish(runs[i], clock);
        EXPECT_EQ(runs[i].exitCode, 0) << runs[i].arguments.join(' ').toStdString() << '\n' << runs[i].errors.toStdString();
        if (i < 3)
            EXPECT_EQ(revisedLines(suite, stores[int(i)]), books[i]) << stores[int(i)].toStdString();
        else
            EXPECT_EQ(runs[i].listing, alone[i].listing);
        longest = std::max(longest, runs[i].ms);
        longestWait = std::max(longestWait, runs[i].ms - alone[i].ms);
    }
    // The classic table holds the book of whichever classic build committed last, whole.
    const QStringList classic = classicLines(suite);
    EXPECT_TRUE(classic == books[3] || classic == books[4]);

    const double perMinute = 60000.0 * 5 / double(std::max<qint64>(longest, 1));
    std::cout << "[load] 5 builds at once in " << longest << " ms: " << perMinute << " builds/min; alone:";
    for (const ToolRun& run : alone)
        std::cout << ' ' << run.ms;
    std::cout << " ms; longest wait for another build " << longestWait << " ms\n";
    stopServer(suite);
}

TEST_F(LoadSoak, BuildsInARowThroughAServerRestart)
{
    const int count = std::max(10, qEnvironmentVariableIsSet("LIVROS_SOAK_BUILDS") ? qEnvironmentVariableIntValue("LIVROS_SOAK_BUILDS") : 200);
    ServerSuite suite;
    addRevisedProducts(suite, 20, 3, kStoreA);
    suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(kStoreA));
    // Two periods, so that each build replaces a book that differs from its own.
    const QStringList ends = {QStringLiteral("31/05/24"), QStringLiteral("02/05/24")};
    std::vector<QStringList> expected;
    for (const QString& to : ends) {
        ToolRun first{revisedBuild(kStoreA, to)};
        runAlone(suite, first);
        ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
        expected.push_back(revisedLines(suite, kStoreA));
    }
    ASSERT_NE(expected[0], expected[1]);

    QStringList previous = expected[1];
    std::vector<long> memory;
    int built = 0, refused = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        const bool down = i >= count / 2 && i < count / 2 + 3;
        if (i == count / 2)
            stopServer(suite);
        if (i == count / 2 + 3)
            suite.startServer();
        ToolRun run{revisedBuild(kStoreA, ends[i % 2])};
        runAlone(suite, run);
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << "build " << i << ": " << run.errors.toStdString();
        EXPECT_TRUE(!down || run.exitCode == 1) << "build " << i << " with the server stopped";
        if (run.exitCode == 1) {
            ++refused;
            if (!down) // with the server back, the book is the one before
                EXPECT_EQ(revisedLines(suite, kStoreA), previous) << "build " << i << " failed and changed the book";
            continue;
        }
        previous = revisedLines(suite, kStoreA);
        EXPECT_EQ(previous, expected[size_t(i % 2)]) << "build " << i;
        ++built;
        memory.push_back(run.maxRssKb);
    }
    EXPECT_EQ(revisedLines(suite, kStoreA), previous);
    const qint64 ms = clock.elapsed();
    ASSERT_GE(memory.size(), 10u);
    const long first = median(std::vector<long>(memory.begin(), memory.begin() + 5));
    const long last = median(std::vector<long>(memory.end() - 5, memory.end()));
    EXPECT_LE(last, first + first / 10 + 4096) << "memory grew from " << first << " KB to " << last << " KB";
    std::cout << "[soak] " << count << " builds (" << built << " built, " << refused << " refused) in " << ms << " ms: "
              << 60000.0 * count / double(std::max<qint64>(ms, 1)) << " builds/min; peak memory of a build " << first
              << " KB at the start, " << last << " KB at the end\n";
    stopServer(suite);
}
