#include "book/revised/report_selection.h"
#include "book/revised/revised_book_builder.h"
#include "book/revised/stored_book.h"
#include "cli/revised_command.h"
#include "data/data_module.h"
#include "platform/user_messages.h"
#include "tests/support/firebird_fixture.h"
#include "tests/support/shared_suite_test.h"

#include <QLocale>
#include <gtest/gtest.h>

#include "qt_test_print.h"

using namespace livros::revised;
using livros::testing::EmbeddedSuite;

namespace {

const QString kStoreA = QStringLiteral("11222333000181");
const QString kStoreB = QStringLiteral("99888777000166");
const QString kMay = QStringLiteral("01/05/24");
const QString kMayEnd = QStringLiteral("31/05/24");
const QString kMayPeriod = QStringLiteral("01/05/2024 a 31/05/2024");

// Records what the build asks of the screen, one entry per call.
class RecordingView : public RevisedBuildView {
public:
    QStringList calls;
    QStringList messages;

    void showMessage(const QString& text) override
    {
        calls << QStringLiteral("message");
        messages << text;
    }
    void focusStartDate() override { calls << QStringLiteral("focus start"); }
    void focusEndDate() override { calls << QStringLiteral("focus end"); }
    void hidePeriodPanel() override { calls << QStringLiteral("hide period"); }
    void showProgressPanel(const QString& header, const QString& footer) override
    {
        calls << QStringLiteral("progress %1|%2").arg(header, footer);
    }
    void setProgressFooter(const QString& text) override { calls << QStringLiteral("footer ") + text; }
    void setGaugeRange(int maximum) override { calls << QStringLiteral("gauge %1").arg(maximum); }
    void advanceGauge() override { calls << QStringLiteral("advance"); }
    void processEvents() override { calls << QStringLiteral("events"); }
    void showRevisedBook(RevisedMode mode) override { calls << QStringLiteral("preview ") + keyword(mode); }
    void afterPreview() override { calls << QStringLiteral("after preview"); }

    bool previewed() const { return calls.contains(QStringLiteral("after preview")); }
};

// Collects the messages of the command-line tool.
class CapturedMessages : public livros::UserMessages {
public:
    QStringList informed;
    QStringList errors;
    void inform(const QString& text) override { informed << text; }
    void showError(const QString& text) override { errors << text; }
    void beep() override {}
    void terminate(int) override {}
};

class RevisedBuildTest : public livros::testing::SharedSuiteTest<> {
protected:

    void SetUp() override
    {
        suite().clearAllTables();
        m_dm = suite().makeDataModule();
        exec("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB1')");
        // The store counted its stock on the first of May (a product outside every book): no book
        // opens without an inventory on its first day.
        inventory("2024-05-01", "INVENTARIO", "1");
    }
    void TearDown() override
    {
        m_dm.reset();
        livros::data::DM = nullptr;
    }

    void exec(const QString& sql) { suite().execMain(sql); }
    QString scalar(const QString& sql) { return suite().scalarMain(sql); }

    void component(const QString& codigo, const QString& nome, const QString& grupo, const QString& unid,
                   const QString& lista, const QString& dcb, const QString& regms,
                   const QString& fornecedor = QStringLiteral("NULL"), const QString& controlada = QStringLiteral("'Sim'"))
    {
        exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB, "
                            "REGMSMEDICAM, FORNECEDOR) values ('%1', '%2', '%3', '%4', %5, '%6', %7, %8, %9)")
                 .arg(codigo, nome, grupo, unid, controlada, lista, dcb, regms, fornecedor));
    }
    void inventory(const QString& date, const QString& codigo, const QString& qde, const QString& loja = kStoreA)
    {
        exec(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('%1', '%2', %3, '%4')")
                 .arg(date, codigo, qde, loja));
    }
    void purchase(const QString& nf, const QString& date, const QString& codigo, const QString& qde,
                  const QString& unidade, const QString& lote = QStringLiteral("L1"),
                  const QString& fornecedor = QStringLiteral("Fornec"), const QString& loja = kStoreA)
    {
        if (scalar(QStringLiteral("select count(*) from NFISCAL where NOTAFISCAL = '%1'").arg(nf)) == u"0")
            exec(QStringLiteral("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values "
                                "('%1', '%2', '%3', '%4')").arg(nf, fornecedor, date, loja));
        exec(QStringLiteral("insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, "
                            "DENSIDADE, FATORCORRECAO) values ('%1', '%2', '%3', '%4', %5, '%6', 1.25, NULL)")
                 .arg(nf, codigo, fornecedor, lote, qde, unidade));
    }
    void order(int npedido, const QString& date, const QString& tipo = QStringLiteral("Pedido"),
               const QString& paciente = QStringLiteral("maria silva"))
    {
        exec(QStringLiteral("insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO, PACIENTE, MEDICO, "
                            "CONSELHOPROFISSIONAL, CRM, UFCONSELHO) values ('01', %1, '%2', '%3', '%4', "
                            "'Dr Joao', 'CRM', '1234', 'SP')").arg(QString::number(npedido), date, tipo, paciente));
    }
    void formulaUse(int npedido, const QString& codigo, const QString& qde, const QString& lab = QStringLiteral("LAB1"))
    {
        exec(QStringLiteral("insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, NUMERONOTIFICACAO, LABORATORIO) "
                            "values ('01', %1, 1, 'N77', '%2')").arg(QString::number(npedido), lab));
        exec(QStringLiteral("insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, "
                            "LOTE, DENSIDADE) values ('01', %1, 1, 'x', '%2', %3, 'LF', 0.5)")
                 .arg(QString::number(npedido), codigo, qde));
    }
    void loss(const QString& date, const QString& nome, const QString& qde,
              const QString& fornecedor = QStringLiteral("Fornec"), const QString& loja = kStoreA)
    {
        exec(QStringLiteral("insert into PERDAS (LOJA, DATA, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, MOTIVO) "
                            "values ('%1', '%2', '%3', '%4', 'LP', %5, 'Quebra')").arg(loja, date, nome, fornecedor, qde));
    }
    void supplier(const QString& nome, const QString& cnpj)
    {
        exec(QStringLiteral("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('%1', '%2')").arg(nome, cnpj));
    }

    RevisedBuildResult build(RevisedMode mode, const QString& start = kMay, const QString& end = kMayEnd,
                             const QString& cnpj = kStoreA)
    {
        RevisedBookBuilder builder(*m_dm, view);
        return builder.build(mode, cnpj, start, end);
    }

    // The store's lines in their stored order: operation, date, quantity, stock, history, observation.
    QStringList lines(const QString& codigo, const QString& cnpj = kStoreA)
    {
        return suite().rowsMain(QStringLiteral(
            "select OPERACAO, cast(DATA as varchar(10)) D, cast(QUANTIDADE as varchar(24)) Q, "
            "cast(ESTOQUE as varchar(24)) E, coalesce(HISTORICO, '<null>') H, OBSERVACAO from LIVROREVCONTR "
            "where CNPJ = '%1' and CODIGO = '%2' order by ORDEM")
                                    .arg(cnpj, codigo));
    }
    void item(int npedido, const QString& codprod, const QString& descricao, const QString& qde,
              const QString& lab = QStringLiteral("LAB1"))
    {
        exec(QStringLiteral("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) values "
                            "('01', %1, '%2', '%3', %4, '%5')").arg(QString::number(npedido), codprod, descricao, qde, lab));
    }
    int lineCount(const QString& cnpj = kStoreA)
    {
        return scalar(QStringLiteral("select count(*) from LIVROREVCONTR where CNPJ = '%1'").arg(cnpj)).toInt();
    }

    RecordingView view;
    std::unique_ptr<livros::data::TDM> m_dm;
};


