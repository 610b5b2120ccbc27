// The engine over a small project file of the test folder, rendered to PDF and read back with
// pdftotext: pages, group breaks, headers, formats, page numbers and the connections' state.
#include "report/memory_data_source.h"
#include "report/named_report_export.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report_test_util.h"

#include <QDate>
#include <QDir>
#include "platform/book_locale.h"

#include <QLocale>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros::report;
using namespace livros::report::testing;

namespace {

class SmallProject : public ::testing::Test {
protected:
    SmallProject()
        : lines({QStringLiteral("PRODUTO"), QStringLiteral("DATA"), QStringLiteral("OPERACAO"), QStringLiteral("QUANTIDADE"),
                 QStringLiteral("SALDO"), QStringLiteral("INICIAL"), QStringLiteral("HISTORICO")}),
          company({QStringLiteral("FIRMA"), QStringLiteral("CNPJ"), QStringLiteral("CIDADE"), QStringLiteral("ESTADO"),
                   QStringLiteral("FARMACEUTICO")})
    {
        lines.setDisplayFormat(QStringLiteral("SALDO"), QStringLiteral("###,###,##0.00000"));
        company.addRow({QStringLiteral("Farmácia São João Ltda"), QStringLiteral("12345678000195  "), QStringLiteral("São Paulo"),
                        QStringLiteral("SP"), QStringLiteral("Maria José da Conceição")});
        connections.add(QStringLiteral("Linhas"), &lines);
        connections.add(QStringLiteral("Empresa"), &company);
        options.today = QDate(2024, 4, 2);
    }

    void addLine(const QString& product, QDate date, const QString& op, double qty, double balance, double opening,
                 const QString& history)
    {
        lines.addRow({product, date, op, qty, balance, opening, history});
    }

    // Diazepam, given out of order: the layout sorts by product, date and I/E/S.
    void addTwoProducts()
    {
        addLine(QStringLiteral("Diazepam 10 mg"), QDate(2024, 3, 6), QStringLiteral("S"), 2.5, 1332, 1234.5, QStringLiteral("Venda a MARIA"));
        addLine(QStringLiteral("Diazepam 10 mg"), QDate(2024, 3, 1), QStringLiteral("I"), 0, 1234.5, 1234.5, QStringLiteral("Estoque inicial"));
        addLine(QStringLiteral("Diazepam 10 mg"), QDate(2024, 3, 5), QStringLiteral("E"), 100, 1334.5, 1234.5, QStringLiteral("Compra NF 77"));
        addLine(QStringLiteral("Clonazepam 2 mg"), QDate(2024, 3, 1), QStringLiteral("I"), 0, 10, 10, QStringLiteral("Estoque inicial"));
        addLine(QStringLiteral("Clonazepam 2 mg"), QDate(2024, 3, 9), QStringLiteral("S"), 3, 7, 10, QStringLiteral("Venda a JOSÉ"));
    }

    QStringList render(const QString& reportName = QStringLiteral("LivroContr"))
    {
        const QString pdf = dir.filePath(QStringLiteral("livro.pdf"));
        const bool done = exportNamedReport(testDataFile(QStringLiteral("pequeno.rav")), reportName, connections, pdf, options);
        EXPECT_TRUE(done);
        return pdfPages(pdf);
    }

