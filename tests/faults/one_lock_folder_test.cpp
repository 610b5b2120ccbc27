// Programs of ours on one workstation share the embedded engine's database file. They coordinate
// only through the lock files of one folder, so each takes the folder under its shared engine
// root whatever FIREBIRD_LOCK or TMPDIR say: three tools started with three different values build
// three stores' books at once, each gets its whole book, the file passes Firebird's full
// validation, and no lock file appears where the environment pointed.
#include "fault_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::faults;
using livros::testing::EmbeddedSuite;

namespace {

const QString kStoreC = QStringLiteral("55444333000122");

QProcess* startBuild(const EmbeddedSuite& suite, const QString& store, const QString& elsewhere)
{
    auto* process = new QProcess;
    process->setProgram(QStringLiteral(LIVROS_CLI));
    process->setArguments({QStringLiteral("--folder"), suite.folder(), QStringLiteral("revised"), QStringLiteral("--mode"),
                           QStringLiteral("INSUMOSCOMPLETO"), QStringLiteral("--cnpj"), store, QStringLiteral("--from"),
                           QStringLiteral("01/05/24"), QStringLiteral("--to"), QStringLiteral("31/05/24")});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(elsewhere + QStringLiteral("/lock"));
    QDir().mkpath(elsewhere + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), elsewhere + QStringLiteral("/lock"));
    environment.insert(QStringLiteral("TMPDIR"), elsewhere + QStringLiteral("/tmp"));
    process->setProcessEnvironment(environment);
    process->start();
    return process;
}

// Firebird's full validation of the file: what it reports, empty when the file is sound.
QString validation(const QString& database)
{
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), database});
    if (!gfix.waitForFinished(120000))
        return QStringLiteral("gfix did not finish");
    const QString out = QString::fromLocal8Bit(gfix.readAll()).trimmed();
    return gfix.exitCode() == 0 ? out : QStringLiteral("gfix exit %1: %2").arg(gfix.exitCode()).arg(out);
}

} // namespace

TEST(OneLockFolder, ToolsWithTheirOwnLockFoldersBuildThreeStoresAtOnce)
{
    EmbeddedSuite suite;
    const QStringList stores{kStoreA, kStoreB, kStoreC};
    for (const QString& store : stores) {
        addRevisedProducts(suite, 40, 4, store);
        suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(store));
    }
    suite.releaseConnections(); // only the tools hold the file

    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    for (int run = 0; run < 3; ++run) {
        std::vector<QProcess*> builds;
        for (int i = 0; i < 3; ++i)
            builds.push_back(startBuild(suite, stores[i], elsewhere.path() + QStringLiteral("/%1").arg(i)));
        for (int i = 0; i < 3; ++i) {
            QProcess* build = builds[std::size_t(i)];
            const bool finished = build->waitForFinished(180000);
            EXPECT_TRUE(finished && build->exitStatus() == QProcess::NormalExit && build->exitCode() == 0)
                << "run " << run << ", store " << stores[i].toStdString() << ": "
                << build->readAllStandardError().toStdString();
            delete build;
        }
        for (const QString& store : stores)
            EXPECT_EQ(revisedLines(suite, store).size(), 40 * 5) << "run " << run << ", store " << store.toStdString();
        suite.releaseConnections();
        EXPECT_EQ(validation(suite.mainDatabasePath()), QString()) << "run " << run;
    }
    // The folders the environment named stay empty: the lock files went to the shared one.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QDir(elsewhere.path() + QStringLiteral("/%1/lock").arg(i)).entryList(QDir::Files), QStringList())
            << "lock folder " << i;
}
