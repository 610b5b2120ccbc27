// The book's life through livros-cli, as a newcomer tries it on the demo installation: open the
// book, issue two months, the same month again, close the book, issue into the next book.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

} // namespace
