// `livros-cli demo` as a newcomer runs it: the installation it lays out builds every book of every
// store, the same seed gives the same databases, and an existing installation is kept unless told.
#include "data/connection.h"
#include "data/query.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace livros;

namespace {

struct CliRun {
    int exitCode = -1;
    QString err;
    QString out;
};

CliRun cli(const QString& folder, const QStringList& arguments, const QString& locale = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILMARA_HOME"), folder);
    if (!locale.isEmpty())
        env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(LIVROS_CLI), arguments);
    process.waitForFinished(300000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
            QString::fromLocal8Bit(process.readAllStandardOutput())};
}

CliRun demo(const QString& folder, const QStringList& more = {}, const QString& locale = {})
{
    return cli(folder, QStringList{QStringLiteral("demo"), folder} + more, locale);
}

// Every table of a database, each row's columns as text, rows sorted.
QStringList dump(const QString& database)
{
    data::Connection c(QStringLiteral("dump"), QString());
    c.setParam(QStringLiteral("DataBase"), database);
    c.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    data::Query tables(c, QStringLiteral("tables"));
    tables.setSql(QStringLiteral("select trim(rdb$relation_name) T from rdb$relations where coalesce(rdb$system_flag, 0) = 0 "
                                 "order by 1"));
    tables.open();
    QStringList names;
    for (; !tables.eof(); tables.next())
        names << tables.asString(QStringLiteral("T"));
    tables.close();
    QStringList out;
    for (const QString& table : names) {
        data::Query q(c, table);
        q.setSql(QStringLiteral("select * from ") + table);
        q.open();
        QStringList rows;
        for (; !q.eof(); q.next()) {
            QStringList cells;
            for (const QString& f : q.fieldNames())
                cells << (q.isNull(f) ? QStringLiteral("NULL") : q.value(f).toString());
            rows << table + QLatin1Char('|') + cells.join(QLatin1Char('|'));
        }
        q.close();
        rows.sort();
        out << rows;
    }
    return out;
}

} // namespace

TEST(DemoCommand, InstallationBuildsEveryBookOfEveryStore)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const CliRun created = demo(folder, {QStringLiteral("--seed"), QStringLiteral("3")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    for (const char* file : {"QUILMARA.INI", "dados/quilmara.bd", "interfac/quilmara.bd", "rpt/RelLivros.rav", "livros-cli"})
        EXPECT_TRUE(QFile::exists(folder + QLatin1Char('/') + QLatin1String(file))) << file;

    QStringList tabLab;
    for (const QString& row : dump(folder + QStringLiteral("/dados/quilmara.bd")))
        if (row.startsWith(QLatin1String("TABLAB|")))
            tabLab << row.section(QLatin1Char('|'), 1, 1);
    ASSERT_EQ(tabLab.size(), 3);
    for (const QString& store : tabLab) {
        const QStringList base = {QStringLiteral("--folder"), folder};
        for (int group = 1; group <= 4; ++group) {
            const CliRun r = cli(folder, base + QStringList{QStringLiteral("classic"), QStringLiteral("--group"), QString::number(group),
                                                        QStringLiteral("--cnpj"), store, QStringLiteral("--listing"),
                                                        folder + QStringLiteral("/listing.txt")});
            EXPECT_EQ(r.exitCode, 0) << store.toStdString() << " group " << group << ": " << r.err.toStdString();
        }
        for (const char* mode : {"DROGARIA", "INSUMOSCOMPLETO", "SIPROQUIM"}) {
            const CliRun r = cli(folder, base + QStringList{QStringLiteral("revised"), QStringLiteral("--mode"),
                                                        QLatin1String(mode), QStringLiteral("--cnpj"), store});
            EXPECT_EQ(r.exitCode, 0) << store.toStdString() << " " << mode << ": " << r.err.toStdString();
        }
    }
    // One of the stores has an alphanumeric CNPJ; a CNPJ that names no store is refused.
    EXPECT_EQ(std::count_if(tabLab.cbegin(), tabLab.cend(), [](const QString& c) { return c.contains(QRegularExpression("[A-Z]")); }), 1);
    const QString wrong = tabLab.first().left(12) + (tabLab.first().endsWith(QLatin1String("99")) ? "00" : "99");
    for (const QStringList& command : {QStringList{"revised", "--mode", "DROGARIA"}, QStringList{"export", "--book", "SIPROQUIM", "--pdf", folder + "/x.pdf"}}) {
        const CliRun r = cli(folder, QStringList{"--folder", folder} + command + QStringList{"--cnpj", wrong});
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("dígitos verificadores não conferem"))) << r.err.toStdString();
    }
}