TEST_F(RevisedBuildTest, ProductWithoutInventoryOrMovementGetsOneOpeningLine)
{
    component("C001", "Fenobarbital", "INS", "G", "B1", "'03957'", "NULL");
    const RevisedBuildResult result = build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(suite().rowsMain("select ID, CNPJ, cast(DATA as varchar(10)) D, HISTORICO || '$' H, LOTE, OPERACAO, "
                               "cast(QUANTIDADE as varchar(24)) Q, CONTEXTO, cast(ESTOQUE as varchar(24)) E, OBSERVACAO, "
                               "REGMSMEDICAM || '$' R, DCB, COMPONENTE, PERIODO, CODIGO, LISTA from LIVROREVCONTR"),
              QStringList{"1|11222333000181|2024-05-01|Estoque inicial $|-|I|0.000000|0|0.000000|Inventario|$|03957|"
                          "Fenobarbital - (g)|01/05/2024 a 31/05/2024|C001|B1"});
}

TEST_F(RevisedBuildTest, EachModeSelectsItsProducts)
{
    component("R1", "Rev minusculo", "rev01", "CX", "B1", "'01'", "'01'");
    component("R2", "Rev de fornecedor TPN", "REV", "CX", "B1", "'02'", "'02'", "'TPN Quimica'");
    component("I1", "Insumo", "INS", "G", "B1", "'03'", "'03'", "'tpn'");
    component("I2", "Insumo livre", "INS", "G", "B1", "'04'", "'04'", "'TPx'", "'Nao'");
    component("N1", "Sem grupo", "NULL", "G", "B1", "'05'", "'05'", "'TPN'");
    exec("update COMPONEN set GRUPO = NULL where CODIGO = 'N1'");
    const auto codes = [this] {
        return suite().rowsMain("select distinct CODIGO from LIVROREVCONTR order by CODIGO");
    };
    build(RevisedMode::Drogaria);
    EXPECT_EQ(codes(), (QStringList{"R1", "R2"}));
    // A product without a group is a compounding product.
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(codes(), (QStringList{"I1", "N1"}));
    build(RevisedMode::Siproquim);
    EXPECT_EQ(codes(), (QStringList{"I1", "N1"}));
}

TEST_F(RevisedBuildTest, ProductWithNullIdentifierGetsNoLine)
{
    component("D1", "Com registro", "REV", "CX", "C1", "'X'", "'1001'");
    component("D2", "Sem registro", "REV", "CX", "C1", "'X'", "NULL");
    component("I1", "Com dcb", "INS", "G", "B1", "'0001'", "'X'");
    component("I2", "Sem dcb", "INS", "G", "B1", "NULL", "'X'");
    // The SIPROQUIM report writes the supplier as DCB but still requires a DCB.
    component("S1", "Quimico com dcb", "INS", "KG", "", "'0002'", "NULL", "'TPN'", "'Nao'");
    component("S2", "Quimico sem dcb", "INS", "KG", "", "NULL", "NULL", "'TPN'", "'Nao'");
    purchase("10", "2024-05-02", "D2", "3", "CX");
    purchase("11", "2024-05-02", "I2", "3", "G");
    purchase("12", "2024-05-02", "S2", "3", "KG");

    build(RevisedMode::Drogaria);
    EXPECT_EQ(suite().rowsMain("select CODIGO, REGMSMEDICAM, DCB from LIVROREVCONTR"), QStringList{"D1|1001|"});
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(suite().rowsMain("select CODIGO, REGMSMEDICAM, DCB from LIVROREVCONTR"), QStringList{"I1||0001"});
    build(RevisedMode::Siproquim);
    EXPECT_EQ(suite().rowsMain("select CODIGO, REGMSMEDICAM, DCB from LIVROREVCONTR"), QStringList{"S1||TPN"});
}

