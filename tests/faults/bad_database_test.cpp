// Broken files under a working server: the main database missing, read-only or not a database,
// the client library named by the connection path file missing or not a Firebird client. Each
// user action ends with a clear message naming the file; the program goes on, and once the file
// is put right the same data module works.
#include "book/classic/classic_preparation.h"
#include "book/classic/component_lists.h"
#include "book/revised/revised_book_builder.h"
#include "classic_test_data.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "book/stock_check.h"
#include "fault_support.h"
#include "message_recorder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace livros;
using namespace livros::faults;
using livros::classic::testing::RecordingView;
using livros::classic::testing::TestData;
using livros::revised::RevisedBookBuilder;
using livros::revised::RevisedBuildOutcome;
using livros::revised::RevisedMode;
using livros::testing::ServerSuite;

namespace {

const char kSystemClient[] = "/usr/lib/x86_64-linux-gnu/libfbclient.so.2";
// The main database as the server names it: the path of the suite's configuration.
const QString kDatabaseName = QStringLiteral("C:\\quilmara\\dados\\quilmara.bd");

class BadFiles : public ::testing::Test {
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
        QFile::remove(pathFile());
        TestData data{*s_suite};
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.inventory("2024-05-01", "C001", 10, "G");
        data.entry("2024-05-02", "C001", 5, "G");
        s_suite->releaseConnections(); // the tests move the database file
    }
    void TearDown() override
    {
        dm.reset();
        QFile::remove(pathFile());
        EXPECT_TRUE(recorder.terminations.isEmpty()) << "the program must go on";
    }

    static void setDatabaseMode(const QString& mode)
    {
        QProcess gfix;
        gfix.start(QStringLiteral("gfix"), {QStringLiteral("-mode"), mode, QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                            QStringLiteral("-password"), QStringLiteral("vrentasko"),
                                            s_suite->serverAddress() + QLatin1Char(':') + kDatabaseName});
        ASSERT_TRUE(gfix.waitForFinished(30000));
        ASSERT_EQ(gfix.exitCode(), 0) << gfix.readAllStandardError().toStdString();
    }

    static QString pathFile() { return s_suite->folder() + QStringLiteral("CaminhoGDS.txt"); }
    static QString database() { return s_suite->mainDatabasePath(); }

    // The two user actions that reach the main database: a classic preparation (after its book
    // button) and a revised build. Each gives the error text the window would show, or "".
    QString classicAction()
    {
        RecordingView view;
        try {
            const classic::ComponentLists lists = classic::loadComponentLists(*dm);
            classic::ClassicPreparationRequest request;
            request.initialDateText = QStringLiteral("01/05/24");
            request.finalDateText = QStringLiteral("03/05/24");
            request.storeCnpj = kStoreA;
            request.selectedGroup = 1;
            request.lists = &lists;
            EXPECT_EQ(classic::prepareClassicBook(*dm, view, request), classic::ClassicPreparationOutcome::Built);
            return {};
        } catch (const data::DbError& error) {
            EXPECT_TRUE(view.messages.isEmpty());
            return error.message();
        }
    }
    QString revisedAction()
    {
        RevisedView view;
        try {
            RevisedBookBuilder builder(*dm, view);
            const auto result =
                builder.build(RevisedMode::InsumosCompleto, kStoreA, QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
            EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built) << result.failureReason.toStdString();
            return {};
        } catch (const data::DbError& error) {
            EXPECT_EQ(view.previews, 0);
            return error.message();
        }
    }
    void expectBothWork()
    {
        EXPECT_EQ(classicAction(), QString());
        EXPECT_EQ(s_suite->scalarMain(QStringLiteral("select SALDO from LIVROCONTR where ID = 1")), QStringLiteral("15"));
        EXPECT_EQ(revisedAction(), QString());
        EXPECT_EQ(s_suite->scalarMain(QStringLiteral("select count(*) from LIVROREVCONTR")), QStringLiteral("2"));
        s_suite->releaseConnections();
    }

    static ServerSuite* s_suite;
    std::unique_ptr<data::TDM> dm;
    livros::testing::MessageRecorder recorder;
};

ServerSuite* BadFiles::s_suite = nullptr;

} // namespace

TEST_F(BadFiles, MissingDatabaseFile)
{
    dm = s_suite->makeDataModule();
    ASSERT_TRUE(QFile::rename(database(), database() + QStringLiteral(".away")));
    const QString classic = classicAction();
    const QString revised = revisedAction();
    ASSERT_TRUE(QFile::rename(database() + QStringLiteral(".away"), database()));
    const QString expected = QStringLiteral("erro de entrada e saída ao abrir o arquivo \"%1\"").arg(kDatabaseName);
    EXPECT_TRUE(classic.startsWith(expected)) << classic.toStdString();
    EXPECT_TRUE(revised.startsWith(expected)) << revised.toStdString();
    expectBothWork();
}

