// Issuing periods on a book's numbered sheets, the archive, the refusals and the terms, over a
// real installation (embedded Firebird) with the project files of rpt/.
#include "book/register/archive_check.h"
#include "book/register/book_issue.h"
#include "book/register/book_listing_text.h"
#include "book/register/book_terms.h"
#include "platform/output_file.h"
#include "platform/sql_literal.h"
#include "report/report_error.h"
#include "report_test_util.h"
#include "shared_suite_test.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace livros;
using namespace livros::registerbook;
using livros::report::testing::pdfPages;

namespace {

const QString kStore = QStringLiteral("11222333000181");

class RegisterBookTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        QDir(suite().folder() + QStringLiteral("Livros")).removeRecursively();
        dm = suite().makeDataModule();
    }

    void company(const QString& sheets, const QString& firstNumber)
    {
        suite().execMain(QStringLiteral(
            "insert into DADOSGER (FIRMA, FARMACIA, FARMACEUTICO, CRF_Q, CNPJ, ENDERECO, NUMERO, BAIRRO, CIDADE, ESTADO, "
            "CEP, INSCRICAOEST, SECRETARIA_SAUDE, AUTORIDADE_SANITARIA, QDEFOLHAS, NUMEROINICIAL) values ("
            "'Farmácia Ipê Ltda', 'Ipê Manipulação', 'João Araújo', 'CRF-GO 12345', '%1', 'Rua 7', '120', 'Centro', "
            "'Goiânia', 'GO', '74000-100', '10.123.456-7', 'Secretaria Municipal de Saúde de Goiânia', "
            "'Vigilância Sanitária de Goiânia', %2, %3)")
                                 .arg(kStore, sheets, firstNumber));
    }

    // The drugstore book without products: each period takes one sheet (its "no movement" page).
    IssueResult issue(QDate from, QDate to)
    {
        IssueRequest request;
        request.kind = RegisterBookKind::Drogaria;
        request.cnpj = kStore;
        request.from = from;
        request.to = to;
        request.programFolder = livros::testing::sourceDir() + QLatin1Char('/');
        request.today = today;
        return issuePeriod(*dm, request);
    }

    QString term(TermKind kind, const QString& pdf)
    {
        TermRequest request;
        request.kind = RegisterBookKind::Classic1;
        request.cnpj = kStore;
        request.term = kind;
        request.today = QDate(2026, 12, 9);
        return writeTermPdf(*dm, request, livros::testing::sourceDir() + QLatin1Char('/'), pdf);
    }

    QStringList listing(int* problems)
    {
        RegisterBookRecords records(dm->sqlcon2);
        return registerBooksListing(records, kStore, problems);
    }

    std::unique_ptr<data::TDM> dm;
    QDate today{2027, 1, 15};
};

const QDate kNov1(2026, 11, 1), kNov30(2026, 11, 30), kDec1(2026, 12, 1), kDec31(2026, 12, 31);

TEST_F(RegisterBookTest, SheetsContinueFromTheLastIssuedOneAndTheArchiveKeepsEachFileAsRecorded)
{
    company(QStringLiteral("10"), QStringLiteral("5"));
    const IssueResult november = issue(kNov1, kNov30);
    ASSERT_EQ(november.outcome, IssueOutcome::Issued) << november.message.toStdString();
    const QByteArray novemberBytes = [&] { QFile f(november.archivePath); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const IssueResult december = issue(kDec1, kDec31);
    ASSERT_EQ(december.outcome, IssueOutcome::Issued) << december.message.toStdString();

    EXPECT_EQ(november.period.firstSheet, 5);
    EXPECT_EQ(november.period.lastSheet, 5);
    EXPECT_EQ(december.period.firstSheet, 6);
    EXPECT_TRUE(pdfPages(december.archivePath).value(0).contains(QStringLiteral("Folha 6")));
    EXPECT_TRUE(december.archivePath.startsWith(suite().folder() + QStringLiteral("Livros/emitidos/%1/DROGARIA/").arg(kStore)));

    // The records name each file with the hash of what it holds, and the first is unchanged.
    const QStringList rows = suite().rowsInterface(
        QStringLiteral("select FOLHAINICIAL, FOLHAFINAL, ARQUIVO, SHA256 from LIVROS_EMISSAO order by FOLHAINICIAL"));
    ASSERT_EQ(rows.size(), 2);
    for (const QString& row : rows) {
        const QStringList cells = row.split(QLatin1Char('|'));
        EXPECT_EQ(fileDigest(archivedFilePath(cells[2])).sha256, cells[3].trimmed()) << row.toStdString();
    }
    QFile again(november.archivePath);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), novemberBytes);
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select FOLHASEMITIDAS from LIVROS_LIVRO")), QStringLiteral("2"));
}

