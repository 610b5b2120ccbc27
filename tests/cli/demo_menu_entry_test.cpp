// The menu entry of a demo installation, made from the package's own entry: every run mode opens
// the demo's copy of the window with the demo as suite folder, whatever the folder's name holds.
#include "cli/demo_menu_entry.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros::cli;

namespace {
QString packagedEntry()
{
    QFile file(QStringLiteral(LIVROS_SOURCE_DIR "/packaging/br.com.zunsistemas.livros.desktop"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

TEST(DemoMenuEntryTest, ExecArgumentsQuotedByTheEntryRules)
{
    EXPECT_EQ(desktopExecArgument("/home/ana/farmacia/livros"), "/home/ana/farmacia/livros");
    EXPECT_EQ(desktopExecArgument("/home/ana/minha farmacia"), "\"/home/ana/minha farmacia\"");
    EXPECT_EQ(desktopExecArgument("/srv/a$b"), "\"/srv/a\\\\$b\"");
    EXPECT_EQ(desktopExecArgument("/srv/a\\b"), "\"/srv/a\\\\\\\\b\"");
    EXPECT_EQ(desktopExecArgument("/srv/100%"), "/srv/100%%");
}

TEST(DemoMenuEntryTest, EveryActionOpensTheDemoInItsMode)
{
    const QString installed = packagedEntry();
    ASSERT_FALSE(installed.isEmpty());
    const QString entry = demoMenuEntry(installed, QStringLiteral("/home/ana/farmacia"));
    const QString launch = QStringLiteral("Exec=env QUILMARA_HOME=/home/ana/farmacia /home/ana/farmacia/livros");
    EXPECT_EQ(entry.count(QStringLiteral("\nExec=")), installed.count(QStringLiteral("\nExec=")));
    EXPECT_EQ(entry.count(QStringLiteral("\nExec=env ")), installed.count(QStringLiteral("\nExec=")));
    for (const char* mode : {"DROGARIA", "INSUMOSCOMPLETO", "SIPROQUIM", "DROGARIAVIEW", "INSUMOSCOMPLETOVIEW",
                             "SIPROQUIMVIEW"})
        EXPECT_TRUE(entry.contains(launch + QLatin1Char(' ') + QLatin1String(mode) + QLatin1Char('\n'))) << mode;
    EXPECT_TRUE(entry.contains(launch + QLatin1Char('\n')));  // the classic book: no argument
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName=Livros (/home/ana/farmacia)\n")));
    // The actions' own names are kept.
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName[pt_BR]=Ver o livro da drogaria já montado\n")));
}

TEST(DemoMenuEntryTest, OddFolderNamesGiveAValidEntry)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.desktop"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(demoMenuEntry(packagedEntry(), QStringLiteral("/home/ana/minha farmácia $1 \\ 50%")).toUtf8());
    file.close();
    QProcess process;
    process.start(validator, {path});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
}
