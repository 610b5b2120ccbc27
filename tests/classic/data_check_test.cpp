// The data check on a real embedded Firebird: each fault found once with its product and date,
// nothing on clean rows, the closing stock against a hand computation, the command's exit codes.
#include "check/data_check.h"
#include "cli/check_command.h"

#include "classic_test_data.h"
#include "data/data_module.h"
#include "message_recorder.h"
#include "platform/suite_paths.h"
#include "report_test_util.h"
#include "shared_suite_test.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros::classic::testing;
using livros::check::FindingKind;

namespace {

class DataCheck : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
        // Opening 10, +5, -3 in May: 12 counted on 1 June.
        data.component("C001", "Morfina", "G", "A1", "D1");
        data.inventory("2024-05-01", "C001", 10, "G");
        data.entry("2024-05-02", "C001", 5, "G");
        data.exit("2024-05-20", "C001", 3, "G");
        data.inventory("2024-06-01", "C001", 12, "G");
        s_suite->execMain("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('ABC', '11222333000181')");
        s_suite->execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB')").arg(kStore));
    }

    livros::check::CheckReport check()
    {
        return livros::check::checkStoreData(*dm, kStore, QDate(2024, 5, 1), QDate(2024, 5, 31));
    }

    int runCommand(const QString& from, const QString& to, const QString& pdf = QString())
    {
        QString text;
        QTextStream out(&text);
        const int code = livros::cli::runCheckCommand(*dm, kStore, from, to, pdf, out);
        output = text;
        return code;
    }

    // The printed report's project file in the program folder, as an installation has it.
    static void installReportProject()
    {
        QDir().mkpath(livros::programFolder() + "rpt");
        const QString target = livros::programFolder() + "rpt/Conferencia.rav";
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(LIVROS_SOURCE_DIR "/rpt/Conferencia.rav", target));
    }

    TestData data{*s_suite};
    std::unique_ptr<livros::data::TDM> dm;
    QString output;
};

} // namespace

TEST_F(DataCheck, CleanRowsGiveNothingAndTheVarianceOfAHandComputation)
{
    const auto report = check();
    EXPECT_TRUE(report.clean());
    ASSERT_EQ(report.variance.size(), 1u);
    EXPECT_EQ(report.variance[0].codigo, "C001");
    EXPECT_DOUBLE_EQ(report.variance[0].closing, 12);
    EXPECT_DOUBLE_EQ(report.variance[0].counted, 12);
    EXPECT_EQ(report.productsWithoutCount, 0);
    EXPECT_EQ(runCommand("01/05/24", "31/05/24"), 0);
    EXPECT_TRUE(output.contains("Nada encontrado.")) << output.toStdString();
    EXPECT_EQ(s_suite->scalarMain("select count(*) from LIVROCONTR"), "0");  // nothing written
}

