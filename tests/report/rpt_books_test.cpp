// The three report project files of rpt/ over generated in-memory books, rendered to PDF and
// read back: every line in order with its running stock, one product per page run, the company
// header and page numbers on every page, a signature per product.
#include "book_sources.h"
#include "platform/number_format.h"
#include "report/named_report_export.h"
#include "report/value_format.h"
#include "report_test_util.h"

#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros::report;
using namespace livros::report::testing;

namespace {

// The text line of `text` around position `at`.
QString lineAt(const QString& text, qsizetype at)
{
    const qsizetype start = text.lastIndexOf(QLatin1Char('\n'), at) + 1;
    qsizetype end = text.indexOf(QLatin1Char('\n'), at);
    if (end < 0)
        end = text.size();
    return text.mid(start, end - start).simplified();
}

void expectCompanyHeaderOnEveryPage(const QStringList& pages, const QString& title)
{
    for (int i = 0; i < pages.size(); ++i) {
        const QString page = pages[i].simplified();
        EXPECT_TRUE(page.contains(QStringLiteral("Farmácia Boa Saúde Ltda CNPJ: 12.345.678/0001-95"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Drogaria e Manipulação Boa Saúde"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Rua São Benedito, 1234 - Santa Efigênia - Belo Horizonte/MG - CEP 30150-000"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Autorização de Funcionamento (AFE) nº 7.12345-6"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Licença de Funcionamento nº LF-2024/0042"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Farmacêutico(a) responsável: Ana Luísa Gonçalves - CRF nº MG-15.432"))) << i;
        EXPECT_TRUE(page.contains(title)) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Página %1 de %2").arg(i + 1).arg(pages.size()))) << i;
    }
}

// Every page shows exactly one product; products follow each other on new pages; the last page
// of each product carries its signature.
void expectOneProductPerPage(const QStringList& pages, const std::vector<ExpectedLine>& lines)
{
    QStringList products;
    for (const ExpectedLine& l : lines)
        if (!products.contains(l.product))
            products.append(l.product);
    int page = 0;
    for (int p = 0; p < products.size(); ++p) {
        const QString header = QStringLiteral("Produto: ") + products[p];
        ASSERT_LT(page, pages.size());
        EXPECT_TRUE(pages[page].contains(header)) << "product " << p << " does not start a page";
        while (page < pages.size() && pages[page].contains(header)) {
            EXPECT_EQ(pages[page].count(QStringLiteral("Produto: ")), 1) << page;
            ++page;
        }
        EXPECT_TRUE(pages[page - 1].contains(QStringLiteral("Farmacêutico(a) responsável - CRF nº MG-15.432")))
            << "no signature for product " << p;
    }
    EXPECT_EQ(page, pages.size());
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("Farmacêutico(a) responsável - CRF nº MG-15.432")), products.size());
}

class RptBooks : public ::testing::Test {
protected:
    QStringList render(const QString& projectFile)
    {
        const QString pdf = dir.filePath(QStringLiteral("livro.pdf"));
        EXPECT_TRUE(exportNamedReport(rptFile(projectFile), QStringLiteral("LivroContr"), sources.connections, pdf));
        return pdfPages(pdf);
    }

    BookSources sources;
    QTemporaryDir dir;
};

TEST_F(RptBooks, TheClassicBookPrintsEveryLineInOrderWithItsBalance)
{
    const std::vector<ExpectedLine> lines = fillClassicBook(sources, {5, 120, 1});
    const QStringList pages = render(QStringLiteral("RelLivros.rav"));
    ASSERT_GE(pages.size(), 5); // the second product needs several pages
    expectCompanyHeaderOnEveryPage(pages, QStringLiteral("LIVRO DE REGISTRO ESPECÍFICO"));
    expectOneProductPerPage(pages, lines);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("Medicamentos psicotrópicos - Listas A3, B1 E B2")));
        EXPECT_TRUE(page.contains(QStringLiteral("Período: 01/01/24 a 30/06/24")));
        EXPECT_TRUE(page.contains(QStringLiteral("Histórico")));
    }
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("Estoque inicial: 100,50000 CP")));

    const QString all = pages.join(QString());
    qsizetype at = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ExpectedLine& l = lines[i];
        const qsizetype found = all.indexOf(l.history + QLatin1Char(' '), at);
        ASSERT_GE(found, 0) << "line " << i << " (" << l.history.toStdString() << ") missing or out of order";
        const QString row = lineAt(all, found);
        EXPECT_TRUE(row.startsWith(l.date.toString(QStringLiteral("dd/MM/yyyy")))) << row.toStdString();
        EXPECT_TRUE(row.contains(l.op + QLatin1Char(' ') + livros::formatNumber(l.stock, QStringLiteral("###,###,##0.00000"))
                                 + QLatin1Char(' ') + l.observation))
            << row.toStdString();
        at = found;
    }
    // The final stock of each product under its lines.
    EXPECT_TRUE(all.simplified().contains(
        QStringLiteral("Estoque final: ") + livros::formatNumber(lines[4].stock, QStringLiteral("###,###,##0.00000")) + QStringLiteral(" CP")));
}