TEST(DemoCommand, SameSeedSameDatabasesAndAnInstallationIsKeptUnlessForced)
{
    QTemporaryDir a;
    QTemporaryDir b;
    ASSERT_EQ(demo(a.path(), {QStringLiteral("--seed"), QStringLiteral("11")}).exitCode, 0);
    ASSERT_EQ(demo(b.path(), {QStringLiteral("--seed"), QStringLiteral("11")}).exitCode, 0);
    const QStringList first = dump(a.path() + QStringLiteral("/dados/quilmara.bd"));
    EXPECT_GT(first.size(), 1000);
    EXPECT_EQ(first, dump(b.path() + QStringLiteral("/dados/quilmara.bd")));

    // A second demo over the first one: refused, with a message, and nothing changed.
    const CliRun refused = demo(a.path(), {QStringLiteral("--seed"), QStringLiteral("12")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force"))) << refused.err.toStdString();
    EXPECT_EQ(dump(a.path() + QStringLiteral("/dados/quilmara.bd")), first);

    // Told to, it replaces the installation.
    ASSERT_EQ(demo(a.path(), {QStringLiteral("--seed"), QStringLiteral("12"), QStringLiteral("--force")}).exitCode, 0);
    EXPECT_NE(dump(a.path() + QStringLiteral("/dados/quilmara.bd")), first);
}

// The demo says in Portuguese what it made, and its line to run the tool works as pasted into a
// shell, even for a folder with blanks and quotes in its name.
TEST(DemoCommand, OutputIsPortugueseAndItsCommandLineRunsAsPasted)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/demo d'Avila");
    const CliRun created = demo(folder, {QStringLiteral("--seed"), QStringLiteral("3")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.startsWith(QStringLiteral("Instalação de demonstração em "))) << created.out.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("lojas (TABLAB): "))) << created.out.toStdString();
    QString run;
    for (const QString& line : created.out.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Para usar: ")))
            run = line.mid(11);
    ASSERT_FALSE(run.isEmpty()) << created.out.toStdString();
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), run});
    ASSERT_TRUE(shell.waitForFinished(300000));
    EXPECT_EQ(shell.exitCode(), 0) << run.toStdString() << "\n" << shell.readAllStandardError().toStdString();
}

// In a UTF-8 locale and in the C locale (a scheduled job's), where the database client would
// take the file name for ASCII.
TEST(DemoCommand, AFolderNamedWithAccentsHoldsTheDatabasesAndItsBooksBuild)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Farmácia São João");
    const CliRun created = demo(folder, {QStringLiteral("--seed"), QStringLiteral("5")}, QStringLiteral("C"));
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    const QRegularExpression storeLine(QStringLiteral("lojas \\(TABLAB\\): ([0-9A-Z]+)"));
    const QString store = storeLine.match(created.out).captured(1);
    ASSERT_FALSE(store.isEmpty()) << created.out.toStdString();
    for (const QStringList& book : {QStringList{QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("2")},
                                    QStringList{QStringLiteral("revised"), QStringLiteral("--mode"), QStringLiteral("INSUMOSCOMPLETO")}}) {
        for (const QString locale : {QStringLiteral("C"), QStringLiteral("C.UTF-8")}) {
            const CliRun built = cli(folder, QStringList{QStringLiteral("--folder"), folder} + book
                                                 + QStringList{QStringLiteral("--cnpj"), store}, locale);
            EXPECT_EQ(built.exitCode, 0) << book.join(' ').toStdString() << " " << locale.toStdString() << "\n"
                                         << built.err.toStdString();
        }
    }
    EXPECT_FALSE(dump(folder + QStringLiteral("/dados/quilmara.bd")).isEmpty());
}