TEST_F(RevisedBuildTest, EntryOnTheInventoryDateAddsToTheInventory)
{
    component("C1", "Clonazepam", "INS", "G", "B1", "'01'", "NULL");
    inventory("2024-05-01", "C1", "10");
    inventory("2024-04-30", "C1", "77");
    inventory("2024-05-01", "C1", "99", kStoreB);
    purchase("20", "2024-05-01", "C1", "5", "G");
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(lines("C1"), (QStringList{"I|2024-05-01|0.000000|10.000000|Estoque inicial |Inventario",
                                        "E|2024-05-01|5.000000|15.000000|Fornec (CNPJ: )|Nota Fiscal 20"}));
}

// A movement without quantity counts as 0: the running stock goes on from where it was, rather
// than becoming unknown and starting again from 0 on the next line.
TEST_F(RevisedBuildTest, MovementWithoutQuantityKeepsTheRunningStock)
{
    component("C1", "Clonazepam", "INS", "G", "B1", "'01'", "NULL");
    inventory("2024-05-01", "C1", "100");
    purchase("20", "2024-05-02", "C1", "NULL", "G");
    purchase("21", "2024-05-03", "C1", "5", "G");
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(lines("C1"), (QStringList{"I|2024-05-01|0.000000|100.000000|Estoque inicial |Inventario",
                                        "E|2024-05-02|NULL|100.000000|Fornec (CNPJ: )|Nota Fiscal 20",
                                        "E|2024-05-03|5.000000|105.000000|Fornec (CNPJ: )|Nota Fiscal 21"}));
}

TEST_F(RevisedBuildTest, WithinADayEntriesComeBeforeLossesBeforeExits)
{
    component("C1", "Diazepam", "INS", "G", "B1", "'01'", "NULL");
    supplier("Fornec", "12.345.678/0001-00");
    inventory("2024-05-01", "C1", "100");
    order(1, "2024-05-10");
    formulaUse(1, "C1", "7");
    loss("2024-05-10", "Diazepam", "3");
    purchase("30", "2024-05-10", "C1", "20", "G");
    order(2, "2024-05-20");
    formulaUse(2, "C1", "10");
    order(3, "2024-05-20", QStringLiteral("Repos"));   // not a sale
    formulaUse(3, "C1", "1000");
    order(4, "2024-06-01");                             // after the period
    formulaUse(4, "C1", "1000");
    order(5, "2024-05-21");
    formulaUse(5, "C1", "1000", QStringLiteral("LAB2")); // another laboratory
    loss("2024-05-11", "Diazepam", "1000", QStringLiteral("Fornec"), kStoreB);

    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(lines("C1"),
              (QStringList{"I|2024-05-01|0.000000|100.000000|Estoque inicial |Inventario",
                           "E|2024-05-10|20.000000|120.000000|Fornec (CNPJ: 12.345.678/0001-00)|Nota Fiscal 30",
                           "P|2024-05-10|3.000000|117.000000|Fornec (CNPJ : 12.345.678/0001-00)|Motivo: Quebra",
                           "S|2024-05-10|7.000000|110.000000|MARIA SILVA|Notificacao: N77 - DR JOAO CRM: 1234/SP",
                           "S|2024-05-20|10.000000|100.000000|MARIA SILVA|Notificacao: N77 - DR JOAO CRM: 1234/SP"}));
    // The context write answers 0 for the first line of the product and 1 after.
    EXPECT_EQ(suite().rowsMain("select CONTEXTO, count(*) N from LIVROREVCONTR group by CONTEXTO order by CONTEXTO"),
              (QStringList{"0|1", "1|4"}));
}

// Two bottles of one lot on two lines of one invoice are two entries.
TEST_F(RevisedBuildTest, EqualItemLinesOfOneInvoiceEachCount)
{
    component("C1", "Morfina", "INS", "G", "A1", "'01'", "NULL");
    purchase("40", "2024-05-03", "C1", "5", "G");
    purchase("40", "2024-05-03", "C1", "5", "G");
    purchase("40", "2024-05-03", "C1", "5", "G", QStringLiteral("L2"));
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(lines("C1"), (QStringList{"I|2024-05-01|0.000000|0.000000|Estoque inicial |Inventario",
                                        "E|2024-05-03|5.000000|5.000000|Fornec (CNPJ: )|Nota Fiscal 40",
                                        "E|2024-05-03|5.000000|10.000000|Fornec (CNPJ: )|Nota Fiscal 40",
                                        "E|2024-05-03|5.000000|15.000000|Fornec (CNPJ: )|Nota Fiscal 40"}));
}

// A head office and its branch under one trade name: each movement counts once, with the smaller
// CNPJ. A supplier without a record keeps its name in the history.
TEST_F(RevisedBuildTest, SupplierHistoryCountsEachMovementOnceAndKeepsItsName)
{
    component("C1", "Codeina", "INS", "G", "A2", "'01'", "NULL");
    supplier("Matriz", "22.222.222/0002-22");
    supplier("Matriz", "22.222.222/0001-22");
    purchase("50", "2024-05-03", "C1", "5", "G", "L1", QStringLiteral("Matriz"));
    loss("2024-05-04", "Codeina", "1", QStringLiteral("Matriz"));
    purchase("51", "2024-05-05", "C1", "6", "G", "L1", QStringLiteral("Anonimo"));
    loss("2024-05-06", "Codeina", "1", QStringLiteral("Anonimo"));
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(lines("C1"), (QStringList{"I|2024-05-01|0.000000|0.000000|Estoque inicial |Inventario",
                                        "E|2024-05-03|5.000000|5.000000|Matriz (CNPJ: 22.222.222/0001-22)|Nota Fiscal 50",
                                        "P|2024-05-04|1.000000|4.000000|Matriz (CNPJ : 22.222.222/0001-22)|Motivo: Quebra",
                                        "E|2024-05-05|6.000000|10.000000|Anonimo (CNPJ: )|Nota Fiscal 51",
                                        "P|2024-05-06|1.000000|9.000000|Anonimo (CNPJ : )|Motivo: Quebra"}));
}