TEST_F(BadFiles, TextFileInPlaceOfTheDatabase)
{
    dm = s_suite->makeDataModule();
    ASSERT_TRUE(QFile::rename(database(), database() + QStringLiteral(".away")));
    QFile text(database());
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("[QUILMARA]\r\nEste arquivo não é um banco de dados.\r\n").repeated(200));
    text.close();
    const QString classic = classicAction();
    const QString revised = revisedAction();
    ASSERT_TRUE(QFile::remove(database()));
    ASSERT_TRUE(QFile::rename(database() + QStringLiteral(".away"), database()));
    const QString expected = QStringLiteral("o arquivo %1 não é um banco de dados válido").arg(kDatabaseName);
    EXPECT_EQ(classic, expected);
    EXPECT_EQ(revised, expected);
    expectBothWork();
}

// The server refuses a file it may not write, even to a server running as root (these tests
// run as root, which the file system alone would let write).
TEST_F(BadFiles, ReadOnlyDatabaseFile)
{
    dm = s_suite->makeDataModule();
    ASSERT_TRUE(QFile::setPermissions(database(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString classic = classicAction();
    const QString revised = revisedAction();
    ASSERT_TRUE(QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner));
    const QString expected = QStringLiteral("no permission for read-write access to database %1").arg(kDatabaseName);
    EXPECT_EQ(classic, expected);
    EXPECT_EQ(revised, expected);
    expectBothWork();
}

// A database set read-only by its administrator opens and reads, but the first write ends the
// action with a message naming the database, in both books: no book is reported built.
TEST_F(BadFiles, DatabaseMarkedReadOnly)
{
    setDatabaseMode(QStringLiteral("read_only"));
    s_suite->releaseConnections();
    dm = s_suite->makeDataModule();
    const QString expected = QStringLiteral("attempted update on read-only database\n-%1:%2\n")
                                 .arg(s_suite->serverAddress(), kDatabaseName)
        + book::bookNotBuiltSentence();
    EXPECT_EQ(classicAction(), expected);
    // The revised book's first write is its batch of lines: the server names the block's line.
    const QString revised = revisedAction();
    EXPECT_TRUE(revised.startsWith(QStringLiteral("attempted update on read-only database\n"))) << revised.toStdString();
    EXPECT_TRUE(revised.endsWith(QStringLiteral("%1:%2\n").arg(s_suite->serverAddress(), kDatabaseName)
                                 + book::bookNotBuiltSentence())) << revised.toStdString();
    dm.reset();
    setDatabaseMode(QStringLiteral("read_write"));
    s_suite->releaseConnections();
    dm = s_suite->makeDataModule();
    expectBothWork();
}

TEST_F(BadFiles, ClientLibraryMissingThenInstalled)
{
    const QString folder = s_suite->folder() + QStringLiteral("cliente");
    QDir().mkpath(folder);
    QFile::remove(folder + QStringLiteral("/libfbclient.so.2"));
    QFile path(pathFile());
    ASSERT_TRUE(path.open(QIODevice::WriteOnly));
    path.write(QFile::encodeName(folder) + "\r\n");
    path.close();
    dm = s_suite->makeDataModule();
    const QString classic = classicAction();
    const QString revised = revisedAction();
    // Names what was looked for and where, and why it was not loaded.
    const QString expected = QStringLiteral("Não foi possível carregar a biblioteca cliente do Firebird \"%1\\GDS32.DLL\", "
                                            "procurada como \"%1/libfbclient.so.2\": o arquivo não existe")
                                 .arg(folder);
    EXPECT_EQ(classic, expected);
    EXPECT_EQ(revised, expected);
    ASSERT_TRUE(QFile::link(QString::fromLatin1(kSystemClient), folder + QStringLiteral("/libfbclient.so.2")));
    expectBothWork();
}

TEST_F(BadFiles, ClientLibraryThatIsNoFirebirdClient)
{
    const QString folder = s_suite->folder() + QStringLiteral("falso");
    QDir().mkpath(folder);
    QFile::remove(folder + QStringLiteral("/libfbclient.so.2"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/lib/x86_64-linux-gnu/libz.so.1"), folder + QStringLiteral("/libfbclient.so.2")));
    QFile path(pathFile());
    ASSERT_TRUE(path.open(QIODevice::WriteOnly));
    path.write(QFile::encodeName(folder) + "\r\n");
    path.close();
    dm = s_suite->makeDataModule();
    const QString classic = classicAction();
    const QString revised = revisedAction();
    const QString expected = QStringLiteral("A biblioteca \"%1\\GDS32.DLL\" (\"%1/libfbclient.so.2\") não é uma biblioteca "
                                            "cliente do Firebird")
                                 .arg(folder);
    EXPECT_EQ(classic, expected);
    EXPECT_EQ(revised, expected);
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/libfbclient.so.2")));
    ASSERT_TRUE(QFile::link(QString::fromLatin1(kSystemClient), folder + QStringLiteral("/libfbclient.so.2")));
    expectBothWork();
}