TEST_F(RegisterBookTest, AnOverlappingPeriodIsRefusedNamingItsSheetsAndFile)
{
    company(QStringLiteral("10"), QStringLiteral("1"));
    const IssueResult november = issue(kNov1, kNov30);
    ASSERT_EQ(november.outcome, IssueOutcome::Issued);
    for (const auto& [from, to] : {std::pair{kNov1, kNov30}, std::pair{QDate(2026, 11, 30), kDec31}}) {
        const IssueResult again = issue(from, to);
        EXPECT_EQ(again.outcome, IssueOutcome::Refused);
        EXPECT_TRUE(again.message.contains(QStringLiteral("folhas 1 a 1"))) << again.message.toStdString();
        EXPECT_TRUE(again.message.contains(QDir::toNativeSeparators(november.archivePath))) << again.message.toStdString();
    }
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_EMISSAO")), QStringLiteral("1"));
}

TEST_F(RegisterBookTest, NoMoreSheetsThanAuthorisedAndTheNextBookStartsAtSheetOneAfterClosing)
{
    company(QStringLiteral("2"), QStringLiteral("7"));
    ASSERT_EQ(issue(QDate(2026, 10, 1), QDate(2026, 10, 31)).outcome, IssueOutcome::Issued);
    ASSERT_EQ(issue(kNov1, kNov30).outcome, IssueOutcome::Issued);
    const IssueResult full = issue(kDec1, kDec31);
    EXPECT_EQ(full.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(full.message.contains(QStringLiteral("restam 0"))) << full.message.toStdString();

    TermRequest closing;
    closing.kind = RegisterBookKind::Drogaria;
    closing.cnpj = kStore;
    closing.term = TermKind::Closing;
    QTemporaryDir dir;
    ASSERT_EQ(writeTermPdf(*dm, closing, livros::testing::sourceDir() + QLatin1Char('/'), dir.filePath("fim.pdf")), QString());
    EXPECT_TRUE(pdfPages(dir.filePath("fim.pdf")).value(0).contains(QStringLiteral("2 folhas usadas, da folha 7 à folha 8")));
    EXPECT_FALSE(writeTermPdf(*dm, closing, livros::testing::sourceDir() + QLatin1Char('/'), dir.filePath("de-novo.pdf")).isEmpty());

    const IssueResult next = issue(kDec1, kDec31);
    ASSERT_EQ(next.outcome, IssueOutcome::Issued) << next.message.toStdString();
    EXPECT_EQ(next.book.number, 2);
    EXPECT_EQ(next.period.firstSheet, 1);
}

TEST_F(RegisterBookTest, MissingCompanyNumbersAndABookBuiltForAnotherPeriodAreRefused)
{
    company(QStringLiteral("NULL"), QStringLiteral("1"));
    const IssueResult noSheets = issue(kNov1, kNov30);
    EXPECT_EQ(noSheets.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(noSheets.message.contains(QStringLiteral("QDEFOLHAS"))) << noSheets.message.toStdString();
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO")), QStringLiteral("0"));

    suite().execMain(QStringLiteral("update DADOSGER set QDEFOLHAS = 10, NUMEROINICIAL = NULL"));
    EXPECT_TRUE(issue(kNov1, kNov30).message.contains(QStringLiteral("NUMEROINICIAL")));

    suite().execMain(QStringLiteral("update DADOSGER set NUMEROINICIAL = 1"));
    suite().execMain(QStringLiteral("insert into LIVROREVCONTR (ID, CNPJ, DATA, PERIODO, REGMSMEDICAM, DCB) values "
                                    "(1, '%1', '2026-10-01', '01/10/2026 a 31/10/2026', '123', '')").arg(kStore));
    const IssueResult other = issue(kNov1, kNov30);
    EXPECT_EQ(other.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(other.message.contains(QStringLiteral("01/10/2026 a 31/10/2026"))) << other.message.toStdString();
    EXPECT_FALSE(QDir(suite().folder() + QStringLiteral("Livros/emitidos")).exists());
}

TEST_F(RegisterBookTest, TheTermsStateTheBookTheCompanyAndTheSheets)
{
    company(QStringLiteral("200"), QStringLiteral("1"));
    QTemporaryDir dir;
    EXPECT_TRUE(term(TermKind::Closing, dir.filePath("fim.pdf")).contains(QStringLiteral("não tem folhas emitidas")));
    ASSERT_EQ(term(TermKind::Opening, dir.filePath("abertura.pdf")), QString());
    const QString text = pdfPages(dir.filePath("abertura.pdf")).join(QString()).simplified();
    for (const char* expected :
         {"TERMO DE ABERTURA", "Livro de Registro Específico nº 1", "200 folhas numeradas tipograficamente",
          "da folha 1 à folha 200", "servirá para o Registro de Medicamentos entorpecentes - Listas A1 e A2",
          "Farmácia Ipê Ltda", "Ipê Manipulação", "Rua 7, 120", "bairro Centro", "Goiânia/GO", "CEP 74000-100",
          "inscrição estadual 10.123.456-7", "CNPJ 11.222.333/0001-81", "João Araújo", "CRF-GO 12345",
          "Goiânia/GO, 9 de dezembro de 2026", "Secretaria Municipal de Saúde de Goiânia", "Vigilância Sanitária de Goiânia",
          "Assinatura e carimbo da autoridade sanitária"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(suite().rowsInterface(QStringLiteral("select LIVRO, NUMERO, FOLHAINICIAL, FOLHASAUTORIZADAS from LIVROS_LIVRO")),
              QStringList{QStringLiteral("CLASSIC1|1|1|200")});
}

TEST_F(RegisterBookTest, PeriodsAreIssuedOnlyOnceEndedAndInOrderAndTheListingShowsTheGaps)
{
    company(QStringLiteral("10"), QStringLiteral("1"));
    today = QDate(2026, 12, 9);
    const IssueResult unfinished = issue(kDec1, kDec31);
    EXPECT_EQ(unfinished.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(unfinished.message.contains(QStringLiteral("termina depois de hoje (09/12/2026)"))) << unfinished.message.toStdString();
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO")), QStringLiteral("0"));

    ASSERT_EQ(issue(kNov1, kNov30).outcome, IssueOutcome::Issued);
    const IssueResult earlier = issue(QDate(2026, 9, 1), QDate(2026, 9, 30));
    EXPECT_EQ(earlier.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(earlier.message.contains(QStringLiteral("anterior ao último emitido"))) << earlier.message.toStdString();
    EXPECT_TRUE(earlier.message.contains(QStringLiteral("novo registro datado"))) << earlier.message.toStdString();

    today = QDate(2027, 3, 1);
    ASSERT_EQ(issue(QDate(2027, 2, 1), QDate(2027, 2, 28)).outcome, IssueOutcome::Issued);
    int problems = -1;
    const QStringList lines = listing(&problems);
    EXPECT_EQ(problems, 0);
    EXPECT_TRUE(lines.contains(QStringLiteral("    lacuna: de 01/12/2026 a 31/01/2027 não foi emitido"))) << lines.join('\n').toStdString();
}

TEST_F(RegisterBookTest, AMissingOrAlteredArchivedFileIsNamedWithWhatToDo)
{
    company(QStringLiteral("10"), QStringLiteral("1"));
    const IssueResult october = issue(QDate(2026, 10, 1), QDate(2026, 10, 31));
    const IssueResult november = issue(kNov1, kNov30);
    ASSERT_EQ(november.outcome, IssueOutcome::Issued);
    // The record holds the size of what was written and verified.
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select TAMANHO from LIVROS_EMISSAO where FOLHAINICIAL = 2")),
              QString::number(QFileInfo(november.archivePath).size()));

    QFile::setPermissions(november.archivePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile altered(november.archivePath);
    ASSERT_TRUE(altered.open(QIODevice::Append));
    altered.write("\n% alterado\n");
    altered.close();
    ASSERT_TRUE(QFile::remove(october.archivePath));

    int problems = 0;
    const QString text = listing(&problems).join('\n');
    EXPECT_EQ(problems, 2) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("não existe mais. Restaure-o da cópia de segurança"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("foi alterado depois da emissão"))) << text.toStdString();

    // Asked to issue the period again, the refusal does not send the user to a file that is gone.
    const IssueResult again = issue(QDate(2026, 10, 1), QDate(2026, 10, 31));
    EXPECT_EQ(again.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(again.message.contains(QStringLiteral("não existe mais"))) << again.message.toStdString();
}

TEST_F(RegisterBookTest, AFileLeftByAnInterruptedIssueIsMovedAsideAndBlocksNothing)
{
    company(QStringLiteral("10"), QStringLiteral("1"));
    // What an issue stopped between its file and its record leaves: the file under the very name
    // the period's issue takes.
    const QString folder = archiveFolder(kStore, RegisterBookKind::Drogaria);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString leftover = QDir(folder).filePath(QStringLiteral("livro01_2026-11-01_a_2026-11-30_folhas_0001-0001.pdf"));
    QFile file(leftover);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4 interrompido");
    file.close();

    const IssueResult november = issue(kNov1, kNov30);
    ASSERT_EQ(november.outcome, IssueOutcome::Issued) << november.message.toStdString();
    EXPECT_EQ(november.archivePath, leftover);
    ASSERT_EQ(november.notices.size(), 1);
    EXPECT_TRUE(november.notices[0].contains(QStringLiteral("não tem registro de emissão"))) << november.notices[0].toStdString();
    QFile aside(QDir(folder).filePath(QStringLiteral("sem-registro/livro01_2026-11-01_a_2026-11-30_folhas_0001-0001.pdf")));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), QByteArray("%PDF-1.4 interrompido"));
    EXPECT_EQ(fileDigest(leftover).sha256, november.period.sha256);
}

TEST_F(RegisterBookTest, APeriodLongerThanTheSheetsLeftSaysWhatItNeedsAndOpensNoBook)
{
    company(QStringLiteral("1"), QStringLiteral("1"));
    // Two products with lines: the book of the period takes more than one sheet.
    for (int i = 1; i <= 60; ++i)
        suite().execMain(QStringLiteral("insert into LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO, PERIODO, REGMSMEDICAM, DCB, "
                                        "COMPONENTE) values (%1, '%2', '2026-11-%3', 'Venda %1', '01/11/2026 a 30/11/2026', "
                                        "'1%4', '', 'Produto %4')")
                             .arg(i)
                             .arg(kStore)
                             .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                             .arg(i % 2));
    const IssueResult tooLong = issue(kNov1, kNov30);
    ASSERT_EQ(tooLong.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(tooLong.message.contains(QStringLiteral("tem só 1 folhas autorizadas"))) << tooLong.message.toStdString();
    EXPECT_TRUE(tooLong.message.contains(QStringLiteral("Divida o período"))) << tooLong.message.toStdString();
    EXPECT_FALSE(tooLong.message.contains(QStringLiteral("termo de encerramento"))) << tooLong.message.toStdString();
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO")), QStringLiteral("0"));

    // A first sheet number whose book would run past the numbering opens nothing either.
    suite().execMain(QStringLiteral("update DADOSGER set QDEFOLHAS = 200, NUMEROINICIAL = 2147483640"));
    const IssueResult overflow = issue(kNov1, kNov30);
    EXPECT_EQ(overflow.outcome, IssueOutcome::Refused);
    EXPECT_TRUE(overflow.message.contains(QStringLiteral("NUMEROINICIAL"))) << overflow.message.toStdString();
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO")), QStringLiteral("0"));
}

TEST_F(RegisterBookTest, AClosingTermThatCannotBeWrittenLeavesTheBookOpen)
{
    company(QStringLiteral("10"), QStringLiteral("1"));
    TermRequest closing;
    closing.kind = RegisterBookKind::Drogaria;
    closing.cnpj = kStore;
    closing.term = TermKind::Closing;
    ASSERT_EQ(issue(kNov1, kNov30).outcome, IssueOutcome::Issued);
    EXPECT_THROW(writeTermPdf(*dm, closing, livros::testing::sourceDir() + QLatin1Char('/'), QStringLiteral("/dev/full")),
                 report::ReportError);
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO where ENCERRAMENTO is null")),
              QStringLiteral("1"));
    // An opening term that cannot be written opens no book.
    TermRequest opening;
    opening.kind = RegisterBookKind::Classic3;
    opening.cnpj = kStore;
    EXPECT_THROW(writeTermPdf(*dm, opening, livros::testing::sourceDir() + QLatin1Char('/'), QStringLiteral("/dev/full")),
                 report::ReportError);
    EXPECT_EQ(suite().scalarInterface(QStringLiteral("select count(*) from LIVROS_LIVRO")), QStringLiteral("1"));
}

TEST_F(RegisterBookTest, ABranchTermLeavesItsAddressBlankInsteadOfTheHeadOffices)
{
    company(QStringLiteral("200"), QStringLiteral("1"));
    TermRequest request;
    request.kind = RegisterBookKind::Classic2;
    request.cnpj = QStringLiteral("44555666000199");
    request.today = QDate(2026, 12, 9);
    QTemporaryDir dir;
    ASSERT_EQ(writeTermPdf(*dm, request, livros::testing::sourceDir() + QLatin1Char('/'), dir.filePath("filial.pdf")), QString());
    const QString text = pdfPages(dir.filePath("filial.pdf")).join(QString()).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("CNPJ 44.555.666/0001-99"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Rua 7"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("10.123.456-7"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Goiânia/GO, 9 de dezembro"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("preenchidos à mão"))) << text.toStdString();
    // The company's name and pharmacist are the firm's, and stay.
    EXPECT_TRUE(text.contains(QStringLiteral("Farmácia Ipê Ltda"))) << text.toStdString();
}

} // namespace