// A blank prescriber field leaves the rest of the observation; names keep their accents in capitals.
TEST_F(RevisedBuildTest, SaleTextsKeepEveryPartAndTheirAccentsInCapitals)
{
    component("C1", "Diazepam", "INS", "G", "B1", "'01'", "NULL");
    order(1, "2024-05-10", QStringLiteral("Pedido"), QStringLiteral("cláudia d''água šœžÿ"));
    exec("update PEDIDOS set MEDICO = 'dr. joão ávila', CRM = NULL where NPEDIDO = 1");
    formulaUse(1, "C1", "2");
    order(2, "2024-05-11");
    exec("update PEDIDOS set MEDICO = NULL, CONSELHOPROFISSIONAL = NULL, UFCONSELHO = NULL where NPEDIDO = 2");
    formulaUse(2, "C1", "3");
    exec("update PEDIFORM set NUMERONOTIFICACAO = NULL where NPEDIDO = 2");
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(suite().rowsMain("select HISTORICO, OBSERVACAO, cast(ESTOQUE as integer) from LIVROREVCONTR "
                               "where OPERACAO = 'S' order by DATA"),
              (QStringList{"CLÁUDIA D'ÁGUA ŠŒŽŸ|Notificacao: N77 - DR. JOÃO ÁVILA CRM: /SP|-2",
                           "MARIA SILVA|Notificacao: - N/A -  : 1234/|-5"}));
}

// A text longer than its book column (the suite's tables may hold wider values than the book) is
// cut to the column, so that the product keeps all its lines.
TEST_F(RevisedBuildTest, TextsLongerThanTheirColumnsAreCut)
{
    exec("alter table COMPRAS alter LOTE type varchar(80)");
    exec("alter table COMPRAS alter FORNECEDOR type varchar(120)");
    exec("alter table NFISCAL alter FORNECEDOR type varchar(120)");
    component("C1", "Morfina", "INS", "G", "A1", "'01'", "NULL");
    const QString supplierName(110, u'F');
    const QString lot(70, u'L');
    purchase("90", "2024-05-03", "C1", "5", "G", lot, supplierName);
    purchase("91", "2024-05-04", "C1", "1", "G");
    const RevisedBuildResult result = build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    // The supplier is shortened so that its CNPJ stays whole.
    EXPECT_EQ(suite().rowsMain("select HISTORICO, LOTE, cast(ESTOQUE as integer) from LIVROREVCONTR "
                               "where OPERACAO = 'E' order by DATA"),
              (QStringList{QString(91, u'F') + QStringLiteral(" (CNPJ: )|") + QString(60, u'L') + QStringLiteral("|5"), "Fornec (CNPJ: )|L1|6"}));
}

TEST_F(RevisedBuildTest, DrogariaExitsFollowTheItemDescriptionAndTheLaboratory)
{
    component("D1", "Rivotril 2mg", "rev01", "CX", "B1", "NULL", "'1234567890123'");
    inventory("2024-05-01", "D1", "50");
    order(1, "2024-05-02", QStringLiteral("Pedido"), QStringLiteral("jose souza"));
    exec("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, NUMLOTEMEDICAM, NUMERONOTIFICACAO, "
         "LABORATORIO) values ('01', 1, 'P1', 'Rivotril 2mg', 2, 'LT9', NULL, 'LAB1')");
    exec("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) "
         "values ('01', 1, 'P2', 'Rivotril 2mg', 1000, 'LAB2')");
    exec("insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) "
         "values ('01', 1, 'D1', 'Outro nome', 1000, 'LAB1')");
    loss("2024-05-03", "Rivotril 2mg", "1");

    const RevisedBuildResult result = build(RevisedMode::Drogaria);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    // The item recorded under the product's code is its sale whatever its description; the others,
    // under codes no product has, go by their description.
    EXPECT_EQ(lines("D1"), (QStringList{"I|2024-05-01|0.000000|50.000000|Estoque inicial |Inventario",
                                        "S|2024-05-02|1000.000000|-950.000000|JOSE SOUZA|Notificacao: - N/A - DR JOAO CRM: 1234/SP",
                                        "S|2024-05-02|2.000000|-952.000000|JOSE SOUZA|Notificacao: - N/A - DR JOAO CRM: 1234/SP",
                                        "P|2024-05-03|1.000000|-953.000000|Fornec (CNPJ : )|Motivo: Quebra"}));
    EXPECT_EQ(scalar("select max(LOTE) from LIVROREVCONTR where OPERACAO = 'S'"), QStringLiteral("LT9"));
    EXPECT_EQ(scalar("select max(COMPONENTE) from LIVROREVCONTR"), QStringLiteral("Rivotril 2mg - (cx)"));

    // Without a TABLAB row the laboratory is empty: only items recorded without one match.
    exec("delete from TABLAB");
    exec("update ITENS set LABORATORIO = '' where CODPROD = 'P2'");
    build(RevisedMode::Drogaria);
    EXPECT_EQ(scalar("select cast(sum(QUANTIDADE) as integer) from LIVROREVCONTR where OPERACAO = 'S'"),
              QStringLiteral("1000"));
}

