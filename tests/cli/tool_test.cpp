// livros-cli and livros as a careless user and a scheduled job meet them, through the programs
// themselves, on a demo installation: every argument has its place, every failure to write says
// so with exit 1, a log shows where a build is, our programs share the embedded database, and a program that holds it alone is named.
#include "data/connection.h"
#include "data/query.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>


using namespace livros;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out;
    QString err;
};

QTemporaryDir* g_dir = nullptr;
QString folder() { return g_dir->path(); }

QProcessEnvironment environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILMARA_HOME"), folder());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    return env;
}

CliRun cli(const QStringList& arguments, const QString& standardOutput = {})
{
    QProcess p;
    p.setProcessEnvironment(environment());
    if (!standardOutput.isEmpty())
        p.setStandardOutputFile(standardOutput);
    p.start(QStringLiteral(LIVROS_CLI), arguments);
    p.waitForFinished(300000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

CliRun inFolder(const QStringList& arguments, const QString& standardOutput = {})
{
    return cli(QStringList{QStringLiteral("--folder"), folder()} + arguments, standardOutput);
}

const QString kStore = QStringLiteral("90782155000110");
const QStringList kClassic = {QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("2"),
                              QStringLiteral("--cnpj"), kStore};

class Tool : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_dir = new QTemporaryDir;
        const CliRun demo = cli({QStringLiteral("demo"), folder(), QStringLiteral("--seed"), QStringLiteral("3")});
        ASSERT_EQ(demo.code, 0) << demo.err.toStdString();
    }
    static void TearDownTestSuite() { delete g_dir; }
};

} // namespace

TEST_F(Tool, EveryArgumentHasItsPlace)
{
    struct Case {
        QStringList arguments;
        const char* named;
    };
    const std::vector<Case> cases = {
        {{"classic", "--group=2"}, "--group=2"},
        {{"classic", "--group", "2", "--group", "3"}, "--group"},
        {{"classic", "--group", "2", "--bogus"}, "--bogus"},
        {{"--group", "2", "classic"}, "--group"},
        {{"classic", "--group", "2", "stray"}, "stray"},
        {{"classic", "--group", "2", "--folder", "x"}, "--folder"},
        {{"export", "--book", "CLASSIC", "--pdf", "a.pdf", "--mode", "DROGARIA"}, "--mode"},
        {{"classic", "--group", "2", "--from", "01/05/2026", "--to", "31/05/26"}, "DD/MM/AA"},
        {{"classic", "--listing"}, "--listing"},
        {{"nada"}, "nada"},
    };
    for (const Case& c : cases) {
        const CliRun r = inFolder(c.arguments);
        EXPECT_EQ(r.code, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.named))) << r.err.toStdString();
    }
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.trimmed(), QByteArray("livros-cli " LIVROS_VERSION));
}

TEST_F(Tool, FailuresToWriteOrToConfigureExitOne)
{
    QTemporaryDir empty;
    const CliRun noIni = cli({"--folder", empty.path(), "classic", "--group", "2"});
    EXPECT_EQ(noIni.code, 1);
    EXPECT_TRUE(noIni.err.contains(QStringLiteral("QUILMARA.INI não encontrado"))) << noIni.err.toStdString();

    EXPECT_EQ(inFolder(kClassic, QStringLiteral("/dev/full")).code, 1);
    const CliRun listing = inFolder(kClassic + QStringList{"--listing", "/dev/full"});
    EXPECT_EQ(listing.code, 1);
    EXPECT_TRUE(listing.err.contains(QStringLiteral("/dev/full"))) << listing.err.toStdString();
    EXPECT_EQ(inFolder({"export", "--book", "CLASSIC", "--cnpj", kStore, "--pdf", "/dev/full"}).code, 1);
    const CliRun toOutput = inFolder({"export", "--book", "CLASSIC", "--cnpj", kStore, "--pdf", "-"});
    EXPECT_EQ(toOutput.code, 0) << toOutput.err.toStdString();
    EXPECT_TRUE(toOutput.out.startsWith("%PDF")) << toOutput.out.left(20).toStdString();

    // A refused run (a bad date) leaves the listing of the last good run as it was.
    const QString file = folder() + QStringLiteral("/listagem.txt");
    ASSERT_EQ(inFolder(kClassic + QStringList{"--listing", file}).code, 0);
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray good = before.readAll();
    before.close();
    EXPECT_FALSE(good.isEmpty());
    EXPECT_EQ(inFolder(kClassic + QStringList{"--listing", file, "--from", "31/02/26", "--to", "31/03/26"}).code, 3);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), good);
}

