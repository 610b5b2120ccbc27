// Project files: the file name rule, a missing file, and files that are not valid projects,
// each error naming the file and the place in it.
#include "report/memory_data_source.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_generator.h"
#include "report_test_util.h"

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

TEST_F(BadReference, FieldNamesMatchRegardlessOfCase)
{
    EXPECT_EQ(run(R"({"reports": [{"name": "L", "data": "rvdslivcontr",
                      "detail": {"items": [{"type": "text", "text": "{RVDSLIVCONTR.saldo}"}]}}]})"),
              QStringLiteral("(no error)"));
}

} // namespace
