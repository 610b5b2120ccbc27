// Two workstations issue through one server at the same time: the same period is issued once and
// the other workstation is refused naming the sheets; two periods of one book take consecutive
// sheets. Each issue holds the book records from its checks to its record.
#include "data/transaction.h"
#include "fault_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::faults;
using livros::testing::ServerSuite;

namespace {

class ConcurrentIssues : public ::testing::Test {
protected:
    void SetUp() override
    {
        addRevisedProducts(suite, 6, 3, kStoreA);
        suite.execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(kStoreA));
        // The store counted its stock on the first day of the second half-month too.
        suite.execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                      "('2024-05-16', 'CONTAGEM', 1, 'G', '%1')").arg(kStoreA));
        suite.execMain(QStringLiteral("insert into DADOSGER (CNPJ, FIRMA, QDEFOLHAS, NUMEROINICIAL) values ('%1', "
                                      "'Farmácia', 200, 1)")
                           .arg(kStoreA));
        QDir().mkpath(suite.folder() + QStringLiteral("rpt"));
        for (const char* name : {"RelLivros.rav", "RelLivrosRev.rav", "RelPF.rav"})
            QFile::copy(livros::testing::sourceDir() + QStringLiteral("/rpt/") + QLatin1String(name),
                        suite.folder() + QStringLiteral("rpt/") + QLatin1String(name));
        // The book records exist before the workstations meet.
        QProcess books;
        books.start(QStringLiteral(LIVROS_CLI), {QStringLiteral("--folder"), suite.folder(), QStringLiteral("books")},
                    QIODevice::ReadOnly);
        books.waitForFinished(60000);
    }
    void TearDown() override { stopServer(suite); }

    QProcess* startIssue(const QString& from, const QString& to)
    {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUILMARA_HOME"), suite.folder());
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(LIVROS_CLI),
                       {QStringLiteral("--folder"), suite.folder(), QStringLiteral("issue"), QStringLiteral("--book"),
                        QStringLiteral("INSUMOSCOMPLETO"), QStringLiteral("--cnpj"), kStoreA, QStringLiteral("--from"), from,
                        QStringLiteral("--to"), to});
        return process;
    }
    struct Done {
        int exitCode = -1;
        QString out;
        QString err;
    };
    static Done finish(QProcess* process)
    {
        Done done;
        if (process->waitForFinished(120000) && process->exitStatus() == QProcess::NormalExit)
            done.exitCode = process->exitCode();
        done.out = QString::fromUtf8(process->readAllStandardOutput());
        done.err = QString::fromUtf8(process->readAllStandardError());
        delete process;
        return done;
    }
    // Waits until the process says it waits for the other workstation.
    static bool waiting(QProcess* process, QByteArray& seen)
    {
        for (int i = 0; i < 600 && !seen.contains("aguardando"); ++i) {
            process->waitForReadyRead(100);
            seen += process->readAllStandardError();
        }
        return seen.contains("aguardando");
    }
    QStringList issuedSheets()
    {
        return suite.rowsInterface(QStringLiteral("select DATAINICIAL, FOLHAINICIAL, FOLHAFINAL from LIVROS_EMISSAO order by FOLHAINICIAL"));
    }
    QStringList archivedFiles()
    {
        return QDir(suite.folder() + QStringLiteral("Livros/emitidos/%1/INSUMOSCOMPLETO").arg(kStoreA)).entryList(QDir::Files);
    }

    ServerSuite suite;
};

TEST_F(ConcurrentIssues, TheSamePeriodIsIssuedOnceAndTheOtherWorkstationIsRefusedNamingTheSheets)
{
    QProcess* a = startIssue(QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
    QProcess* b = startIssue(QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
    const Done doneA = finish(a);
    const Done doneB = finish(b);
    const Done& issued = doneA.exitCode == 0 ? doneA : doneB;
    const Done& refused = doneA.exitCode == 0 ? doneB : doneA;
    EXPECT_EQ(issued.exitCode, 0) << issued.err.toStdString();
    EXPECT_EQ(refused.exitCode, 3) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("já foi emitido"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("folhas 1 a "))) << refused.err.toStdString();
    EXPECT_EQ(issuedSheets().size(), 1);
    EXPECT_EQ(archivedFiles().size(), 1) << archivedFiles().join(' ').toStdString();
}

TEST_F(ConcurrentIssues, TwoPeriodsOfOneBookAtOnceTakeConsecutiveSheets)
{
    // Another workstation holds the records while both issues start: each waits its turn.
    auto station = suite.makeDataModule();
    auto held = std::make_unique<data::Transaction>(
        station->sqlcon2, QStringList{QStringLiteral("LIVROS_LIVRO"), QStringLiteral("LIVROS_EMISSAO")});
    QProcess* first = startIssue(QStringLiteral("01/05/24"), QStringLiteral("15/05/24"));
    QByteArray seenFirst;
    ASSERT_TRUE(waiting(first, seenFirst)) << seenFirst.toStdString();
    QProcess* second = startIssue(QStringLiteral("16/05/24"), QStringLiteral("31/05/24"));
    QByteArray seenSecond;
    ASSERT_TRUE(waiting(second, seenSecond)) << seenSecond.toStdString();
    held.reset();
    const Done doneFirst = finish(first);
    const Done doneSecond = finish(second);
    EXPECT_EQ(doneFirst.exitCode, 0) << seenFirst.toStdString() << doneFirst.err.toStdString();
    EXPECT_EQ(doneSecond.exitCode, 0) << seenSecond.toStdString() << doneSecond.err.toStdString();

    const QStringList sheets = issuedSheets();
    ASSERT_EQ(sheets.size(), 2);
    const QStringList firstCells = sheets[0].split(QLatin1Char('|'));
    const QStringList secondCells = sheets[1].split(QLatin1Char('|'));
    EXPECT_EQ(firstCells[1], QStringLiteral("1"));
    EXPECT_EQ(secondCells[1].toInt(), firstCells[2].toInt() + 1) << sheets.join(' ').toStdString();
    EXPECT_EQ(archivedFiles().size(), 2);
}

} // namespace