// File names keep bytes that are not UTF-8 (a name from an old Latin-1 machine), under any locale;
// a refused run writes nothing under such a name either. The shell passes the bytes as they are
// (QProcess would encode its arguments as UTF-8) and checks the names: Qt lists none it cannot decode.
TEST_F(Tool, FileNamesKeepBytesThatAreNotUtf8)
{
    const QString script = QStringLiteral(
        "cd \"$1\" && p=$(printf 'r\\351l.pdf') && l=$(printf 'li\\347\\343o.txt') && m=$(printf 'm\\351') "
        "&& \"$2\" --folder \"$3\" export --book CLASSIC --cnpj \"$4\" --pdf \"$p\" "
        "&& \"$2\" --folder \"$3\" classic --group 2 --cnpj \"$4\" --listing \"$l\" "
        "&& ! \"$2\" --folder \"$3\" classic --group 2 --cnpj \"$4\" --from 31/02/26 --to 31/03/26 --listing \"$(printf 'x\\377')\" "
        "&& \"$2\" --folder \"$3\" siproquim-map --month \"$5\" --cnpj \"$4\" --out \"$m\" "
        "&& \"$2\" siproquim-map --check \"$m\"/M*.txt "
        "&& test -s \"$p\" && test -s \"$l\" && test \"$(ls | wc -l)\" = 3 && rm -r \"$p\" \"$l\" \"$m\" "
        "|| { ls | od -c >&2; exit 1; }");
    for (const char* locale : {"C", "pt_BR.UTF-8"}) {
        QTemporaryDir out;
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("/bin/sh"), {"-c", script, "sh", out.path(), QStringLiteral(LIVROS_CLI), folder(), kStore,
                                            QDate::currentDate().addMonths(-1).toString(QStringLiteral("MM/yyyy"))});
        ASSERT_TRUE(p.waitForFinished(300000));
        EXPECT_EQ(p.exitCode(), 0) << locale << ": " << p.readAllStandardError().toStdString();
    }
}

TEST_F(Tool, LogShowsOnlyTheSummaryWithoutProgressOrStrayWarnings)
{
    // Standard error is no terminal here: no progress, only the build's summary.
    const CliRun r = inFolder(kClassic + QStringList{"--listing", folder() + QStringLiteral("/l.txt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("Livro montado: loja %1, livro clássico do grupo 2").arg(kStore)))
        << r.err.toStdString();
    EXPECT_TRUE(lines.last().contains(QStringLiteral("linhas gravadas"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("XDG_RUNTIME_DIR"))) << r.err.toStdString();
}

TEST_F(Tool, MistypedServerKeyIsNamed)
{
    QTemporaryDir other;
    QFile ini(other.path() + QStringLiteral("/QUILMARA.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("IP DO SERVIDOR CENTRAL........................: \r\n"); // 24 dots
    ini.close();
    QDir().mkpath(other.path() + QStringLiteral("/rpt"));
    const CliRun r = cli({"--folder", other.path(), "revised", "--mode", "DROGARIA", "--cnpj", kStore});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("linha 1"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("foi ignorada"))) << r.err.toStdString();
}

// Our programs share the embedded database: the tool builds a book while another of our
// programs (here this test, as a window would) holds the database open.
TEST_F(Tool, TwoOfOurProgramsShareTheEmbeddedDatabase)
{
    data::Connection held(QStringLiteral("held"), QString());
    held.setParam(QStringLiteral("DataBase"), folder() + QStringLiteral("/dados/quilmara.bd"));
    held.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    held.open();
    const CliRun r = inFolder(kClassic);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    data::Query lines(held, QStringLiteral("lines"));
    lines.setSql(QStringLiteral("select count(*) as N from LIVROCONTR where CNPJ = '%1'").arg(kStore));
    lines.open();
    EXPECT_GT(lines.asInteger(QStringLiteral("N")), 0); // the tool's committed lines, seen from here
    lines.close();
    held.close();
}

// A program whose embedded engine takes the file for itself (isql-fb with the system's settings)
// keeps ours out: the tool says so in Portuguese, and what to do.
TEST_F(Tool, AProgramHoldingTheDatabaseAloneIsNamed)
{
    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("FIREBIRD"));
    isql.setProcessEnvironment(env);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                           folder() + QStringLiteral("/dados/quilmara.bd")});
    ASSERT_TRUE(isql.waitForStarted());
    isql.write("select 'attached' from rdb$database;\n");
    QByteArray answer;
    for (int i = 0; i < 100 && !answer.contains("attached"); ++i) {
        isql.waitForReadyRead(100);
        answer += isql.readAllStandardOutput();
    }
    ASSERT_TRUE(answer.contains("attached")) << isql.readAllStandardError().toStdString();
    const CliRun r = inFolder({"revised", "--mode", "DROGARIA", "--cnpj", kStore});
    isql.closeWriteChannel();
    isql.waitForFinished();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("está aberto com exclusividade por outro programa"))) << r.err.toStdString();
}

// A user logging out sends SIGTERM to the window: it ends at once with exit 0 and leaves the
// embedded database free for the next program.
TEST_F(Tool, TheWindowEndsOnSigtermAndFreesTheDatabase)
{
    QProcess window;
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(env);
    window.start(folder() + QStringLiteral("/livros"), {QStringLiteral("DROGARIA")});
    ASSERT_TRUE(window.waitForStarted());
    // Ready once it holds the main database open.
    const QString fds = QStringLiteral("/proc/%1/fd").arg(window.processId());
    bool holding = false;
    for (int tries = 0; tries < 600 && !holding && window.state() == QProcess::Running; ++tries) {
        for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            holding = holding || fd.symLinkTarget().endsWith(QLatin1String("dados/quilmara.bd"));
        if (!holding)
            window.waitForFinished(100);
    }
    ASSERT_TRUE(holding) << window.readAllStandardError().toStdString();

    window.terminate(); // SIGTERM
    ASSERT_TRUE(window.waitForFinished(30000)) << "still running 30 s after SIGTERM";
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), 0) << window.readAllStandardError().toStdString();
    const CliRun after = inFolder({"books", "--cnpj", kStore});
    EXPECT_EQ(after.code, 0) << after.err.toStdString();
}
