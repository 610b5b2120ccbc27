// Project files: the file name rule, a missing file, and files that are not valid projects,
// each error naming the file and the place in it.
#include "report/memory_data_source.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_generator.h"
#include "report_test_util.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros::report;
using namespace livros::report::testing;

namespace {

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ReportError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

TEST(ProjectFileName, ANameWithoutExtensionGetsRav)
{
    EXPECT_EQ(projectFileName(QStringLiteral("C:\\Livros\\rpt\\RelLivros")), QStringLiteral("C:\\Livros\\rpt\\RelLivros.rav"));
    EXPECT_EQ(projectFileName(QStringLiteral("C:\\Livros\\rpt\\RelLivros.rav")), QStringLiteral("C:\\Livros\\rpt\\RelLivros.rav"));
    EXPECT_EQ(projectFileName(QStringLiteral("/opt/a.b/rpt/RelPF")), QStringLiteral("/opt/a.b/rpt/RelPF.rav"));
    EXPECT_EQ(projectFileName(QStringLiteral("/opt/rpt/RelPF.json")), QStringLiteral("/opt/rpt/RelPF.json"));
}

TEST(ProjectLoader, AMissingFileGivesTheEngineMessageWithTheQuotedPath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rpt/RelLivros.rav"));
    EXPECT_EQ(errorOf([&] { loadReportProject(path); }),
              QStringLiteral("O projeto de relatório a seguir não existe:\n\"") + path + QStringLiteral("\""));
}

class InvalidProject : public ::testing::Test {
protected:
    QString load(const QByteArray& json)
    {
        writeFile(dir, QStringLiteral("ruim.rav"), json);
        return errorOf([&] { loadReportProject(path); });
    }
    QString prefix(const QString& place) const
    {
        return QStringLiteral("Projeto de relatório inválido \"%1\" (%2): ").arg(path, place);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ruim.rav"));
};

TEST_F(InvalidProject, BrokenSyntaxNamesLineAndColumn)
{
    // The column is where the parser noticed the fault: at or just after the missing ':'.
    const QString missingColon = load("{\n  \"reports\": [\n    {\"name\" \"LivroContr\"}\n  ]\n}\n");
    EXPECT_TRUE(missingColon == prefix(QStringLiteral("linha 3, coluna 13")) + QStringLiteral("falta ':' depois do nome")
                || missingColon == prefix(QStringLiteral("linha 3, coluna 14")) + QStringLiteral("falta ':' depois do nome"))
        << missingColon.toStdString();
    EXPECT_EQ(load("{\"reports\": [\n  {\"name\": \"Ação\", \"data\": \"X\"}\n"),
              prefix(QStringLiteral("linha 3, coluna 1")) + QStringLiteral("lista sem o ']' de fechamento"));
    EXPECT_EQ(load("[]"), prefix(QStringLiteral("linha 1, coluna 1")) + QStringLiteral("o projeto deve ser um objeto JSON ({ ... })"));
}

TEST_F(InvalidProject, AnUnknownKeyIsNamedWithItsPlace)
{
    EXPECT_EQ(load(R"({"reports": [{"name": "LivroContr", "data": "Linhas",
                      "detail": {"height": 0.5, "items": [
                        {"type": "text", "text": "a"},
                        {"type": "field", "field": "SALDO", "heigth": 0.5}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[1]")) + QStringLiteral("chave desconhecida \"heigth\""));
    EXPECT_EQ(load(R"({"reprots": []})"), prefix(QStringLiteral("raiz do projeto")) + QStringLiteral("chave desconhecida \"reprots\""));
}

TEST_F(InvalidProject, WrongTypesAndValuesAreNamed)
{
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "detail": {"items": [{"type": "text", "text": "a", "x": "1"}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[0].x")) + QStringLiteral("deve ser um número"));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "detail": {"items": [{"type": "circle"}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[0].type"))
                  + QStringLiteral("tipo de item desconhecido \"circle\" (use text, field, line ou box)"));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "page": {"size": "A7"}, "detail": {}}]})"),
              prefix(QStringLiteral("reports[0].page.size"))
                  + QStringLiteral("tamanho de página desconhecido \"A7\" (use A3, A4, A5, Letter, Legal ou {\"width\", \"height\"})"));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "detail": {"items": [{"type": "text", "text": "Página {page"}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[0].text")) + QStringLiteral("\"{\" sem o \"}\" de fechamento"));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D"}]})"),
              prefix(QStringLiteral("reports[0]")) + QStringLiteral("falta a faixa \"detail\""));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "detail": {"items": [{"type": "field", "field": "Q", "format": "#,##0.0x"}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[0].format"))
                  + QStringLiteral("formato de número inválido \"#,##0.0x\" (use #, 0, \",\" e \".\")"));
}

