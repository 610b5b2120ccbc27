// The three report project files of rpt/ over generated in-memory books, rendered to PDF and
// read back: every line in order with its running stock, one product per page run, the company
// header and page numbers on every page, a signature per product.
#include "book_sources.h"
#include "platform/number_format.h"
#include "report/named_report_export.h"
#include "report/project_loader.h"
#include "report/report_generator.h"
#include "report/value_format.h"
#include "report_test_util.h"

#include <QDir>
#include <QFontMetricsF>
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
        // The store the book is of, beside the company.
        EXPECT_TRUE(page.contains(QStringLiteral("Livro da loja: CNPJ 12.ABC.345/01DE-35 Laboratório: Filial Centro"))) << i;
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
    const std::vector<ExpectedLine> lines = fillClassicBook(sources, {5, 120, 1}, 1);
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
    // The second product's inventory unit differs from its catalogue's: every page of it says so.
    const QString notice = QStringLiteral("ERRO: Inconsistência na Unidade do componente - Em COMPONEN: Unid = KG - Em BALANCOS: Unid = CP");
    for (const QString& page : pages)
        EXPECT_EQ(page.simplified().contains(notice), page.contains(lines[5].product)) << page.left(400).toStdString();

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

// The widest values the book tables can hold: every text at its column's length in the widest
// capital letter, every number at the limit of NUMERIC(15,6).
QString widest(int length) { return QString(length, QLatin1Char('W')); }
const double kWidestNumber = -999999999.999999;

// Every text inside its own box, and no two texts of a page over each other (the page footer
// is text too): nothing printed overlaps its neighbour.
void expectNothingOverlaps(const LaidOutReport& document)
{
    ASSERT_GT(document.pageCount(), 0);
    for (int p = 0; p < document.pageCount(); ++p) {
        std::vector<const PageElement*> texts;
        for (const PageElement& e : document.pages[size_t(p)].elements) {
            if (e.kind == PageElement::Kind::Line || e.kind == PageElement::Kind::Box)
                continue;
            texts.push_back(&e);
            const QFontMetricsF metrics(e.font);
            for (const QString& line : e.lines)
                EXPECT_LE(metrics.horizontalAdvance(line), e.rect.width() + 0.5) << "page " << p << ": " << line.toStdString();
        }
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(texts[i]->rect.intersects(texts[j]->rect))
                    << "page " << p << ": \"" << texts[i]->lines.join(' ').toStdString() << "\" over \""
                    << texts[j]->lines.join(' ').toStdString() << "\"";
    }
}

LaidOutReport generate(const QString& projectFile, const ConnectionSet& connections)
{
    const ReportProject project = loadReportProject(rptFile(projectFile));
    return generateReport(project, *project.find(QStringLiteral("LivroContr")), connections);
}

TEST_F(RptBooks, TheWidestValuesFitTheirColumns)
{
    for (int i = 1; i <= 40; ++i) {
        sources.livroContr.addRow({i, widest(18), widest(20), kWidestNumber, widest(90), QVariant(), QDate(2024, 12, 31),
                                   widest(90), widest(15), kWidestNumber, widest(30), widest(20), widest(70), widest(40),
                                   widest(6), widest(20), widest(6)});
    }
    expectNothingOverlaps(generate(QStringLiteral("RelLivros.rav"), sources.connections));

    for (int i = 0; i < 40; ++i) {
        const QString op = QStringList{"I", "E", "S", "P"}.at(i % 4);
        for (bool drugstore : {true, false}) {
            sources.livroRevContr.addRow({1, QDate(2024, 12, 31), widest(100), widest(60), op, kWidestNumber, kWidestNumber,
                                          widest(100), drugstore ? widest(15) : QString(), widest(15), widest(100), widest(40),
                                          1, widest(20), widest(5), widest(18), widest(20)});
        }
    }
    expectNothingOverlaps(generate(QStringLiteral("RelLivrosRev.rav"), sources.connections));
    expectNothingOverlaps(generate(QStringLiteral("RelPF.rav"), sources.connections));
}

TEST_F(RptBooks, ALineTallerThanAPageGoesOnOnTheNextPages)
{
    QStringList history;
    for (int i = 1; i <= 150; ++i)
        history << QStringLiteral("linha %1 do histórico").arg(i);
    sources.livroContr.addRow({1, kBranchCnpj, QStringLiteral("D1"), 5.0, QStringLiteral("Livro"), QVariant(), QDate(2024, 5, 2),
                               history.join(QLatin1Char('\n')), QStringLiteral("Entrada"), 6.0, QStringLiteral("Compra"),
                               QStringLiteral("C1"), QStringLiteral("Morfina"), QStringLiteral("01/05/24 a 31/05/24"),
                               QStringLiteral("G"), kBranchLaboratory, QVariant()});
    expectNothingOverlaps(generate(QStringLiteral("RelLivros.rav"), sources.connections));
    const QStringList pages = render(QStringLiteral("RelLivros.rav"));
    ASSERT_GE(pages.size(), 3);
    const QString all = pages.join(QString());
    qsizetype at = 0;
    for (const QString& line : history) {
        const qsizetype found = all.indexOf(line + QLatin1Char(' '), at) >= 0 ? all.indexOf(line + QLatin1Char(' '), at)
                                                                               : all.indexOf(line + QLatin1Char('\n'), at);
        ASSERT_GE(found, 0) << line.toStdString() << " missing or out of order";
        at = found;
    }
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains(QStringLiteral("Produto: Morfina")));
}

} // namespace
