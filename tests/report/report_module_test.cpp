// The report module over a real data module on the embedded Firebird engine: the named
// connections read the book tables afresh at every run, and the command-line export writes the
// same report without any dialog.
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "report/report_error.h"
#include "report/report_export.h"
#include "report/report_module.h"
#include "report_test_util.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::report;
using namespace livros::report::testing;

namespace {

// Answers the set-up dialog with a PDF file.
class FileChoice : public ReportInteraction {
public:
    QString file;
    int setups = 0;
    std::optional<OutputChoice> chooseOutput(const QString&, const OutputChoice&, TSystemSetups) override
    {
        ++setups;
        return OutputChoice{ReportDestination::File, file, 1};
    }
    bool choosePrinter(QPrinter&, TSystemSetups) override { return false; }
    void showStatus(const QString&, const QString&) override {}
    void hideStatus() override {}
    void preview(const LaidOutReport&, const PreviewSettings&, const std::function<void()>&) override {}
};

class ReportModuleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        suite = new livros::testing::EmbeddedSuite;
        // The project files beside the program, as the installation puts them.
        QDir(suite->folder()).mkpath(QStringLiteral("rpt"));
        for (const QString& name : {QStringLiteral("RelLivros.rav"), QStringLiteral("RelLivrosRev.rav"), QStringLiteral("RelPF.rav")})
            QFile::copy(rptFile(name), suite->folder() + QStringLiteral("rpt/") + name);
    }
    static void TearDownTestSuite()
    {
        delete suite;
        suite = nullptr;
    }

    void SetUp() override
    {
        suite->clearAllTables();
        suite->execMain(QStringLiteral(
            "insert into DADOSGER (FIRMA, FARMACIA, FARMACEUTICO, CRF_Q, CNPJ, CIDADE, ESTADO, NAUTORIZACAO) values "
            "('Farmácia Ipê Ltda', 'Ipê Manipulação', 'João Araújo', '12.345', '11222333000181', 'Goiânia', 'GO', '1.23456-7')"));
        dm = suite->makeDataModule();
        rm = std::make_unique<TRM>(*dm);
        RM = rm.get();
        choice.file = QDir(suite->folder()).filePath(QStringLiteral("livro.pdf"));
        rm->rvstm1.setInteraction(&choice);
    }
    void TearDown() override { RM = nullptr; }

    void insertClassicLine(int id, const QString& dcb, const QString& product, double opening, const QString& date,
                           const QString& history, const QString& movement, double balance)
    {
        suite->execMain(QStringLiteral("insert into LIVROCONTR (ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, DATA, HISTORICO, MOVIMENTO, "
                                       "SALDO, OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID) values (%1, '11222333000181', '%2', "
                                       "%3, 'Medicamentos entorpecentes - Listas A1 E A2', '%4', '%5', '%6', %7, 'Compra', 'C-%2', "
                                       "'%8', '01/03/24 a 31/03/24', 'G')")
                            .arg(id)
                            .arg(dcb)
                            .arg(opening, 0, 'f', 4)
                            .arg(date, history, movement)
                            .arg(balance, 0, 'f', 4)
                            .arg(product));
    }

    static livros::testing::EmbeddedSuite* suite;
    std::unique_ptr<data::TDM> dm;
    std::unique_ptr<TRM> rm;
    FileChoice choice;
};

livros::testing::EmbeddedSuite* ReportModuleTest::suite = nullptr;