    MemoryDataSource lines;
    MemoryDataSource company;
    ConnectionSet connections;
    GenerateOptions options;
    QTemporaryDir dir;
};

TEST_F(SmallProject, EachProductStartsOnItsOwnPageWithTheHeaderAndPageNumbers)
{
    addTwoProducts();
    const QStringList pages = render();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Produto: Clonazepam 2 mg")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Diazepam")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Produto: Diazepam 10 mg")));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("Clonazepam")));
    for (int i = 0; i < pages.size(); ++i) {
        const QString& page = pages[i];
        EXPECT_TRUE(page.contains(QStringLiteral("Farmácia São João Ltda"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("CNPJ: 12.345.678/0001-95"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("São Paulo - SP"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("LIVRO DE TESTE"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Página %1 de 2").arg(i + 1))) << i;
        EXPECT_EQ(countOccurrences(page, QStringLiteral("Responsável: Maria José da Conceição")), 1) << i;
    }
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Fim do livro")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Fim do livro")));
}

TEST_F(SmallProject, NumbersDatesAndCodesAreFormatted)
{
    addTwoProducts();
    const QStringList pages = render();
    ASSERT_EQ(pages.size(), 2);
    const QString diazepam = pages[1];
    EXPECT_TRUE(diazepam.contains(QStringLiteral("Estoque inicial: 1.234,50000")));
    // Date order, then I before E before S; the balance with the connection's display format.
    const qsizetype first = diazepam.indexOf(QStringLiteral("01/03/2024"));
    const qsizetype entry = diazepam.indexOf(QStringLiteral("05/03/2024"));
    const qsizetype exit = diazepam.indexOf(QStringLiteral("06/03/2024"));
    ASSERT_GE(first, 0);
    EXPECT_LT(first, entry);
    EXPECT_LT(entry, exit);
    const QStringList rows = diazepam.split(QLatin1Char('\n'));
    auto rowWith = [&](const QString& date) {
        for (const QString& r : rows)
            if (r.contains(date))
                return r.simplified();
        return QString();
    };
    EXPECT_EQ(rowWith(QStringLiteral("01/03/2024")), QStringLiteral("01/03/2024 Inicial Estoque inicial 1.234,50000"));
    EXPECT_EQ(rowWith(QStringLiteral("05/03/2024")), QStringLiteral("05/03/2024 Entrada Compra NF 77 100 1.334,50000"));
    EXPECT_EQ(rowWith(QStringLiteral("06/03/2024")), QStringLiteral("06/03/2024 Saída Venda a MARIA 2,5 1.332,00000"));
}

TEST_F(SmallProject, AProductWithManyLinesRepeatsItsHeaderOnEveryPage)
{
    double balance = 0;
    for (int i = 0; i < 150; ++i) {
        balance += i + 1;
        addLine(QStringLiteral("Fenobarbital 100 mg"), QDate(2024, 1, 1).addDays(i), QStringLiteral("E"), i + 1, balance, 0,
                QStringLiteral("Compra número %1").arg(i + 1));
    }
    const QStringList pages = render();
    ASSERT_GE(pages.size(), 3);
    const QString all = pages.join(QString());
    qsizetype at = 0;
    balance = 0;
    for (int i = 0; i < 150; ++i) {
        balance += i + 1;
        const QString date = QDate(2024, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy"));
        const QString balanceText = livros::bookLocale().toString(balance, 'f', 5);
        const qsizetype next = all.indexOf(date, at);
        ASSERT_GE(next, 0) << "line " << i << " missing or out of order";
        const qsizetype lineEnd = all.indexOf(QLatin1Char('\n'), next);
        EXPECT_TRUE(all.mid(next, lineEnd - next).contains(balanceText)) << i;
        at = next;
    }
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Produto: Fenobarbital 100 mg"))) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Histórico"))) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Página %1 de %2").arg(p + 1).arg(pages.size()))) << p;
    }
    // The signature closes the product once, on its last page.
    EXPECT_EQ(countOccurrences(all, QStringLiteral("Responsável:")), 1);
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Responsável:")));
}

TEST_F(SmallProject, LongTextIsWrappedNotCut)
{
    const QString history = QStringLiteral("Fornecedor Distribuidora Farmacêutica Nacional de Insumos (CNPJ: 11.222.333/0001-44) lote ABC-123");
    addLine(QStringLiteral("Morfina"), QDate(2024, 3, 1), QStringLiteral("E"), 5, 5, 0, history);
    const QStringList pages = render();
    ASSERT_EQ(pages.size(), 1);
    const QString flat = pages[0].simplified();
    for (const QString& word : history.split(QLatin1Char(' ')))
        EXPECT_TRUE(flat.contains(word)) << word.toStdString();
}

TEST_F(SmallProject, AnEmptyBookIsOnePageSayingSo)
{
    const QStringList pages = render();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Nenhuma movimentação no período.")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Farmácia São João Ltda")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Página 1 de 1")));
}

TEST_F(SmallProject, ConnectionsAreOpenedForTheRunAndLeftAsTheyWere)
{
    addTwoProducts();
    company.open(); // already open: stays open
    render();
    EXPECT_FALSE(lines.active());
    EXPECT_EQ(lines.openCount(), 1);
    EXPECT_TRUE(company.active());
    render();
    EXPECT_EQ(lines.openCount(), 2); // every run reads the rows afresh
}

TEST_F(SmallProject, AnUnknownReportNameWritesNothing)
{
    addTwoProducts();
    const QString pdf = dir.filePath(QStringLiteral("nada.pdf"));
    EXPECT_FALSE(exportNamedReport(testDataFile(QStringLiteral("pequeno.rav")), QStringLiteral("OutroRelatorio"), connections, pdf, options));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(lines.openCount(), 0);
}

TEST_F(SmallProject, TheReportNameIsFoundRegardlessOfCase)
{
    addTwoProducts();
    EXPECT_EQ(render(QStringLiteral("livrocontr")).size(), 2);
}

TEST_F(SmallProject, APdfIntoAMissingOrUnwritableFolderFailsClearlyAndLeavesNothing)
{
    addTwoProducts();
    const QString missing = dir.filePath(QStringLiteral("nao_existe/livro.pdf"));
    try {
        exportNamedReport(testDataFile(QStringLiteral("pequeno.rav")), QStringLiteral("LivroContr"), connections, missing, options);
        FAIL() << "no error";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Não foi possível gravar o arquivo \"%1\": a pasta \"%2\" não existe")
                                   .arg(missing, dir.filePath(QStringLiteral("nao_existe"))));
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(lines.active());

    // /proc takes no new files, not even from the administrator.
    const QString unwritable = QStringLiteral("/proc/livro-teste.pdf");
    EXPECT_THROW(exportNamedReport(testDataFile(QStringLiteral("pequeno.rav")), QStringLiteral("LivroContr"), connections,
                                   unwritable, options),
                 ReportError);
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(SmallProject, AFailedRunKeepsTheOlderPdf)
{
    addTwoProducts();
    const QString pdf = dir.filePath(QStringLiteral("livro.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older book");
    old.close();
    // A layout error stops the run before the file is touched.
    const QString bad = writeFile(dir, QStringLiteral("ruim.rav"),
                                  R"({"reports": [{"name": "LivroContr", "data": "Linhas",
                                      "detail": {"items": [{"type": "field", "field": "NAO_EXISTE"}]}}]})");
    EXPECT_THROW(exportNamedReport(bad, QStringLiteral("LivroContr"), connections, pdf, options), ReportError);
    QFile check(pdf);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("older book"));
    // The directory holds no temporary file left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

} // namespace