TEST_F(DataCheck, EachFaultOnceWithProductAndDateMostHarmfulFirst)
{
    data.component("C002", "Codeina", "G", "A2", "D2");           // no opening inventory, no count
    data.component("C003", "Diazepam", "G", "B1", "D3");          // two opening rows
    data.inventory("2024-05-01", "C003", 4, "G");
    data.inventory("2024-05-01", "C003", 6, "G");
    data.inventory("2024-06-01", "C003", 4, "G");
    data.component("C004", "Clonazepam", "G", "B1", "D4");        // counted in mg
    data.inventory("2024-05-01", "C004", 500, "MG");
    data.component("C005", "Fenobarbital", "G", "B1", "D5");      // 2 - 5 = -3, counted 0
    data.inventory("2024-05-01", "C005", 2, "G");
    data.exit("2024-05-10", "C005", 5, "G");
    data.inventory("2024-06-01", "C005", 0, "G");
    data.component("78912345678901", "Tramadol 50", "CX", "A2", "D6");  // 14 characters
    s_suite->execMain("insert into COMPONEN (CODIGO, COMPONENTE, UNID, LISTA, DCB, GRUPO, CONTROLADA) "
                      "values ('C007', 'Metadona', 'G', 'A1', 'D7', null, 'Sim')");  // no GRUPO: compounding
    data.component("7891", "Rivotril 2mg", "CX", "", "", "REVB");      // one description, two codes, no registration
    data.component("7892", "Rivotril 2mg", "CX", "", "", "REVB");
    data.entry("2024-05-03", "C001", 1, "G", "L2", "XYZ");             // supplier missing
    data.exit("2024-05-03", "C001", 1, "G");
    s_suite->execMain("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('DUP', '1')");
    s_suite->execMain("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('DUP', '2')");
    data.loss("2024-05-04", "D4", 10, "MG", "Quebra", "L3", "DUP");    // supplier twice
    data.loss("2024-05-05", "D4", 10, "MG", "Quebra", "L4", "DUP");    // the same supplier: once
    s_suite->execMain("insert into TABLAB (LOJA, LABORATORIO) values ('12345678000199', 'LAB')");
    s_suite->execMain("insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) select ESTACAO, NPEDIDO, 1, "
                      "'OUTRO' from PEDIDOS where DATAPEDIDO = '2024-05-10'");  // a laboratory of no store

    const auto report = check();
    QStringList found;
    for (const auto& f : report.findings)
        found << QString::number(int(f.kind)) + " " + f.codigo + " " + f.date.toString("yyyy-MM-dd");
    QStringList expected;
    for (const auto& [kind, where] : std::vector<std::pair<FindingKind, QString>>{
        {FindingKind::RefusedMovement, "C003 2024-05-01"},
        {FindingKind::DuplicateInventory, "C003 2024-05-01"},
        {FindingKind::NotInAnyBook, "7891 "},
        {FindingKind::NotInAnyBook, "7892 "},
        {FindingKind::SameDrugstoreDescription, "7891 "},
        {FindingKind::SameDrugstoreDescription, "7892 "},
        {FindingKind::FormulaOfUnknownLaboratory, "C005 2024-05-10"},
        {FindingKind::NoOpeningInventory, "C007 2024-05-01"},
        {FindingKind::NoOpeningInventory, "C002 2024-05-01"},
        {FindingKind::NoOpeningInventory, "78912345678901 2024-05-01"},
        {FindingKind::InventoryUnit, "C004 2024-05-01"},
        {FindingKind::SupplierDuplicated, "C004 2024-05-04"},
        {FindingKind::SupplierMissing, "C001 2024-05-03"},
        {FindingKind::NegativeStock, "C005 2024-05-10"},
        {FindingKind::ClosingDiffersFromCount, "C005 2024-06-01"},
        {FindingKind::CodeTooLong, "78912345678901 "},
        // The formula of C005 (list B1) was sold without notification, prescriber or patient.
        {FindingKind::NotificationMissing, "C005 2024-05-10"},
        {FindingKind::PrescriberIncomplete, "C005 2024-05-10"},
        {FindingKind::PatientMissing, "C005 2024-05-10"},
        })
        expected << QString::number(int(kind)) + " " + where;
    EXPECT_EQ(found.join('\n').toStdString(), expected.join('\n').toStdString());
    EXPECT_EQ(report.productsWithoutCount, 4);  // C007, C002, C004, the long code
    EXPECT_EQ(runCommand("01/05/24", "31/05/24"), 3);
    EXPECT_TRUE(output.contains("  C005  Fenobarbital  10/05/2024  saldo -3 após saída de 5 G (lote L1)"))
        << output.toStdString();
    EXPECT_TRUE(output.contains("Dois ou mais inventários do produto no mesmo dia: 1"));
}

TEST_F(DataCheck, EveryMovementTheLedgerRefusesIsListed)
{
    data.entry("2024-05-03", "C001", 2, "UI", "L9");  // units the book cannot convert
    data.component("R1", "Rivotril 2mg", "CX", "B1", "", "REV");
    data.component("R2", "Rivotril 2mg", "CX", "B1", "", "REV");
    s_suite->execMain("update COMPONEN set REGMSMEDICAM = CODIGO where CODIGO in ('R1', 'R2')");
    s_suite->execMain("insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('07', 70, '2024-05-04', 'Pedido')");
    s_suite->execMain("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) values "
                      "('07', 70, 'X1', 'Rivotril 2mg', 1, 'LAB')");  // no product has the code; two the name

    const auto report = check();
    QStringList refused;
    for (const auto& f : report.findings)
        if (f.kind == FindingKind::RefusedMovement)
            refused << f.rows;
    ASSERT_EQ(refused.size(), 2) << refused.join('\n').toStdString();
    EXPECT_TRUE(refused[0].contains(QStringLiteral("a unidade \"UI\" não se converte"))) << refused[0].toStdString();
    EXPECT_TRUE(refused[1].contains(QStringLiteral("pedido 07-70"))) << refused[1].toStdString();
    EXPECT_EQ(runCommand("01/05/24", "31/05/24"), 3);
    EXPECT_TRUE(output.contains(QStringLiteral("Movimentação que nenhum livro pode registrar: 2"))) << output.toStdString();
}

// The check reads through its own queries: the window's, open on other results, are not moved.
TEST_F(DataCheck, WindowsQueriesStayOnTheirRowsWhileTheCheckReads)
{
    s_suite->execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('%1', 'LAB2')").arg(kStore));
    dm->SQLQuery1.setSql("select LABORATORIO from TABLAB order by LABORATORIO");
    dm->SQLQuery1.open();
    dm->SQLQuery2.setSql("select CODIGO from COMPONEN");
    dm->SQLQuery2.open();
    EXPECT_TRUE(check().clean());
    ASSERT_TRUE(dm->SQLQuery1.active());
    EXPECT_EQ(dm->SQLQuery1.asString("LABORATORIO"), "LAB");
    dm->SQLQuery1.next();
    EXPECT_EQ(dm->SQLQuery1.asString("LABORATORIO"), "LAB2");
    ASSERT_TRUE(dm->SQLQuery2.active());
    EXPECT_EQ(dm->SQLQuery2.asString("CODIGO"), "C001");
    dm->SQLQuery1.close();
    dm->SQLQuery2.close();
    // A store whose text holds a quote is only a store that has nothing.
    const auto quoted = livros::check::checkStoreData(*dm, "1'2", QDate(2024, 5, 1), QDate(2024, 5, 31));
    EXPECT_EQ(quoted.cnpj, "1'2");
}