TEST_F(RevisedBuildTest, KilogramsAndLitresConvertIntoTheProductsUnitInEveryBook)
{
    component("C1", "Acido", "INS", "G", "C1", "'01'", "'01'", "'TPN'");
    purchase("60", "2024-05-02", "C1", "2", "kg", "L1");
    purchase("62", "2024-05-04", "C1", "3", "G", "L1");
    component("C3", "Eter", "INS", "ML", "C1", "'03'", "'03'", "'TPN'");
    purchase("61", "2024-05-03", "C3", "0.5", "L", "L1");
    component("D1", "Xarope", "REV", "FR", "C1", "'01'", "'01'");
    purchase("63", "2024-05-02", "D1", "2", "KG", "L1");

    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(suite().rowsMain("select cast(QUANTIDADE as varchar(24)) Q, cast(ESTOQUE as varchar(24)) E from "
                               "LIVROREVCONTR where OPERACAO = 'E' order by DATA"),
              (QStringList{"2000.000000|2000.000000", "500.000000|500.000000", "3.000000|2003.000000"}));
    build(RevisedMode::Siproquim);
    EXPECT_EQ(scalar("select cast(max(ESTOQUE) as varchar(24)) from LIVROREVCONTR"), QStringLiteral("2003.000000"));
    EXPECT_EQ(scalar("select max(OBSERVACAO) from LIVROREVCONTR where DATA = '2024-05-02'"),
              QStringLiteral("Nota Fiscal 60 - Densidade: 1,25 - Fat. Corr.: 0,00"));
    // Kilograms into a product kept in bottles cannot be converted: the drugstore book is refused.
    EXPECT_EQ(build(RevisedMode::Drogaria).outcome, RevisedBuildOutcome::Refused);
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("a unidade \"KG\" não se converte na unidade do produto (\"FR\")")));
}

TEST_F(RevisedBuildTest, RebuildReplacesOnlyTheStoreLinesAndNumbersAboveTheRest)
{
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO) values (40, '99888777000166', '2024-01-01', 'B')");
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO) values (60, '11222333000181', '2024-01-01', 'A')");
    component("C1", "Alfa", "INS", "G", "B1", "'01'", "NULL");
    component("C2", "Beta", "INS", "G", "B1", "'02'", "NULL");
    purchase("70", "2024-05-02", "C1", "1", "G");
    purchase("71", "2024-05-03", "C1", "1", "G");

    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(suite().rowsMain("select ID, HISTORICO from LIVROREVCONTR where CNPJ = '99888777000166'"),
              QStringList{"40|B"});
    // One number per statement, growing in the build's order, above every line left in the
    // table (the numbers come from a sequence that no other store's build shares).
    EXPECT_EQ(suite().rowsMain("select CODIGO, count(*) N from LIVROREVCONTR where CNPJ = '11222333000181' "
                               "group by CODIGO, ID order by ID"),
              (QStringList{"C1|3", "C2|1"}));
    EXPECT_EQ(suite().rowsMain("select count(*) from LIVROREVCONTR where CNPJ = '11222333000181' and ID <= 40"),
              QStringList{"0"});

    // Building another mode for the same store removes these lines too.
    build(RevisedMode::Drogaria);
    EXPECT_EQ(lineCount(), 0);
    EXPECT_EQ(lineCount(kStoreB), 1);
}

TEST_F(RevisedBuildTest, EmptySelectionStillEmptiesTheStoreBookAndPreviews)
{
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA) values (1, '11222333000181', '2024-01-01')");
    component("C1", "Nao controlado", "INS", "G", "B1", "'01'", "NULL", "NULL", "'Nao'");
    const RevisedBuildResult result = build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(result.components, 0);
    EXPECT_EQ(lineCount(), 0);
    EXPECT_EQ(view.calls, (QStringList{"hide period", "progress Verificando movimentação...|Preparação", "events",
                                       "gauge 0", "preview INSUMOSCOMPLETO", "after preview"}));
}

TEST_F(RevisedBuildTest, FailingStatementIsShownAndKeepsThePreviousBook)
{
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA) values (1, '11222333000181', '2024-01-01')");
    // A line the server refuses (here a stock above what the table allows) fails the build.
    exec("alter table LIVROREVCONTR add constraint ESTOQUE_LIMITADO check (ESTOQUE < 1000000)");
    component("S1", "Acetona", "INS", "L", "B1", "'01'", "NULL", "'TPN'", "'Nao'");
    component("S2", "Benzeno", "INS", "L", "B1", "'02'", "NULL", "'TPN QUIMICA LTDA ME'", "'Nao'");
    component("S3", "Cloroformio", "INS", "L", "B1", "'03'", "NULL", "'TPN'", "'Nao'");
    purchase("NF9", "2024-05-02", "S2", "9999999999", "L");

    const RevisedBuildResult result = build(RevisedMode::Siproquim);
    exec("alter table LIVROREVCONTR drop constraint ESTOQUE_LIMITADO");
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::StatementFailed);
    EXPECT_FALSE(result.failureReason.isEmpty());
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_EQ(view.messages[0], QStringLiteral("Falha ao buscar movimentações!\n") + result.failedStatement);
    // The refused line is named.
    EXPECT_TRUE(result.failedStatement.contains(u"Benzeno (código S2), 02/05/2024, operação E"))
        << result.failedStatement.toStdString();
    EXPECT_EQ(suite().rowsMain("select ID, CODIGO from LIVROREVCONTR"), QStringList{"1|NULL"});
    EXPECT_EQ(view.calls.mid(3), (QStringList{"gauge 3", "footer Acetona", "events", "advance", "footer Benzeno",
                                              "events", "advance", "footer Cloroformio", "events", "advance",
                                              "message"}));
    // The supplier written as DCB is cut to that column's 15 characters.
    build(RevisedMode::Siproquim);
    EXPECT_EQ(scalar("select max(DCB) from LIVROREVCONTR where CODIGO = 'S2'"), QStringLiteral("TPN QUIMICA LTD"));
}

// The running stock is a context variable named after the product's name, kept by the build's
// transaction: two products of one name each start from their own inventory, build after build.
TEST_F(RevisedBuildTest, ProductsOfOneNameStartFromTheirOwnOpeningStock)
{
    component("C1", "Alfa", "INS", "G", "B1", "'01'", "NULL");
    component("C2", "Alfa", "INS", "G", "B1", "'02'", "NULL");
    inventory("2024-05-01", "C1", "10");
    inventory("2024-05-01", "C2", "20");
    purchase("90", "2024-05-02", "C1", "5", "G");
    purchase("91", "2024-05-03", "C2", "1", "G");
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
        EXPECT_EQ(suite().rowsMain("select CODIGO, OPERACAO, cast(ESTOQUE as varchar(24)) from LIVROREVCONTR "
                                   "order by CODIGO, DATA"),
                  (QStringList{"C1|I|10.000000", "C1|E|15.000000", "C2|I|20.000000", "C2|E|21.000000"}));
    }
}