namespace {

TEST_F(SmallProject, ThePageLabelAndFirstPageNumberComeFromTheReportOrTheRun)
{
    addTwoProducts();
    const QString project = writeFile(dir, QStringLiteral("folhas.rav"), R"({"reports": [{"name": "L", "data": "Linhas",
        "pageLabel": "Pág. {page}/{pages}", "firstPage": 3,
        "groups": [{"breakOn": ["PRODUTO"], "newPage": true}],
        "detail": {"height": 0.5, "items": [{"type": "field", "field": "PRODUTO", "x": 0, "y": 0, "width": 8}]},
        "pageFooter": {"height": 0.6, "items": [{"type": "text", "text": "{pagelabel}", "x": 0, "y": 0, "width": 8}]}}]})");
    const QString pdf = dir.filePath(QStringLiteral("folhas.pdf"));
    ASSERT_TRUE(exportNamedReport(project, QStringLiteral("L"), connections, pdf, options));
    QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Pág. 3/4")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Pág. 4/4")));

    options.firstPage = 41;
    options.pageLabel = QStringLiteral("Folha {page}");
    ASSERT_TRUE(exportNamedReport(project, QStringLiteral("L"), connections, pdf, options));
    pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Folha 41")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Folha 42")));
    EXPECT_FALSE(pages.join(QString()).contains(QStringLiteral("Pág.")));
}

} // namespace

namespace {

// Whether a laid-out page prints some text starting with `prefix`.
bool pageHasText(const LaidOutPage& page, const QString& prefix)
{
    for (const PageElement& e : page.elements)
        for (const QString& line : e.lines)
            if (line.startsWith(prefix))
                return true;
    return false;
}

TEST(NumberedSheets, NoPageCarriesHeadersAndTotalsWithoutALine)
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, QStringLiteral("folhas.rav"), R"({"reports": [{"name": "L", "data": "Linhas",
        "page": {"size": {"width": 10, "height": 10}, "margins": {"left": 1, "top": 1, "right": 1, "bottom": 1}},
        "pageHeader": {"height": 1, "items": [{"type": "text", "text": "Livro", "x": 0, "y": 0, "width": 8}]},
        "groups": [{"breakOn": ["PRODUTO"], "repeatHeader": true,
                    "header": {"height": 1, "items": [{"type": "field", "field": "PRODUTO", "x": 0, "y": 0, "width": 8}]},
                    "footer": {"height": 2.2, "items": [{"type": "text", "text": "Responsável", "x": 0, "y": 0, "width": 8}]}}],
        "detail": {"height": 0.5, "items": [{"type": "field", "field": "HISTORICO", "x": 0, "y": 0, "width": 8}]},
        "summary": {"height": 2.2, "items": [{"type": "text", "text": "Fim do livro", "x": 0, "y": 0, "width": 8}]}}]})");
    const ReportProject project = loadReportProject(file);
    // Every count of lines puts the totals at another place of the last page.
    int movedLines = 0;
    for (int count = 1; count <= 30; ++count) {
        MemoryDataSource lines({QStringLiteral("PRODUTO"), QStringLiteral("HISTORICO")});
        for (int i = 0; i < count; ++i)
            lines.addRow({QStringLiteral("Diazepam"), QStringLiteral("Linha %1").arg(i + 1, 2, 10, QLatin1Char('0'))});
        ConnectionSet connections;
        connections.add(QStringLiteral("Linhas"), &lines);
        const LaidOutReport laid = generateReport(project, *project.find(QStringLiteral("L")), connections, {});
        for (int p = 0; p < laid.pageCount(); ++p)
            EXPECT_TRUE(pageHasText(laid.pages[size_t(p)], QStringLiteral("Linha"))) << count << " lines, page " << p + 1;
        // Every line is printed once, in order.
        QStringList printed;
        for (const LaidOutPage& page : laid.pages)
            for (const PageElement& e : page.elements)
                for (const QString& line : e.lines)
                    if (line.startsWith(QStringLiteral("Linha")))
                        printed << line;
        ASSERT_EQ(printed.size(), count);
        EXPECT_EQ(printed.last(), QStringLiteral("Linha %1").arg(count, 2, 10, QLatin1Char('0')));
        movedLines += laid.pageCount() > 1 && pageHasText(laid.pages.back(), QStringLiteral("Responsável")) ? 1 : 0;
    }
    EXPECT_GT(movedLines, 0);
}

} // namespace