void expectRevisedLines(const QStringList& pages, const std::vector<ExpectedLine>& lines)
{
    static const QHash<QString, QString> words = {{"I", "Estoque inicial"}, {"E", "Entrada"}, {"S", "Saída"}, {"P", "Perda"}};
    const QString picture = QStringLiteral("###,###,##0.######");
    const QString all = pages.join(QString());
    qsizetype at = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ExpectedLine& l = lines[i];
        const QString token = l.op == QLatin1String("I") ? QStringLiteral("Inventario") : l.history + QLatin1Char(' ');
        const qsizetype found = all.indexOf(token, at);
        ASSERT_GE(found, 0) << "line " << i << " (" << l.history.toStdString() << ") missing or out of order";
        const QString row = lineAt(all, found);
        EXPECT_TRUE(row.startsWith(l.date.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') + words.value(l.op)))
            << row.toStdString();
        const QString stock = formatPictureNumber(l.stock, picture);
        if (l.op == QLatin1String("I")) {
            EXPECT_TRUE(row.endsWith(QStringLiteral("Estoque inicial - ") + stock + QStringLiteral(" Inventario"))) << row.toStdString();
        } else {
            EXPECT_TRUE(row.endsWith(l.history + QLatin1Char(' ') + l.lot + QLatin1Char(' ') + formatPictureNumber(l.quantity, picture)
                                     + QLatin1Char(' ') + stock + QLatin1Char(' ') + l.observation))
                << row.toStdString();
        }
        at = found;
    }
}

TEST_F(RptBooks, TheRevisedDrugstoreBookPutsTheLinesBackInStockOrder)
{
    const std::vector<ExpectedLine> lines = fillRevisedBook(sources, {12, 90, 3}, true);
    const QStringList pages = render(QStringLiteral("RelLivrosRev.rav"));
    ASSERT_GE(pages.size(), 5);
    expectCompanyHeaderOnEveryPage(pages, QStringLiteral("LIVRO DE REGISTRO ESPECÍFICO"));
    expectOneProductPerPage(pages, lines);
    expectRevisedLines(pages, lines);
    const QString all = pages.join(QString()).simplified();
    EXPECT_TRUE(all.contains(QStringLiteral("Registro MS: 1.0043.00 Lista: B1 Estoque inicial: 40")));
    EXPECT_TRUE(all.contains(QStringLiteral("Período: 01/01/2024 a 31/03/2024")));
    EXPECT_TRUE(all.contains(QStringLiteral("(continuação)")));
}

TEST_F(RptBooks, TheRevisedCompoundingBookShowsDecimalQuantities)
{
    const std::vector<ExpectedLine> lines = fillRevisedBook(sources, {30, 4}, false);
    const QStringList pages = render(QStringLiteral("RelLivrosRev.rav"));
    expectCompanyHeaderOnEveryPage(pages, QStringLiteral("LIVRO DE REGISTRO ESPECÍFICO"));
    expectOneProductPerPage(pages, lines);
    expectRevisedLines(pages, lines);
    EXPECT_TRUE(pages.join(QString()).simplified().contains(QStringLiteral("DCB: 06210 Lista: B1 Estoque inicial: 12,5")));
}

TEST_F(RptBooks, TheSiproquimReportHasItsTitle)
{
    const std::vector<ExpectedLine> lines = fillRevisedBook(sources, {6, 70}, false);
    const QStringList pages = render(QStringLiteral("RelPF.rav"));
    ASSERT_GE(pages.size(), 3);
    expectCompanyHeaderOnEveryPage(pages, QStringLiteral("RELATÓRIO ANALÍTICO DE MOVIMENTAÇÃO DE PRODUTOS - SIPROQUIM"));
    expectOneProductPerPage(pages, lines);
    expectRevisedLines(pages, lines);
}

TEST_F(RptBooks, EmptyBooksSaySoOnOnePage)
{
    for (const QString& file : {QStringLiteral("RelLivros.rav"), QStringLiteral("RelLivrosRev.rav"), QStringLiteral("RelPF.rav")}) {
        const QStringList pages = render(file);
        ASSERT_EQ(pages.size(), 1) << file.toStdString();
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Nenhuma movimentação registrada"))) << file.toStdString();
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Página 1 de 1"))) << file.toStdString();
    }
}

} // namespace
