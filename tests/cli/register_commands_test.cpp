// The book's life through livros-cli, as a newcomer tries it on the demo installation: open the
// book, issue two months, the same month again, close the book, issue into the next book.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class RegisterCommandsTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUILMARA_HOME"), dir.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(LIVROS_CLI), QStringList{QStringLiteral("--folder"), dir.path()} + arguments);
        process.waitForFinished(300000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    CliRun issue(const QString& from, const QString& to)
    {
        return cli({QStringLiteral("issue"), QStringLiteral("--book"), QStringLiteral("DROGARIA"), QStringLiteral("--from"),
                    from, QStringLiteral("--to"), to});
    }
    CliRun term(const QString& which, const QString& pdf)
    {
        return cli({QStringLiteral("terms"), QStringLiteral("--book"), QStringLiteral("DROGARIA"), which,
                    QStringLiteral("--pdf"), dir.filePath(pdf)});
    }

    QTemporaryDir dir;
};

TEST_F(RegisterCommandsTest, OpenIssueRefuseCloseAndIssueIntoTheNextBook)
{
    ASSERT_EQ(cli({QStringLiteral("demo"), dir.path(), QStringLiteral("--single-store")}).exitCode, 0);
    ASSERT_EQ(term(QStringLiteral("--opening"), QStringLiteral("abertura.pdf")).exitCode, 0);

    const CliRun september = issue(QStringLiteral("01/09/26"), QStringLiteral("30/09/26"));
    ASSERT_EQ(september.exitCode, 0) << september.err.toStdString();
    EXPECT_TRUE(september.out.contains(QStringLiteral("nas folhas 1 a "))) << september.out.toStdString();
    const CliRun october = issue(QStringLiteral("01/10/26"), QStringLiteral("31/10/26"));
    ASSERT_EQ(october.exitCode, 0) << october.err.toStdString();
    EXPECT_FALSE(october.out.contains(QStringLiteral("nas folhas 1 a "))) << october.out.toStdString();

    const CliRun again = issue(QStringLiteral("01/09/26"), QStringLiteral("30/09/26"));
    EXPECT_EQ(again.exitCode, 3);
    EXPECT_TRUE(again.err.contains(QStringLiteral("já foi emitido"))) << again.err.toStdString();

    ASSERT_EQ(term(QStringLiteral("--closing"), QStringLiteral("encerramento.pdf")).exitCode, 0);
    EXPECT_EQ(term(QStringLiteral("--closing"), QStringLiteral("de-novo.pdf")).exitCode, 3);
    const CliRun november = issue(QStringLiteral("01/11/26"), QStringLiteral("30/11/26"));
    ASSERT_EQ(november.exitCode, 0) << november.err.toStdString();
    EXPECT_TRUE(november.out.contains(QStringLiteral("nas folhas 1 a "))) << november.out.toStdString();
    EXPECT_TRUE(november.out.contains(QStringLiteral("livro nº 2"))) << november.out.toStdString();

    const CliRun books = cli({QStringLiteral("books")});
    EXPECT_EQ(books.exitCode, 0);
    EXPECT_EQ(books.out.count(QStringLiteral("SHA-256")), 3) << books.out.toStdString();
    // A CNPJ that names no store of the installation is a usage error, never an empty book record.
    const CliRun stranger = cli({QStringLiteral("books"), QStringLiteral("--cnpj"), QStringLiteral("11222333000181")});
    EXPECT_EQ(stranger.exitCode, 2);
    EXPECT_TRUE(stranger.out.isEmpty()) << stranger.out.toStdString();
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("Livros/emitidos/29790139000168/DROGARIA"))).entryList(QDir::Files).size(), 3);
}