// A server that computes the running stock otherwise (here a trigger spoils one line) is caught
// by the check after the product's statement: the build fails naming the product, nothing changes.
TEST_F(RevisedBuildTest, StockThatDoesNotAddUpFailsTheBuild)
{
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA) values (1, '11222333000181', '2024-01-01')");
    component("C1", "Alfa", "INS", "G", "B1", "'01'", "NULL");
    component("C2", "Beta", "INS", "G", "B1", "'02'", "NULL");
    inventory("2024-05-01", "C2", "20");
    purchase("92", "2024-05-02", "C2", "5", "G");
    exec("create trigger T_ESTOQUE for LIVROREVCONTR before insert as begin "
         "if (new.CODIGO = 'C2' and new.OPERACAO = 'E') then new.ESTOQUE = new.ESTOQUE + 1; end");
    CapturedMessages messages;
    livros::UserMessages* previous = livros::setUserMessages(&messages);
    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::InsumosCompleto, kStoreA, QDate(2024, 5, 1),
                                             QDate(2024, 5, 31)), 4);
    livros::setUserMessages(previous);
    exec("drop trigger T_ESTOQUE");
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(u"\"Beta\"")) << messages.errors[0].toStdString();
    EXPECT_EQ(suite().rowsMain("select ID, CODIGO from LIVROREVCONTR"), QStringList{"1|NULL"});
}

TEST_F(RevisedBuildTest, WindowsLatinTextsAreStoredAsSingleBytes)
{
    component("S1", "Fenol", "INS", "G", "B1", "'01'", "NULL", "'TPN'", "'Nao'");
    order(123, "2024-05-10", QStringLiteral("Pedido"), QStringLiteral("JOSÉ DA CONCEIÇÃO"));
    formulaUse(123, "S1", "2");
    build(RevisedMode::Siproquim);

    const QString observation = QStringLiteral("Pedido: 01123 - Fórmula 1 - Densidade: 0,50");
    const QString where = QStringLiteral(" from LIVROREVCONTR where OPERACAO = 'S'");
    EXPECT_EQ(scalar("select OBSERVACAO" + where), observation);
    EXPECT_EQ(scalar("select HISTORICO" + where), QStringLiteral("JOSÉ DA CONCEIÇÃO"));
    EXPECT_EQ(scalar("select octet_length(OBSERVACAO)" + where), QString::number(observation.size()));
    EXPECT_EQ(scalar("select position(ascii_char(243) in OBSERVACAO)" + where), QStringLiteral("18"));
    EXPECT_EQ(scalar("select octet_length(HISTORICO)" + where), QStringLiteral("17"));
    EXPECT_EQ(scalar("select position(ascii_char(199) in HISTORICO)" + where), QStringLiteral("15"));
}

TEST_F(RevisedBuildTest, QuotesInValuesReachTheBookAsOneQuote)
{
    exec("update TABLAB set LABORATORIO = 'Lab d''Oeste'");
    component("S1", "Acido d''agua", "INS", "G''", "B''", "'01'", "NULL", "'TPN D''Avila'");
    order(1, "2024-05-10");
    formulaUse(1, "S1", "2", QStringLiteral("Lab d''Oeste"));
    build(RevisedMode::Siproquim);
    EXPECT_EQ(suite().rowsMain("select COMPONENTE, LISTA, DCB, cast(ESTOQUE as integer) from LIVROREVCONTR order by DATA"),
              (QStringList{"Acido d'agua - (g')|B'|TPN D'Avila|0", "Acido d'agua - (g')|B'|TPN D'Avila|-2"}));
}

// Each mode shows only the lines it wrote; a store whose stored book is of another mode is told so.
TEST_F(RevisedBuildTest, ViewsOfAModeShowOnlyItsOwnLines)
{
    component("D1", "Rivotril", "REV", "CX", "B1", "''", "'1234567890123'");
    component("I1", "Fenobarbital", "INS", "G", "B1", "'03957'", "''", "'TPN12345678'");
    const auto shown = [this](RevisedMode mode) {
        return suite().rowsMain("select distinct CODIGO from (" + revisedBookSelection(mode, kStoreA) + ")");
    };
    build(RevisedMode::InsumosCompleto);
    EXPECT_EQ(shown(RevisedMode::InsumosCompleto), QStringList{"I1"});
    EXPECT_TRUE(shown(RevisedMode::Drogaria).isEmpty());
    EXPECT_TRUE(shown(RevisedMode::Siproquim).isEmpty());
    EXPECT_FALSE(storedBookIsOfAnotherMode(*m_dm, RevisedMode::InsumosCompleto, kStoreA));
    EXPECT_TRUE(storedBookIsOfAnotherMode(*m_dm, RevisedMode::Siproquim, kStoreA));
    EXPECT_FALSE(storedBookIsOfAnotherMode(*m_dm, RevisedMode::Siproquim, kStoreB)); // no book at all

    build(RevisedMode::Siproquim);
    EXPECT_EQ(shown(RevisedMode::Siproquim), QStringList{"I1"});
    EXPECT_TRUE(shown(RevisedMode::InsumosCompleto).isEmpty());
    build(RevisedMode::Drogaria);
    EXPECT_EQ(shown(RevisedMode::Drogaria), QStringList{"D1"});
    EXPECT_TRUE(shown(RevisedMode::InsumosCompleto).isEmpty());
}