TEST_F(DataCheck, BadPeriodAndLoneDateAreRefused)
{
    EXPECT_EQ(runCommand("31/02/24", "31/05/24"), 3);
    EXPECT_EQ(runCommand("31/05/24", "01/05/24"), 3);
    EXPECT_EQ(runCommand("01/05/24", ""), 2);
    EXPECT_TRUE(output.isEmpty());
}

TEST_F(DataCheck, MissingIndexesWithTheirCostAndCommand)
{
    const QString script = LIVROS_SOURCE_DIR "/db/suite_indexes.sql";
    s_suite->execMain("CREATE INDEX IX_PERDAS_DATA ON PERDAS (DATA)");
    const auto report = livros::check::checkStoreData(*dm, kStore, QDate(2024, 5, 1), QDate(2024, 5, 31), script);
    s_suite->execMain("DROP INDEX IX_PERDAS_DATA");
    ASSERT_TRUE(report.indexesRead);
    const auto& r = report.indexes;
    EXPECT_EQ(r.expected.size(), 6);
    EXPECT_FALSE(r.missing.contains("IX_PERDAS_DATA"));
    EXPECT_TRUE(r.missing.contains("IX_NFISCAL_DATARECEBIM"));
    EXPECT_EQ(r.missing.size(), 5);
    EXPECT_EQ(r.movementRows, 4);  // one invoice with its item, one order with its component
    EXPECT_EQ(r.classicProducts, 1);
    // One product, one group's year on small tables: 0.08 s without the indexes, 0.05 s with them.
    EXPECT_NEAR(livros::check::classicYearSeconds(r, false), 0.08, 1e-9);
    EXPECT_NEAR(livros::check::classicYearSeconds(r, true), 0.05, 1e-9);
    EXPECT_TRUE(r.createCommand.startsWith("isql-fb -user SYSDBA -i '" + script + "' '"));
    // At eight times the demo's rows a group's year costs 0.16 s, as the benchmarks measured.
    EXPECT_NEAR(livros::check::classicGroupYearSeconds(56000, false), 0.16, 1e-9);
    EXPECT_NEAR(livros::check::revisedProductMs(56000, true), 13.0, 1e-9);
}

// The printed report, rendered from the project file of rpt/ and read back from the PDF.
TEST_F(DataCheck, PrintedReportHasTheSummaryTheFindingsByKindAndTheVariance)
{
    installReportProject();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("conferencia.pdf");
    EXPECT_EQ(runCommand("01/05/24", "31/05/24", pdf), 0);
    EXPECT_TRUE(output.isEmpty()) << "the PDF replaces the text";
    QString text = livros::report::testing::pdfPages(pdf).join('\n').simplified();
    EXPECT_TRUE(text.contains("Loja: CNPJ 12.345.678/0001-99 Conferência dos dados Período: 01/05/2024 a 31/05/2024"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Resumo Nada encontrado."));
    EXPECT_TRUE(text.contains("C001 Morfina 12,0000 12,0000 0,0000 G")) << text.toStdString();

    data.component("C005", "Fenobarbital", "G", "B1", "D5");  // 2 - 5 = -3, counted 1
    data.inventory("2024-05-01", "C005", 2, "G");
    data.exit("2024-05-10", "C005", 5, "G");
    data.inventory("2024-06-01", "C005", 1, "G");
    EXPECT_EQ(runCommand("01/05/24", "31/05/24", pdf), 3);
    text = livros::report::testing::pdfPages(pdf).join('\n').simplified();
    EXPECT_TRUE(text.contains("Estoque negativo 1")) << text.toStdString();
    EXPECT_TRUE(text.contains("Estoque final do livro diferente do inventário seguinte 1"));
    EXPECT_TRUE(text.contains("O que fazer: Confira as entradas (notas fiscais)"));
    EXPECT_TRUE(text.contains("C005 Fenobarbital 10/05/2024 saldo -3 após saída de 5 G (lote L1)"));
    EXPECT_TRUE(text.contains("C005 Fenobarbital -3,0000 1,0000 4,0000 G"));
    EXPECT_FALSE(text.contains("Nada encontrado."));
}

TEST_F(DataCheck, PrintedReportThatCannotBeWrittenFailsAndLeavesNoFile)
{
    installReportProject();
    livros::testing::MessageRecorder messages;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("falta/conferencia.pdf");
    EXPECT_EQ(runCommand("01/05/24", "31/05/24", pdf), 1);
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains("conferencia.pdf")) << messages.errors[0].toStdString();
}