// The tool's output files: devices and pipes are written through, "-" is standard output, a
// refused run touches nothing, and nothing is written into the archive of issued books.
TEST_F(RegisterCommandsTest, OutputsGoThroughDevicesPipesAndStandardOutputAndRefusalsKeepTheirCodes)
{
    ASSERT_EQ(cli({QStringLiteral("demo"), dir.path(), QStringLiteral("--single-store")}).exitCode, 0);
    // The classic book of a store was not built: said so, no empty book.
    const CliRun unbuilt = cli({QStringLiteral("export"), QStringLiteral("--book"), QStringLiteral("CLASSIC"), QStringLiteral("--pdf"),
                                dir.filePath(QStringLiteral("classico.pdf"))});
    EXPECT_EQ(unbuilt.exitCode, 3) << unbuilt.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("classico.pdf"))));
    const CliRun listed = cli({QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("2"), QStringLiteral("--from"),
                               QStringLiteral("01/11/26"), QStringLiteral("--to"), QStringLiteral("30/11/26"),
                               QStringLiteral("--listing"), QStringLiteral("/dev/null")});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_FALSE(listed.err.contains(QStringLiteral("seek"))) << listed.err.toStdString();
    const CliRun badDate = cli({QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("2"), QStringLiteral("--from"),
                                QStringLiteral("31/02/26"), QStringLiteral("--to"), QStringLiteral("30/11/26"),
                                QStringLiteral("--listing"), QStringLiteral("/dev/null")});
    EXPECT_EQ(badDate.exitCode, 3) << badDate.err.toStdString();
    const QString kept = dir.filePath(QStringLiteral("listagem.txt"));
    QFile older(kept);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("anterior");
    older.close();
    const CliRun stranger = cli({QStringLiteral("classic"), QStringLiteral("--group"), QStringLiteral("2"), QStringLiteral("--cnpj"),
                                 QStringLiteral("11222333000181"), QStringLiteral("--listing"), kept});
    EXPECT_EQ(stranger.exitCode, 2) << stranger.err.toStdString();
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("anterior"));
    older.close();

    // A pipe stays a pipe and its reader gets the whole PDF.
    const QString fifo = dir.filePath(QStringLiteral("termo.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    EXPECT_EQ(term(QStringLiteral("--opening"), QStringLiteral("termo.fifo")).exitCode, 0);
    ASSERT_TRUE(reader.waitForFinished(60000));
    const QByteArray piped = reader.readAllStandardOutput();
    EXPECT_TRUE(piped.startsWith("%PDF-") && piped.trimmed().endsWith("%%EOF")) << piped.left(20).toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // "-" is standard output, never a file named "-".
    const CliRun standard = cli({QStringLiteral("terms"), QStringLiteral("--book"), QStringLiteral("DROGARIA"),
                                 QStringLiteral("--opening"), QStringLiteral("--pdf"), QStringLiteral("-")});
    EXPECT_EQ(standard.exitCode, 0) << standard.err.toStdString();
    EXPECT_TRUE(standard.out.startsWith(QStringLiteral("%PDF-")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("-")));

    // A closing term that cannot be written exits 1 and leaves the book open.
    ASSERT_EQ(issue(QStringLiteral("01/09/26"), QStringLiteral("30/09/26")).exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("terms"), QStringLiteral("--book"), QStringLiteral("DROGARIA"), QStringLiteral("--closing"),
                   QStringLiteral("--pdf"), QStringLiteral("/dev/full")})
                  .exitCode,
              1);
    EXPECT_TRUE(cli({QStringLiteral("books")}).out.contains(QStringLiteral("em uso")));

    // Nothing is written into the archive; an archived file that is gone makes books exit 3.
    const QString archive = dir.filePath(QStringLiteral("Livros/emitidos/29790139000168/DROGARIA"));
    const QStringList archived = QDir(archive).entryList(QDir::Files);
    ASSERT_EQ(archived.size(), 1);
    const CliRun inside = cli({QStringLiteral("export"), QStringLiteral("--book"), QStringLiteral("DROGARIA"), QStringLiteral("--pdf"),
                               QDir(archive).filePath(archived[0])});
    EXPECT_EQ(inside.exitCode, 2) << inside.err.toStdString();
    EXPECT_TRUE(inside.err.contains(QStringLiteral("livros emitidos"))) << inside.err.toStdString();
    const CliRun copyInside = cli({QStringLiteral("issue"), QStringLiteral("--book"), QStringLiteral("DROGARIA"), QStringLiteral("--from"),
                                   QStringLiteral("01/10/26"), QStringLiteral("--to"), QStringLiteral("31/10/26"),
                                   QStringLiteral("--pdf"), QDir(archive).filePath(QStringLiteral("copia.pdf"))});
    EXPECT_EQ(copyInside.exitCode, 2) << copyInside.err.toStdString();
    EXPECT_EQ(QDir(archive).entryList(QDir::Files), archived);
    ASSERT_TRUE(QFile::remove(QDir(archive).filePath(archived[0])));
    const CliRun books = cli({QStringLiteral("books")});
    EXPECT_EQ(books.exitCode, 3);
    EXPECT_TRUE(books.out.contains(QStringLiteral("não existe mais"))) << books.out.toStdString();
}

// A disk that fills up while the book is written: the issue fails (exit 1), records nothing and
// leaves no file; the same for an export. Needs the administrator to mount a small disk.
TEST_F(RegisterCommandsTest, AFullDiskIssuesNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_EQ(cli({QStringLiteral("demo"), dir.path(), QStringLiteral("--single-store")}).exitCode, 0);
    const QString small = dir.filePath(QStringLiteral("Livros"));
    ASSERT_TRUE(QDir().mkpath(small));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=48k"), QStringLiteral("tmpfs"), small})
        != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
    } unmount{small};

    const CliRun full = issue(QStringLiteral("01/09/26"), QStringLiteral("30/09/26"));
    EXPECT_EQ(full.exitCode, 1) << full.out.toStdString() << full.err.toStdString();
    EXPECT_TRUE(full.err.contains(QStringLiteral("não há espaço"))) << full.err.toStdString();
    const CliRun books = cli({QStringLiteral("books")});
    EXPECT_EQ(books.exitCode, 0);
    EXPECT_FALSE(books.out.contains(QStringLiteral("SHA-256"))) << books.out.toStdString();
    const QString archive = small + QStringLiteral("/emitidos/29790139000168/DROGARIA");
    EXPECT_TRUE(QDir(archive).entryList(QDir::Files).isEmpty()) << QDir(archive).entryList(QDir::Files).join(' ').toStdString();

    ASSERT_EQ(cli({QStringLiteral("revised"), QStringLiteral("--mode"), QStringLiteral("DROGARIA"), QStringLiteral("--from"),
                   QStringLiteral("01/09/26"), QStringLiteral("--to"), QStringLiteral("30/09/26")})
                  .exitCode,
              0);
    const CliRun exported = cli({QStringLiteral("export"), QStringLiteral("--book"), QStringLiteral("DROGARIA"),
                                 QStringLiteral("--pdf"), small + QStringLiteral("/livro.pdf")});
    EXPECT_EQ(exported.exitCode, 1) << exported.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(small + QStringLiteral("/livro.pdf")));
    EXPECT_TRUE(QDir(small).entryList(QDir::Files).isEmpty());
}

} // namespace