TEST_F(RevisedBuildTest, BadDatesStopBeforeAnyChange)
{
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA) values (1, '11222333000181', '2024-01-01')");
    component("C1", "Alfa", "INS", "G", "B1", "'01'", "NULL");

    EXPECT_EQ(build(RevisedMode::InsumosCompleto, "31/02/24", kMayEnd).outcome, RevisedBuildOutcome::BadStartDate);
    EXPECT_EQ(view.calls, (QStringList{"message", "focus start"}));
    EXPECT_EQ(view.messages, QStringList{"Data Inicial incorreta. Corrija e tente novamente."});

    view = RecordingView();
    EXPECT_EQ(build(RevisedMode::InsumosCompleto, kMay, "  /  /  ").outcome, RevisedBuildOutcome::BadEndDate);
    EXPECT_EQ(view.calls, (QStringList{"message", "focus end"}));
    EXPECT_EQ(view.messages, QStringList{"Data Final incorreta. Corrija e tente novamente."});

    // A final date before the initial one is refused as a bad final date.
    view = RecordingView();
    EXPECT_EQ(build(RevisedMode::InsumosCompleto, kMayEnd, kMay).outcome, RevisedBuildOutcome::BadEndDate);
    EXPECT_EQ(view.calls, (QStringList{"message", "focus end"}));
    EXPECT_EQ(suite().rowsMain("select ID, CODIGO from LIVROREVCONTR"), QStringList{"1|NULL"});
}

TEST_F(RevisedBuildTest, ScreenFollowsTheBuild)
{
    component("C1", "Alfa", "REV", "CX", "B1", "NULL", "'01'");
    component("C2", "Beta", "REV", "CX", "A1", "NULL", "'02'");
    const RevisedBuildResult result = build(RevisedMode::Drogaria);
    EXPECT_EQ(result.statementsRun, 2);
    EXPECT_EQ(view.calls, (QStringList{"hide period", "progress Verificando movimentação...|Preparação", "events",
                                       "gauge 2", "footer Beta", "events", "advance", "footer Alfa", "events",
                                       "advance", "preview DROGARIA", "after preview"}));
    EXPECT_EQ(suite().rowsMain("select LISTA, PERIODO from LIVROREVCONTR order by ID"),
              (QStringList{"A1|" + kMayPeriod, "B1|" + kMayPeriod}));
}

TEST_F(RevisedBuildTest, CommandLineExitCodes)
{
    CapturedMessages messages;
    livros::UserMessages* previous = livros::setUserMessages(&messages);
    component("S1", "Acetona", "INS", "L", "B1", "'01'", "NULL", "'TPN'", "'Nao'");

    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::Siproquim, kStoreA, QDate(2024, 5, 1),
                                             QDate(2024, 5, 31)), 0);
    EXPECT_EQ(lineCount(), 1);
    ASSERT_EQ(messages.informed.size(), 1);
    EXPECT_TRUE(messages.informed.first().startsWith(QStringLiteral("Livro montado: loja %1, livro SIPROQUIM, período "
                                                                    "01/05/24 a 31/05/24, 1 produtos, 1 linhas gravadas")
                                                         .arg(kStoreA)))
        << messages.informed.first().toStdString();

    messages.informed.clear();
    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::Siproquim, kStoreA, QDate(2024, 5, 1), QDate()), 3);
    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::Siproquim, kStoreA, QDate(2024, 5, 2),
                                             QDate(2024, 5, 1)), 3);
    EXPECT_EQ(messages.informed, QStringList(2, "Data Final incorreta. Corrija e tente novamente."));
    EXPECT_EQ(lineCount(), 1);

    messages.informed.clear();
    purchase("NF9", "2024-05-02", "S1", "9999999999", "L");
    exec("alter table LIVROREVCONTR add constraint ESTOQUE_LIMITADO check (ESTOQUE < 1000000)");
    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::Siproquim, kStoreA, QDate(2024, 5, 1),
                                             QDate(2024, 5, 31)), 4);
    exec("alter table LIVROREVCONTR drop constraint ESTOQUE_LIMITADO");
    ASSERT_EQ(messages.informed.size(), 1);
    EXPECT_TRUE(messages.informed[0].startsWith(u"Falha ao buscar movimentações!\nLIVROREVCONTR: Acetona"));
    EXPECT_EQ(messages.errors.size(), 1); // the server's reason

    messages.errors.clear();
    m_dm->sqlcon1.close();
    m_dm->sqlcon1.setParam(QStringLiteral("DataBase"), suite().folder() + QStringLiteral("missing.fdb"));
    EXPECT_EQ(livros::cli::runRevisedCommand(*m_dm, RevisedMode::Siproquim, kStoreA, QDate(2024, 5, 1),
                                             QDate(2024, 5, 31)), 1);
    EXPECT_EQ(messages.errors.size(), 1);
    livros::setUserMessages(previous);
}

} // namespace

// The faults of the separate readings, each mended by the one ledger.

TEST_F(RevisedBuildTest, ANegativeCorrectionInvoiceBuildsInItsStoredOrder)
{
    component("C1", "Morfina", "INS", "G", "A1", "'D1'", "NULL");
    inventory("2024-05-01", "C1", "10");
    purchase("70", "2024-05-02", "C1", "5", "G");
    purchase("71", "2024-05-02", "C1", "-2", "G");  // the correction of invoice 70
    ASSERT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built) << view.messages.join('\n').toStdString();
    EXPECT_EQ(lines("C1"), (QStringList{"I|2024-05-01|0.000000|10.000000|Estoque inicial |Inventario",
                                        "E|2024-05-02|5.000000|15.000000|Fornec (CNPJ: )|Nota Fiscal 70",
                                        "E|2024-05-02|-2.000000|13.000000|Fornec (CNPJ: )|Nota Fiscal 71"}));
    EXPECT_EQ(suite().rowsMain("select ORDEM from LIVROREVCONTR where CODIGO = 'C1' order by ORDEM"),
              (QStringList{"0", "1", "2"}));
}

