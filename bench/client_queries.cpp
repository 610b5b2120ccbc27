// What our client layer costs per ad-hoc query: the same small queries through the data module
// (embedded engine and loopback server) and through isql-fb reading them from a script.
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "message_recorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

using namespace livros;

namespace {
constexpr int kProducts = 100;
constexpr int kQueries = 3000;

QString queryText(int i)
{
    return QStringLiteral("Select count(*) as QDE from BALANCOS where LOJA = '11222333000181' and CODIGO = 'P%1' "
                          "and DATABALANCO = '05/01/24'")
        .arg(i % kProducts, 3, 10, QLatin1Char('0'));
}

void fill(testing::EmbeddedSuite& suite)
{
    for (int p = 0; p < kProducts; ++p)
        for (int m = 1; m <= 12; ++m)
            suite.execMain(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values "
                                          "('2024-%1-01', 'P%2', 10, 'G', '11222333000181')")
                               .arg(m, 2, 10, QLatin1Char('0'))
                               .arg(p, 3, 10, QLatin1Char('0')));
}

double ourQueriesPerSecond(data::TDM& dm)
{
    QElapsedTimer timer;
    timer.start();
    long total = 0;
    for (int i = 0; i < kQueries; ++i) {
        dm.SQLQuery2.close();
        dm.SQLQuery2.setSql(queryText(i));
        dm.SQLQuery2.open();
        total += dm.SQLQuery2.asInteger(QStringLiteral("QDE"));
        dm.SQLQuery2.close();
    }
    if (total != kQueries)
        std::fprintf(stderr, "unexpected result %ld\n", total);
    return kQueries / (double(timer.nsecsElapsed()) / 1e9);
}

double isqlQueriesPerSecond(const QString& database, const QString& scriptPath)
{
    QFile script(scriptPath);
    script.open(QIODevice::WriteOnly);
    for (int i = 0; i < kQueries; ++i) // one transaction per query, as our layer does
        script.write((queryText(i) + QStringLiteral(";\ncommit;\n")).toLatin1());
    script.close();
    QProcess isql;
    QElapsedTimer timer;
    timer.start();
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                           QStringLiteral("-password"), QStringLiteral("vrentasko"),
                                           QStringLiteral("-i"), scriptPath, database});
    isql.waitForFinished(600000);
    return kQueries / (double(timer.nsecsElapsed()) / 1e9);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::MessageRecorder messages;
    std::printf("%-28s %14s\n", "path", "queries/s");
    {
        testing::EmbeddedSuite suite;
        fill(suite);
        auto dm = suite.makeDataModule();
        std::printf("%-28s %14.0f\n", "livros, embedded", ourQueriesPerSecond(*dm));
        dm.reset();
        suite.releaseConnections();
        std::printf("%-28s %14.0f\n", "isql-fb, embedded", isqlQueriesPerSecond(suite.mainDatabasePath(), suite.folder() + "q.sql"));
    }
    {
        testing::ServerSuite suite;
        fill(suite);
        auto dm = suite.makeDataModule();
        std::printf("%-28s %14.0f\n", "livros, loopback server", ourQueriesPerSecond(*dm));
        std::printf("%-28s %14.0f\n", "isql-fb, loopback server",
                    isqlQueriesPerSecond(suite.serverAddress() + ":C:\\quilmara\\dados\\quilmara.bd", suite.folder() + "q.sql"));
    }
    return 0;
}
