// Reading QUILMARA.INI and the connection path file, and where the two databases are looked for.
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/startup.h"
#include "firebird_fixture.h"
#include "message_recorder.h"
#include "platform/suite_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::data;
using livros::testing::MessageRecorder;

namespace {
QByteArray serverLine(const QByteArray& value) { return QByteArray(kServerKey) + ' ' + value; }
} // namespace

TEST(ServerAddress, ValueIsTrimmedOfBlanksOnly)
{
    EXPECT_EQ(serverAddressFromIni(serverLine("   10.0.0.5   ") + "\r\n"), QString("10.0.0.5"));
    EXPECT_EQ(serverAddressFromIni(serverLine("\t10.0.0.5 ")), QString("\t10.0.0.5"));
    EXPECT_EQ(serverAddressFromIni(serverLine("      ")), QString());
}

TEST(ServerAddress, KeyMustMatchExactly)
{
    QByteArray lower = serverLine("srv");
    lower[0] = 'i';
    EXPECT_EQ(serverAddressFromIni(lower), QString());
    const QByteArray dots24 = "IP DO SERVIDOR CENTRAL........................: srv";
    const QByteArray dots26 = "IP DO SERVIDOR CENTRAL..........................: srv";
    EXPECT_EQ(serverAddressFromIni(dots24), QString());
    EXPECT_EQ(serverAddressFromIni(dots26), QString());
    EXPECT_EQ(serverAddressFromIni(" " + serverLine("srv")), QString());
    EXPECT_EQ(serverAddressFromIni(QByteArray(kServerKey)), QString()); // 48 characters, no value
    EXPECT_EQ(serverAddressFromIni(QByteArray(kServerKey) + "x"), QString()); // 49: column 49 is ignored
}

TEST(ServerAddress, LastLineWinsAndValueIsCutToSixtyColumns)
{
    EXPECT_EQ(serverAddressFromIni(serverLine("first") + "\n[x]\n" + serverLine("second") + "\n"), QString("second"));
    const QByteArray longValue = QByteArray(59, 'a') + "bcdef";
    EXPECT_EQ(serverAddressFromIni(serverLine(longValue)), QString(QByteArray(59, 'a') + "b"));
}

TEST(ServerAddress, OddFilesStillFindTheLine)
{
    // CR-only and CRLF line ends, a byte-order mark, no final line end, binary noise around.
    EXPECT_EQ(serverAddressFromIni("[a]\r" + serverLine("cr") + "\rx"), QString("cr"));
    EXPECT_EQ(serverAddressFromIni("\xEF\xBB\xBF" + serverLine("bom")), QString("bom"));
    EXPECT_EQ(serverAddressFromIni(QByteArray("\x00\xff\x01", 3) + "\n" + serverLine("bin")), QString("bin"));
    EXPECT_EQ(serverAddressFromIni(QByteArray(100000, 'x') + "\n" + serverLine("long")), QString("long"));
    EXPECT_EQ(serverAddressFromIni(QByteArray()), QString());
}

TEST(ConnectionPathFile, FolderRules)
{
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile("C:\\fb\r\nignored\r\n")), QString("C:\\fb\\GDS32.DLL"));
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile("C:\\fb\\")), QString("C:\\fb\\GDS32.DLL"));
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile("\r\nC:\\fb")), QString());
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile("")), QString());
    const QByteArray hundred(100, 'f');
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile(hundred)), QString(hundred) + "GDS32.DLL");
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile(hundred + "zzz")), QString(hundred) + "GDS32.DLL");
    EXPECT_EQ(vendorLibForFolder(firstLineOfPathFile(QByteArray(99, 'f'))), QString(QByteArray(99, 'f')) + "\\GDS32.DLL");
}

TEST(ConnectionPathFile, OddFilesStillGiveTheFirstLine)
{
    // A byte-order mark, CR-only and LF line ends, a first line far longer than 100 characters
    // without any line end, and bytes outside ASCII (read as code page 1252, kept as they are).
    EXPECT_EQ(firstLineOfPathFile("\xEF\xBB\xBF" "C:\\fb\r\n"), QString("C:\\fb"));
    EXPECT_EQ(firstLineOfPathFile("C:\\fb\rsecond\r"), QString("C:\\fb"));
    EXPECT_EQ(firstLineOfPathFile("C:\\fb\nsecond"), QString("C:\\fb"));
    EXPECT_EQ(firstLineOfPathFile(QByteArray(100000, 'd')), QString(QByteArray(100, 'd')));
    EXPECT_EQ(firstLineOfPathFile("C:\\Arquivos de programas\\F\xEDrebird\x01\r\n"),
              QString::fromUtf8("C:\\Arquivos de programas\\Fírebird\x01"));
    EXPECT_EQ(firstLineOfPathFile("\xEF\xBB\xBF"), QString());
}

TEST(ServerAddress, BytesOutsideAsciiInTheValueAreKeptAsRead)
{
    EXPECT_EQ(serverAddressFromIni(serverLine("servidor-s\xE3o-paulo\x80\r\n")), QString::fromUtf8("servidor-são-paulo€"));
    EXPECT_EQ(serverAddressFromIni(serverLine(QByteArray("a\0b ", 4))), QString("a") + QChar(0) + QString("b"));
}