TEST_F(RevisedBuildTest, AStoreWithTwoLaboratoriesTakesTheFormulasOfBoth)
{
    exec("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB2')");
    exec("insert into TABLAB (LOJA, LABORATORIO) values ('99888777000166', 'LAB3')");
    component("C1", "Morfina", "INS", "G", "A1", "'D1'", "NULL");
    inventory("2024-05-01", "C1", "10");
    order(1, "2024-05-02");
    formulaUse(1, "C1", "1", "LAB1");
    order(2, "2024-05-03");
    formulaUse(2, "C1", "2", "LAB2");
    order(3, "2024-05-04");
    formulaUse(3, "C1", "4", "LAB3");  // the other store's
    ASSERT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(scalar("select cast(min(ESTOQUE) as varchar(24)) from LIVROREVCONTR where CODIGO = 'C1'"),
              QStringLiteral("7.000000"));
}

TEST_F(RevisedBuildTest, DrugstoreSalesGoByProductCodeAndAnAmbiguousOneStopsTheBuild)
{
    component("R1", "Rivotril 2mg", "REV", "CX", "B1", "NULL", "'111'");
    component("R2", "Rivotril 2mg", "REV", "CX", "B1", "NULL", "'222'");
    inventory("2024-05-01", "R1", "10");
    inventory("2024-05-01", "R2", "20");
    order(1, "2024-05-02");
    item(1, "R2", "Rivotril 2mg", "0.5");  // not rounded: the column keeps six decimals
    ASSERT_EQ(build(RevisedMode::Drogaria).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(lines("R1").size(), 1);
    EXPECT_EQ(lines("R2").value(1), "S|2024-05-02|0.500000|19.500000|MARIA SILVA|Notificacao: - N/A - DR JOAO CRM: 1234/SP");

    // A sale under a code no product has, with a description two products share, names no product.
    order(2, "2024-05-03");
    item(2, "XX9", "Rivotril 2mg", "1");
    EXPECT_EQ(build(RevisedMode::Drogaria).outcome, RevisedBuildOutcome::Refused);
    ASSERT_FALSE(view.messages.isEmpty());
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("pedido 01-2")));
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("2 produtos se chamam \"Rivotril 2mg\"")));
    EXPECT_EQ(lineCount(), 3); // the book built before stays whole
}

TEST_F(RevisedBuildTest, AnEmptyRegistrationIsNoRegistration)
{
    component("R1", "Com registro", "REV", "CX", "B1", "NULL", "'111'");
    component("R2", "Registro vazio", "REV", "CX", "B1", "'D2'", "' '");
    build(RevisedMode::Drogaria);
    EXPECT_EQ(suite().rowsMain("select distinct CODIGO from LIVROREVCONTR"), QStringList{"R1"});
    // A book stored before, with such a line, shows it in neither view.
    exec("insert into LIVROREVCONTR (ID, CNPJ, DATA, OPERACAO, REGMSMEDICAM, DCB, CODIGO) values "
         "(90, '11222333000181', '2024-05-01', 'I', '', '', 'R2')");
    for (const RevisedMode mode : {RevisedMode::Drogaria, RevisedMode::InsumosCompleto})
        EXPECT_FALSE(suite().rowsMain(revisedBookSelection(mode, kStoreA)).join('\n').contains(QStringLiteral("|R2|")));
}

TEST_F(RevisedBuildTest, OpeningsFollowOneRuleForEveryBook)
{
    component("C1", "Morfina", "INS", "G", "A1", "'D1'", "NULL");
    component("C2", "Codeina", "INS", "G", "A1", "'D2'", "NULL");
    inventory("2024-05-01", "C1", "10");
    exec("update BALANCOS set UNID = 'KG' where CODIGO = 'C1'");  // 10 kg of a product kept in grams
    ASSERT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(lines("C1"), QStringList{"I|2024-05-01|0.000000|10000.000000|Estoque inicial |Inventario"});
    // Not in the inventory: zero, dated the period's first day.
    EXPECT_EQ(lines("C2"), QStringList{"I|2024-05-01|0.000000|0.000000|Estoque inicial |Inventario"});

    // No inventory of the store at all on the first day: refused, as the classic book does.
    EXPECT_EQ(build(RevisedMode::InsumosCompleto, "02/05/24").outcome, RevisedBuildOutcome::NoInventory);
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("inventário")));
    EXPECT_EQ(lineCount(), 2);

    // Two rows of one product and day: refused, naming them.
    inventory("2024-05-01", "C2", "3");
    inventory("2024-05-01", "C2", "4");
    EXPECT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Refused);
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("mais de uma linha"))) << view.messages.last().toStdString();
}

TEST_F(RevisedBuildTest, UnitsConvertByOneRuleAndAnInconvertibleOneStopsTheBuild)
{
    component("C1", "Acido", "INS", "L", "C1", "'01'", "NULL", "'TPN'");
    purchase("80", "2024-05-02", "C1", "20", "L");
    purchase("81", "2024-05-03", "C1", "500", "ML");
    component("C2", "Morfina", "INS", "G", "A1", "'02'", "NULL");
    purchase("82", "2024-05-02", "C2", "500", "MG");
    ASSERT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(suite().rowsMain("select CODIGO, cast(QUANTIDADE as varchar(24)) from LIVROREVCONTR where "
                               "OPERACAO = 'E' order by CODIGO, ORDEM"),
              (QStringList{"C1|20.000000", "C1|0.500000", "C2|0.500000"}));
    // The density in the SIPROQUIM report is written the Brazilian way.
    build(RevisedMode::Siproquim);
    EXPECT_EQ(scalar("select max(OBSERVACAO) from LIVROREVCONTR where DATA = '2024-05-02'"),
              QStringLiteral("Nota Fiscal 80 - Densidade: 1,25 - Fat. Corr.: 0,00"));

    purchase("83", "2024-05-04", "C2", "3", "UI");
    EXPECT_EQ(build(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Refused);
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("nota fiscal 83")));
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("a unidade \"UI\" não se converte")));
}
