// Two programs build the revised books of two stores at the same time through one server: both
// books complete, each holds exactly its own lines, and neither touches the other's.
#include "fault_support.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace livros::faults;
using livros::testing::ServerSuite;

namespace {

QProcess* startBuild(const ServerSuite& suite, const QString& store)
{
    auto* process = new QProcess;
    process->setProgram(QStringLiteral(LIVROS_CLI));
    process->setArguments({QStringLiteral("--folder"), suite.folder(), QStringLiteral("revised"), QStringLiteral("--mode"),
                           QStringLiteral("INSUMOSCOMPLETO"), QStringLiteral("--cnpj"), store, QStringLiteral("--from"),
                           QStringLiteral("01/05/24"), QStringLiteral("--to"), QStringLiteral("31/05/24")});
    process->start();
    return process;
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