// Values no paper can hold are refused when the file is read, naming the place and the value.
TEST_F(InvalidProject, ValuesBeyondThePaperAreRefused)
{
    const auto report = [](const char* page, const char* items) {
        return QByteArray(R"({"reports": [{"name": "L", "data": "D", "page": )") + page
             + R"(, "detail": {"height": 0.5, "items": [)" + items + "]}}]}";
    };
    const char* a4 = R"({"size": "A4", "margins": {"left": 1.5, "right": 1, "top": 1, "bottom": 1}})";
    EXPECT_EQ(load(report(a4, R"({"type": "text", "text": "a", "x": 1e308})")),
              prefix(QStringLiteral("reports[0].detail.items[0].x")) + QStringLiteral("deve ser no máximo 500 cm"));
    EXPECT_EQ(load(report(a4, R"({"type": "line", "x2": 5, "pen": 1000})")),
              prefix(QStringLiteral("reports[0].detail.items[0].pen")) + QStringLiteral("deve ser no máximo 10 pt"));
    EXPECT_EQ(load(report(a4, R"({"type": "text", "text": "a", "font": {"size": 5000}})")),
              prefix(QStringLiteral("reports[0].detail.items[0].font.size")) + QStringLiteral("deve ser no máximo 144 pt"));
    EXPECT_EQ(load(report(a4, R"({"type": "text", "text": "a", "x": 18, "width": 2})")),
              prefix(QStringLiteral("reports[0].detail.items[0]"))
                  + QStringLiteral("passa da borda direita do papel: vai até 20,0 cm da margem esquerda, e o papel só tem 19,5 cm depois dela"));
    EXPECT_EQ(load(report(R"({"margins": {"left": 15, "right": 10}})", "")),
              prefix(QStringLiteral("reports[0].page.margins"))
                  + QStringLiteral("as margens esquerda e direita (25,0 cm) não deixam espaço na largura da página (21,0 cm)"));
    EXPECT_EQ(load(report(R"({"orientation": "landscape", "margins": {"top": 20.5}})", "")),
              prefix(QStringLiteral("reports[0].page.margins"))
                  + QStringLiteral("as margens de cima e de baixo (20,5 cm) não deixam espaço na altura da página (21,0 cm)"));
    EXPECT_EQ(load(R"({"reports": [{"name": "L", "data": "D", "pageHeader": {"height": 20}, "detail": {},
                                    "pageFooter": {"items": [{"type": "box", "y": 1, "width": 5, "height": 8}]}}]})"),
              prefix(QStringLiteral("reports[0]"))
                  + QStringLiteral("o cabeçalho e o rodapé da página (pageHeader e pageFooter, 29,0 cm) não deixam espaço "
                                   "para as linhas entre as margens (29,7 cm)"));
    // The shipped projects are within every limit.
    const QStringList shipped = QDir(rptFile(QString())).entryList({QStringLiteral("*.rav")}, QDir::Files);
    EXPECT_GE(shipped.size(), 4);
    for (const QString& name : shipped)
        EXPECT_EQ(errorOf([&] { loadReportProject(rptFile(name)); }), QStringLiteral("(no error)")) << name.toStdString();
}

