// livros-cli as a hostile user meets it, through the program on a demo installation: inputs that
// are no regular file of a sane size, a lock timeout that is no whole number of seconds, a map of
// a month still running, a mistyped output folder. Each is refused with its reason and its exit
// code, and nothing aborts.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct CliRun {
    int code = -1;
    QString err;
    QByteArray out;
};

QTemporaryDir* g_dir = nullptr;
QString folder() { return g_dir->path(); }

CliRun cli(const QStringList& arguments, const QString& lockTimeout = {}, int waitMs = 300000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILMARA_HOME"), folder());
    if (!lockTimeout.isNull())
        env.insert(QStringLiteral("LIVROS_LOCK_TIMEOUT"), lockTimeout);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LIVROS_CLI), QStringList{QStringLiteral("--folder"), folder()} + arguments);
    if (!p.waitForFinished(waitMs)) {
        p.kill();
        p.waitForFinished();
        return {-2, QStringLiteral("did not end"), {}};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : 128 + p.exitCode(),
            QString::fromUtf8(p.readAllStandardError()), p.readAllStandardOutput()};
}

const QString kStore = QStringLiteral("90782155000110");

class HostileInput : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_dir = new QTemporaryDir;
        QProcess demo;
        demo.start(QStringLiteral(LIVROS_CLI), {QStringLiteral("demo"), g_dir->path(), QStringLiteral("--seed"), QStringLiteral("3")});
        ASSERT_TRUE(demo.waitForFinished(300000));
        ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite() { delete g_dir; }
};

} // namespace

TEST_F(HostileInput, FilesToReadMustBeRegularAndOfASaneSize)
{
    const QString fifo = folder() + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile huge(folder() + QStringLiteral("/huge.txt"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(300) * 1024 * 1024)); // sparse: no disk taken
    huge.close();

    struct Case {
        QString file;
        const char* reason;
    };
    for (const Case& c : {Case{QStringLiteral("/dev/zero"), "dispositivo"}, Case{fifo, "pipe"}, Case{folder(), "pasta"},
                          Case{huge.fileName(), "o limite é 64,0 MB"}}) {
        QElapsedTimer clock;
        clock.start();
        const CliRun run = cli({QStringLiteral("siproquim-map"), QStringLiteral("--check"), c.file}, {}, 30000);
        EXPECT_EQ(run.code, 1) << c.file.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.reason))) << run.err.toStdString();
        EXPECT_LT(clock.elapsed(), 20000) << c.file.toStdString();
    }
}

TEST_F(HostileInput, LockTimeoutIsWholeSecondsOrAUsageError)
{
    const QStringList build = {QStringLiteral("revised"), QStringLiteral("--mode"), QStringLiteral("DROGARIA"),
                               QStringLiteral("--cnpj"), kStore};
    for (const char* bad : {"-1", "abc", "1.5", "60s"}) {
        const CliRun run = cli(build, QString::fromLatin1(bad));
        EXPECT_EQ(run.code, 2) << bad << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("LIVROS_LOCK_TIMEOUT inválido: \"%1\"").arg(QLatin1String(bad))))
            << run.err.toStdString();
    }
    for (const char* good : {"0", "5", ""}) {
        const CliRun run = cli(build, QString::fromLatin1(good));
        EXPECT_EQ(run.code, 0) << good << ": " << run.err.toStdString();
    }
}

TEST_F(HostileInput, HelpAndVersionAfterTheProgramFolder)
{
    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("livros-cli"));
    const CliRun version = cli({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith("livros-cli "));
}

TEST_F(HostileInput, MapOfAMonthStillRunningOrIntoAMistypedFolderIsRefused)
{
    const QDate today = QDate::currentDate();
    const QString thisMonth = QStringLiteral("%1/%2").arg(today.month()).arg(today.year());
    for (const QString& month : {thisMonth, QStringLiteral("12/2099")}) {
        const CliRun run = cli({QStringLiteral("siproquim-map"), QStringLiteral("--month"), month, QStringLiteral("--cnpj"),
                                kStore, QStringLiteral("--out"), folder()});
        EXPECT_EQ(run.code, 3) << month.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("o mês ainda não terminou"))) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(folder()).entryList({QStringLiteral("M2*.txt")}).isEmpty());

    const QDate previous = today.addMonths(-1);
    const QString mistyped = folder() + QStringLiteral("/mapaz/2026");
    const CliRun run = cli({QStringLiteral("siproquim-map"), QStringLiteral("--month"),
                            QStringLiteral("%1/%2").arg(previous.month()).arg(previous.year()), QStringLiteral("--cnpj"), kStore,
                            QStringLiteral("--out"), mistyped});
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("não existe"))) << run.err.toStdString();
    EXPECT_FALSE(QDir(folder() + QStringLiteral("/mapaz")).exists());
}