TEST(TrimSpaces, OnlySpacesCount)
{
    EXPECT_EQ(trimSpaces("  a b  "), QString("a b"));
    EXPECT_EQ(trimSpaces("\ta\t"), QString("\ta\t"));
    EXPECT_EQ(trimSpaces("    "), QString());
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("QUILMARA_HOME", QFile::encodeName(dir.path()));
        setProgramFolder(dir.path() + "/prog/");
        QDir().mkpath(dir.path() + "/prog");
    }
    void write(const QString& path, const QByteArray& contents)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    QTemporaryDir dir;
    MessageRecorder messages;
};

TEST_F(StartupTest, MissingIniShowsTheMessageAndEndsWithCodeZero)
{
    TDM dm;
    EXPECT_THROW(dm.DataModuleCreate(), ProgramTerminated);
    EXPECT_EQ(messages.infos,
              QStringList({QString::fromUtf8("Arquivo QUILMARA.INI não encontrado. Execute o programa Kestrum.exe para criá-lo.")}));
    EXPECT_EQ(messages.terminations, QList<int>({0}));
}

TEST_F(StartupTest, ServerAddressAndPathFileComposeTheConnections)
{
    write(dir.path() + "/prog/QUILMARA.INI", serverLine("  192.168.0.10/3050  ") + "\r\n");
    write(dir.path() + "/CaminhoGDS.txt", "C:\\Arquivos\\Firebird\\bin\r\n");
    TDM dm;
    dm.DataModuleCreate();
    EXPECT_TRUE(messages.all.isEmpty());
    EXPECT_EQ(dm.sqlcon1.param("DataBase"), QString("192.168.0.10/3050:C:\\quilmara\\dados\\quilmara.bd"));
    EXPECT_EQ(dm.sqlcon2.param("DataBase"), QString("192.168.0.10/3050:C:\\quilmara\\interfac\\quilmara.bd"));
    EXPECT_EQ(dm.sqlcon1.vendorLib(), QString("C:\\Arquivos\\Firebird\\bin\\GDS32.DLL"));
    EXPECT_EQ(dm.sqlcon2.vendorLib(), QString("gds32.dll")); // never given the folder
}

TEST_F(StartupTest, IniFoundWithoutRegardToLetterCase)
{
    write(dir.path() + "/prog/quilmara.ini", serverLine("srv"));
    TDM dm;
    dm.DataModuleCreate();
    EXPECT_EQ(dm.centralServerAddress(), QString("srv"));
}

TEST_F(StartupTest, UnreadableIniIsShownAndTheRemainingStepsAreSkipped)
{
    QDir().mkpath(dir.path() + "/prog/QUILMARA.INI"); // a folder where the file should be
    write(dir.path() + "/CaminhoGDS.txt", "C:\\fb\\");
    TDM dm;
    dm.DataModuleCreate();
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors.first().contains("QUILMARA.INI"));
    EXPECT_EQ(dm.sqlcon1.vendorLib(), QString("gds32.dll"));
    EXPECT_EQ(dm.sqlcon1.param("DataBase"), QString("127.0.0.1:c:\\quilmara\\Dados\\quilmara.bd")); // as designed
}

TEST_F(StartupTest, NulInsideTheConfiguredNamesIsRefusedAtFirstUseNotCut)
{
    // A NUL would end the name where the client reads it, so another database or library would
    // be opened: the first use says what is wrong instead.
    write(dir.path() + "/prog/QUILMARA.INI", serverLine(QByteArray("srv\0x", 5)) + "\r\n");
    {
        TDM dm;
        dm.DataModuleCreate();
        EXPECT_TRUE(messages.all.isEmpty());
        try {
            dm.sqlcon1.open();
            FAIL() << "a database name with a NUL must not be opened";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains("srv\\0x:")) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains("NUL")) << e.message().toStdString();
        }
    }
    write(dir.path() + "/CaminhoGDS.txt", QByteArray("C:\\fb\0x\\\r\n", 10));
    TDM dm;
    dm.DataModuleCreate();
    try {
        dm.sqlcon1.open();
        FAIL() << "a library name with a NUL must not be loaded";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("C:\\fb\\0x\\GDS32.DLL")) << e.message().toStdString();
    }
}

TEST(SuitePaths, WindowsPathsMeetInTheSuiteFolderWhateverTheirCase)
{
    QTemporaryDir dir;
    qputenv("QUILMARA_HOME", QFile::encodeName(dir.path()));
    QDir().mkpath(dir.path() + "/Dados");
    QFile f(dir.path() + "/Em_Uso.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(mapSuitePath("C:\\QUILMARA\\em_uso.TXT"), dir.path() + "/Em_Uso.txt");
    EXPECT_EQ(mapSuitePath("c:\\quilmara\\dados\\quilmara.bd"), dir.path() + "/Dados/quilmara.bd");
    EXPECT_EQ(mapSuitePath("C:\\quilmaraX\\a"), QString("C:/quilmaraX/a"));
}