// References to connections and fields are checked when the report runs, against the
// connections of the run, before anything is read.
class BadReference : public ::testing::Test {
protected:
    BadReference() : lines({QStringLiteral("DATA"), QStringLiteral("SALDO")})
    {
        lines.addRow({QDate(2024, 1, 1), 1.0});
        connections.add(QStringLiteral("RvDSLivContr"), &lines);
    }
    QString run(const QByteArray& json)
    {
        writeFile(dir, QStringLiteral("ref.rav"), json);
        return errorOf([&] {
            const ReportProject project = loadReportProject(path);
            generateReport(project, project.reports.front(), connections);
        });
    }
    QString prefix(const QString& place) const
    {
        return QStringLiteral("Projeto de relatório inválido \"%1\" (%2): ").arg(path, place);
    }
    MemoryDataSource lines;
    ConnectionSet connections;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ref.rav"));
};

TEST_F(BadReference, AnUnknownConnectionIsNamedAndNothingIsOpened)
{
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContr",
                      "pageHeader": {"items": [{"type": "text", "text": "{RvDSDadosGeral.FIRMA}"}]},
                      "detail": {"items": [{"type": "field", "field": "SALDO"}]}}]})"),
              prefix(QStringLiteral("reports[0].pageHeader.items[0]"))
                  + QStringLiteral("conexão de dados desconhecida \"RvDSDadosGeral\" (há: RvDSLivContr)"));
    EXPECT_EQ(lines.openCount(), 0);
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContro", "detail": {}}]})"),
              prefix(QStringLiteral("reports[0].data")) + QStringLiteral("conexão de dados desconhecida \"RvDSLivContro\" (há: RvDSLivContr)"));
}

TEST_F(BadReference, AnUnknownFieldIsNamedAndTheConnectionIsClosedAgain)
{
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContr",
                      "detail": {"items": [{"type": "field", "field": "SALDO"}, {"type": "field", "field": "SALDOX"}]}}]})"),
              prefix(QStringLiteral("reports[0].detail.items[1]")) + QStringLiteral("a conexão \"RvDSLivContr\" não tem o campo \"SALDOX\""));
    EXPECT_EQ(lines.openCount(), 1);
    EXPECT_FALSE(lines.active());
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContr", "groups": [{"breakOn": ["DCB"]}], "detail": {}}]})"),
              prefix(QStringLiteral("reports[0].groups[0].breakOn")) + QStringLiteral("a conexão \"RvDSLivContr\" não tem o campo \"DCB\""));
}

// What no page can hold is refused when the report runs, naming the band, instead of being
// printed off the paper.
TEST_F(BadReference, ABandNoPageCanHoldIsRefusedNamingIt)
{
    const QByteArray page = R"("page": {"size": {"width": 10, "height": 4}, "margins": {"left": 0.5, "right": 0.5, "top": 0.5, "bottom": 0.5}})";
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContr", )" + page + R"(,
                      "detail": {"items": [{"type": "field", "field": "SALDO", "font": {"size": 144}}]}}]})"),
              prefix(QStringLiteral("reports[0].detail"))
                  + QStringLiteral("a faixa não cabe na página: uma parte dela é mais alta que o espaço entre o cabeçalho e o rodapé (3,0 cm)"));
    const QByteArray words = QByteArray("palavra ").repeated(80);
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "RvDSLivContr", )" + page + R"(,
                      "pageHeader": {"height": 0.5, "items": [{"type": "text", "text": ")" + words + R"(", "width": 2, "wrap": true}]},
                      "detail": {"items": [{"type": "field", "field": "SALDO"}]}}]})"),
              prefix(QStringLiteral("reports[0].pageHeader")) + QStringLiteral("as margens, os cabeçalhos e o rodapé não deixam espaço para as linhas na página"));
}

TEST_F(BadReference, FieldNamesMatchRegardlessOfCase)
{
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "rvdslivcontr",
                      "detail": {"items": [{"type": "text", "text": "{RVDSLIVCONTR.saldo}"}]}}]})"),
              QStringLiteral("(no error)"));
}

} // namespace