TEST_F(ReportModuleTest, TheClassicBookPrintsTheCurrentRowsOfLivroContr)
{
    insertClassicLine(2, QStringLiteral("0B2"), QStringLiteral("Metadona"), 0, QStringLiteral("03/05/24"),
                      QStringLiteral("Forn: Ômega Lote: M1"), QStringLiteral("Entrada"), 10);
    insertClassicLine(1, QStringLiteral("0A1"), QStringLiteral("Codeína"), 1234.5, QStringLiteral("03/04/24"),
                      QStringLiteral("Forn: Alfa Lote: C7"), QStringLiteral("Saída"), 1230.25);
    // The store's laboratory; Codeína's catalogue unit differs from its book's (the inventory's).
    suite->execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'Matriz Centro')"));
    suite->execMain(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, UNID) values ('C-0A1', 'Codeína', 'KG')"));
    suite->execMain(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, UNID) values ('C-0B2', 'Metadona', 'G')"));
    rm->rvpjRelLivros.setProjectFile(suite->folder() + QStringLiteral("rpt\\RelLivros.rav"));
    rm->RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_EQ(choice.setups, 1);
    QStringList pages = pdfPages(choice.file);
    ASSERT_EQ(pages.size(), 2);
    // Ordered by DCB: Codeína first; the balances with the dataset's display format.
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Produto: Codeína")));
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("Estoque inicial: 1.234,50000 G")));
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("04/03/2024 Forn: Alfa Lote: C7 Saída 1.230,25000 Compra")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Produto: Metadona")));
    const QString notice = QStringLiteral("ERRO: Inconsistência na Unidade do componente - Em COMPONEN: Unid = KG - Em BALANCOS: Unid = G");
    EXPECT_TRUE(pages[0].simplified().contains(notice));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("ERRO")));
    for (int i = 0; i < 2; ++i) {
        const QString page = pages[i].simplified();
        EXPECT_TRUE(page.contains(QStringLiteral("Livro da loja: CNPJ 11.222.333/0001-81 Laboratório: Matriz Centro"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Farmácia Ipê Ltda CNPJ: 11.222.333/0001-81"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Goiânia/GO"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Farmacêutico(a) responsável: João Araújo - CRF nº 12.345"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Período: 01/03/24 a 31/03/24"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Página %1 de 2").arg(i + 1))) << i;
    }
    EXPECT_FALSE(dm->LivroContr.active());
    EXPECT_FALSE(dm->DadosGer.active());

    // The next run reads the table again.
    insertClassicLine(3, QStringLiteral("0C3"), QStringLiteral("Petidina"), 5, QStringLiteral("03/06/24"),
                      QStringLiteral("Forn: Beta Lote: P2"), QStringLiteral("Entrada"), 6);
    rm->RunNamedReport(QStringLiteral("LivroContr"));
    pages = pdfPages(choice.file);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Produto: Petidina")));
}

TEST_F(ReportModuleTest, AnOpenDatasetStaysOpenAfterTheRun)
{
    insertClassicLine(1, QStringLiteral("0A1"), QStringLiteral("Codeína"), 1, QStringLiteral("03/04/24"),
                      QStringLiteral("Forn: Alfa"), QStringLiteral("Entrada"), 2);
    dm->DadosGer.open();
    rm->rvpjRelLivros.setProjectFile(suite->folder() + QStringLiteral("rpt\\RelLivros"));
    rm->RunNamedReport(QStringLiteral("LivroContr"));
    EXPECT_TRUE(dm->DadosGer.active());
    EXPECT_FALSE(dm->LivroContr.active());
    EXPECT_EQ(pdfPages(choice.file).size(), 1);
}

TEST_F(ReportModuleTest, AMissingProjectFileNamesItsLocalPath)
{
    rm->rvpjRelLivros.setProjectFile(suite->folder() + QStringLiteral("rpt\\RelOutro.rav"));
    try {
        rm->RunNamedReport(QStringLiteral("LivroContr"));
        FAIL() << "no error";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("O projeto de relatório a seguir não existe:\n\"%1rpt/RelOutro.rav\"").arg(suite->folder()));
    }
    EXPECT_EQ(choice.setups, 0);
}

TEST_F(ReportModuleTest, TheToolExportsTheRevisedBookWithoutDialogs)
{
    // Written in an order other than the running stock's, as a select without ORDER BY may return them.
    const char* rows[] = {
        "(7, '2024-03-10', 'PACIENTE B', 'L2', 'S', 2, 6, 'Receita 2')",
        "(7, '2024-03-01', 'Estoque inicial ', '-', 'I', 0, 10, 'Inventario')",
        "(7, '2024-03-10', 'PACIENTE A', 'L1', 'S', 1, 8, 'Receita 1')",
        "(7, '2024-03-05', 'Fornecedor Ômega (CNPJ: 1)', 'L1', 'E', 0.5, 10.5, 'Nota Fiscal 55')",
        "(7, '2024-03-10', 'Fornecedor Ômega (CNPJ: 1)', 'L3', 'P', 1.5, 9, 'Motivo: quebra')",
    };
    for (const char* r : rows) {
        suite->execMain(QStringLiteral("insert into LIVROREVCONTR (ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, "
                                       "OBSERVACAO, CNPJ, REGMSMEDICAM, DCB, COMPONENTE, PERIODO, CODIGO, LISTA) values %1")
                            .arg(QString::fromUtf8(r).chopped(1)
                                 + QStringLiteral(", '11222333000181', '', '04567', 'Fenobarbital - (g)', "
                                                  "'01/03/2024 a 31/03/2024', 'F1', 'B1')")));
    }
    // A book stored before the line order was: ORDEM is empty and the report falls back on the stock.
    suite->execMain(QStringLiteral(
        "execute block as begin if (not exists(select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
        "'LIVROREVCONTR' and RDB$FIELD_NAME = 'ORDEM')) then execute statement 'alter table LIVROREVCONTR add ORDEM "
        "integer'; end"));
    dm->setRevisedBookSelection(QStringLiteral(
        "select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, PERIODO, "
        "CONTEXTO, CODIGO, LISTA, CNPJ, ORDEM, (select first 1 LABORATORIO from TABLAB where TABLAB.LOJA = LIVROREVCONTR.CNPJ) "
        "LABORATORIO from LIVROREVCONTR where DCB IS NOT NULL  AND CNPJ = '11222333000181'"));
    const QString pdf = QDir(suite->folder()).filePath(QStringLiteral("revisado.pdf"));
    ASSERT_TRUE(exportReportToPdf(*dm, suite->folder() + QStringLiteral("rpt\\RelLivrosRev.rav"), QStringLiteral("LivroContr"), pdf));
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString text = pages[0];
    const QStringList order = {QStringLiteral("Inventario"), QStringLiteral("Nota Fiscal 55"), QStringLiteral("Motivo: quebra"),
                               QStringLiteral("Receita 1"), QStringLiteral("Receita 2")};
    qsizetype at = 0;
    for (const QString& token : order) {
        const qsizetype found = text.indexOf(token, at);
        ASSERT_GT(found, at) << token.toStdString() << " out of order";
        at = found;
    }
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("DCB: 04567 Lista: B1 Estoque inicial: 10")));
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("05/03/2024 Entrada Fornecedor Ômega (CNPJ: 1) L1 0,5 10,5 Nota Fiscal 55")));
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("Estoque final: 6")));
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("Livro da loja: CNPJ 11.222.333/0001-81")));
    EXPECT_EQ(choice.setups, 0);
    EXPECT_FALSE(dm->CDS_LivroRevContr.active());

    // No such report: nothing written.
    const QString none = QDir(suite->folder()).filePath(QStringLiteral("nenhum.pdf"));
    EXPECT_FALSE(exportReportToPdf(*dm, suite->folder() + QStringLiteral("rpt\\RelPF"), QStringLiteral("Outro"), none));
    EXPECT_FALSE(QFile::exists(none));
}

} // namespace
