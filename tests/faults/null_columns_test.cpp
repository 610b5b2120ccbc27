// Catalogue and movement rows as the suite's other programs leave them: NULL in every nullable
// column the builders read, and texts at their column widths. Each book is built as its rules
// say, or takes its own failure path; nothing crashes and nothing is reported built that was not.
#include "book/classic/classic_preparation.h"
#include "book/classic/component_lists.h"
#include "book/revised/revised_book_builder.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "book/stock_check.h"
#include "fault_support.h"
#include "message_recorder.h"
#include "platform/sql_literal.h"

#include <gtest/gtest.h>

using namespace livros;
using namespace livros::faults;
using livros::classic::testing::RecordingView;
using livros::revised::RevisedBookBuilder;
using livros::revised::RevisedBuildOutcome;
using livros::revised::RevisedMode;
using livros::testing::EmbeddedSuite;

namespace {

QString sqlq(const QString& t) { return livros::sqlLiteral(t); }

// Texts as long as their columns allow, with quotes inside.
const QString kName70 = QStringLiteral("Componente com nome de setenta caracteres e aspa ' no meio").leftJustified(70, u'x');
const QString kSupplier40 = QStringLiteral("Fornecedor de quarenta caracteres ' LTDA").leftJustified(40, u'y');
const QString kLot30 = QStringLiteral("LOTE'30 '").leftJustified(30, u'z');
const QString kReason60 = QStringLiteral("Motivo ' de sessenta").leftJustified(60, u'm');

class NullColumns : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_suite = new EmbeddedSuite; }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }
    void SetUp() override
    {
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
    }

    void load(const QStringList& statements) { s_suite->loadMain(statements); }
    QStringList rows(const QString& sql) { return s_suite->rowsMain(sql); }

    classic::ClassicPreparationOutcome prepareClassic(int group)
    {
        lists = classic::loadComponentLists(*dm);
        classic::ClassicPreparationRequest request;
        request.initialDateText = QStringLiteral("01/05/24");
        request.finalDateText = QStringLiteral("03/05/24");
        request.storeCnpj = kStoreA;
        request.selectedGroup = group;
        request.lists = &lists;
        request.startStockProgram = false;
        return classic::prepareClassicBook(*dm, view, request);
    }
    revised::RevisedBuildResult buildRevised(RevisedMode mode)
    {
        RevisedBookBuilder builder(*dm, revisedView);
        return builder.build(mode, kStoreA, QStringLiteral("01/05/24"), QStringLiteral("31/05/24"));
    }

    static EmbeddedSuite* s_suite;
    std::unique_ptr<data::TDM> dm;
    classic::ComponentLists lists;
    RecordingView view;
    RevisedView revisedView;
    livros::testing::MessageRecorder recorder;
};

EmbeddedSuite* NullColumns::s_suite = nullptr;

} // namespace

// NULL texts read as empty texts and NULL quantities as zero; rows that NULL keeps out of a join
// or a day stay out. Products without group or list belong to no book.
TEST_F(NullColumns, ClassicBookReadsNullsAsEmptyTextsAndZeros)
{
    load({
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N1', 'Sem grupo', NULL, 'G', 'Sim', 'A1', 'DN1')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N2', NULL, 'MAN', NULL, 'Sim', 'A1', NULL)",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N3', 'Sem lista', 'MAN', 'G', 'Sim', NULL, 'DN3')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N4', 'Nulos', 'MAN', 'G', 'Sim', 'A1', 'DN4')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'N1', 1, 'G', '12345678000199')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'N2', NULL, NULL, '12345678000199')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'N4', NULL, NULL, '12345678000199')",
        // An invoice without supplier matches no item; an item without lot, expiry, quantity or
        // unit is an entry of 0; an invoice without date belongs to no day.
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('1', NULL, '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('1', 'N4', NULL, 'L', '2025-01-01', 5, 'G')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('2', 'ABC', '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('2', 'N4', 'ABC', NULL, NULL, NULL, NULL)",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('2', 'N2', 'ABC', NULL, NULL, 3, NULL)",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('3', 'ABC', NULL, '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, QUANTIDADE) values ('3', 'N4', 'ABC', 7)",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO, PACIENTE, MEDICO) values ('01', 1, '2024-05-02', 'Pedido', NULL, NULL)",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', 2, '2024-05-02', NULL)",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID, LOTE, FORNECEDOR, VALIDADELOTE) values ('01', 1, 1, 'x', 'N4', NULL, NULL, NULL, NULL, NULL)",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID, LOTE, FORNECEDOR, VALIDADELOTE) values ('01', 1, 1, 'y', 'N2', 2, NULL, NULL, NULL, NULL)",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE) values ('01', 2, 1, 'y', 'N2', 9)",
        "insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values ('12345678000199', '2024-05-03', 'DN4', 'Nulos', NULL, NULL, NULL, NULL, NULL)",
        // A loss with an empty DCB and no product name names no product of the book.
        "insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values ('12345678000199', '2024-05-03', '', NULL, NULL, NULL, 1, NULL, NULL)",
        "insert into PERDAS (LOJA, DATA, DCB, QUANTIDADE) values ('12345678000199', '2024-05-03', NULL, 50)",
        "insert into PERDAS (LOJA, DATA, DCB, QUANTIDADE) values ('12345678000199', NULL, 'DN4', 60)",
    });
    EXPECT_EQ(prepareClassic(1), classic::ClassicPreparationOutcome::Built);
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(recorder.all.isEmpty());
    const QString book = QStringLiteral("Medicamentos entorpecentes - Listas A1 E A2");
    const QString period = QStringLiteral("01/05/24 a 03/05/24");
    const QStringList expected = {
        "1|12345678000199||0|" + book + "|NULL|2024-05-01|Forn: ABC Lote:  Val:   Qde: 3,000000 |Entrada|3|Compra|N2||" + period + "|",
        "2|12345678000199||0|" + book + "|NULL|2024-05-02|Forn:  Lote:  Val:   Qde: 2,000000 |Saída|1|Venda|N2||" + period + "|",
        "3|12345678000199|DN4|0|" + book + "|NULL|2024-05-01|Forn: ABC Lote:  Val:   Qde: 0,000000 |Entrada|0|Compra|N4|Nulos|" + period + "|G",
        "4|12345678000199|DN4|0|" + book + "|NULL|2024-05-02|Forn:  Lote:  Val:   Qde: 0,000000 |Saída|0|Venda|N4|Nulos|" + period + "|G",
        "5|12345678000199|DN4|0|" + book + "|NULL|2024-05-03|Perda - Forn:  Lote:   Qde: 0,000000 |Saída|0||N4|Nulos|" + period + "|G",
    };
    EXPECT_EQ(classicLines(*s_suite), expected);
    // The inventory without unit differs from the catalogue's G: the unit-error block, once.
    EXPECT_EQ(view.listing.count(QStringLiteral("  Em BALANCOS: Unid = ")), 1);
    const QString listing = view.listing.join(QLatin1Char('\n'));
    EXPECT_TRUE(listing.contains(QStringLiteral("SEM GRUPO")));  // a product without group is a compounding product
    EXPECT_FALSE(listing.contains(QStringLiteral("SEM LISTA")));
}

// Texts at their column widths, with quotes, and numbers far beyond the usual: every line is
// written, a text longer than its LIVROCONTR column cut to it.
TEST_F(NullColumns, ClassicBookWithTextsAtTheirWidths)
{
    load({
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('W123456789012', " + sqlq(kName70) + ", 'MAN', 'ABCD', 'Sim', 'B2', 'DCB-QUINZE-1234')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'W123456789012', 999999999.999999, 'ABCD', '12345678000199')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('W1', " + sqlq(kSupplier40) + ", '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('W1', 'W123456789012', " + sqlq(kSupplier40) + ", " + sqlq(kLot30) + ", '2025-01-01', 9999999999.99999, 'ABC')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('W2', " + sqlq(kSupplier40) + ", '2024-05-02', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('W2', 'W123456789012', " + sqlq(kSupplier40) + ", 'L''1', '2025-01-01', -999999999.5, 'ABC')",
        "insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values ('12345678000199', '2024-05-03', 'DCB-QUINZE-1234', " + sqlq(kName70) + ", " + sqlq(kSupplier40) + ", 'L', 0.5, 'ABCD', " + sqlq(kReason60) + ")",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('W2345678901234567890', 'Codigo longo', 'MAN', 'G', 'Sim', 'B2', 'DW2')",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('03', 1, '2024-05-02', 'Repos')",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, UNID, LOTE, FORNECEDOR) values ('03', 1, 1, 'w', 'W2345678901234567890', 1, 'G', 'L', 'F')",
    });
    EXPECT_EQ(prepareClassic(2), classic::ClassicPreparationOutcome::Built);
    EXPECT_TRUE(view.messages.isEmpty());
    // "Codigo longo" comes first; the first entry's history (103 characters) is cut to 90.
    EXPECT_EQ(rows("select ID, CODIGO, DCB, UNID, OBSERVACOES, cast(SALDO as varchar(30)) from LIVROCONTR order by ID"),
              (QStringList{"1|W2345678901234567890|DW2|G|Venda|-1.000000",
                           "2|W123456789012|DCB-QUINZE-1234|ABCD|Compra|11000000000.000000",
                           "3|W123456789012|DCB-QUINZE-1234|ABCD|Compra|10000000000.500000",
                           "4|W123456789012|DCB-QUINZE-1234|ABCD|" + kReason60.left(23) + "|10000000000.000000"}));
    EXPECT_EQ(s_suite->scalarMain("select distinct COMPONENTE from LIVROCONTR where ID > 1"), kName70);
    EXPECT_EQ(s_suite->scalarMain("select HISTORICO from LIVROCONTR where ID = 3"),
              "Forn: " + kSupplier40.left(20) + " Lote: L'1 Val: 01/01/2025  Qde: -999.999.999,500000 ABC");
    const QString longHistory = s_suite->scalarMain("select HISTORICO from LIVROCONTR where ID = 2");
    EXPECT_EQ(longHistory.size(), 90);
    // The supplier is shortened so that the quantity and its unit stay whole.
    EXPECT_TRUE(longHistory.startsWith("Forn: ")) << longHistory.toStdString();
    EXPECT_TRUE(longHistory.endsWith(" ABC")) << longHistory.toStdString();
    EXPECT_TRUE(longHistory.contains(" Lote: " + kLot30)) << longHistory.toStdString();
    EXPECT_TRUE(view.listing.filter(QStringLiteral("Insert into LIVROCONTR")).isEmpty());
}

// The revised statements with NULLs: a product without identifier gets no line, a movement
// without quantity counts as 0 (the running stock goes on), a text's missing parts leave the rest.
TEST_F(NullColumns, RevisedBooksWithNulls)
{
    load({
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N2', NULL, 'MAN', NULL, 'Sim', 'A1', NULL)",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N3', 'Sem lista', 'MAN', NULL, 'Sim', NULL, 'DN3')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N4', 'Nulos', 'MAN', 'G', 'Sim', 'A1', 'DN4')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N6', 'Sem grupo', NULL, 'G', 'Sim', 'A1', 'DN6')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'N4', NULL, NULL, '12345678000199')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('2', 'ABC', '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('2', 'N4', 'ABC', NULL, NULL, NULL, NULL)",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('3', 'ABC', NULL, '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, QUANTIDADE) values ('3', 'N4', 'ABC', 7)",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO, PACIENTE, MEDICO, CONSELHOPROFISSIONAL, CRM, UFCONSELHO) values ('01', 1, '2024-05-02', 'Pedido', NULL, NULL, NULL, NULL, NULL)",
        "insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, NUMERONOTIFICACAO, LABORATORIO) values ('01', 1, 1, NULL, '')",
        "insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, LOTE) values ('01', 1, 1, 'x', 'N4', NULL, NULL)",
        "insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values ('12345678000199', '2024-05-03', 'DN4', 'Nulos', NULL, NULL, NULL, NULL, NULL)",
        "insert into PERDAS (LOJA, DATA, COMPONENTE, QUANTIDADE) values ('12345678000199', NULL, 'Nulos', 60)",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB, REGMSMEDICAM) values ('R1', 'Remedio', 'REVX', 'CX', 'Sim', 'B1', NULL, '1234567890123')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, REGMSMEDICAM) values ('R3', 'Sem registro', 'REV', 'CX', 'Sim', 'B1', NULL)",
        "insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO, PACIENTE, MEDICO) values ('02', 1, '2024-05-02', 'Pedido', NULL, NULL)",
        "insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, NUMLOTEMEDICAM, NUMERONOTIFICACAO, LABORATORIO) values ('02', 1, 'R1', 'Remedio', NULL, NULL, NULL, '')",
        "insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) values ('02', 1, 'R2', NULL, 5, '')",
        "insert into ITENS (ESTACAO, NPEDIDO, CODPROD, DESCRICAO, QDE, LABORATORIO) values ('02', 1, 'R4', 'Remedio', 5, NULL)",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB, FORNECEDOR) values ('S1', 'Quimico', 'MAN', 'L', NULL, NULL, 'DS1', 'TPN" + QString(37, QLatin1Char('Q')) + "')",
        "insert into TABLAB (LOJA, LABORATORIO) values ('12345678000199', NULL)", // the laboratory is then ''
    });
    const QString period = QStringLiteral("|01/05/2024 a 31/05/2024|");
    // A movement's missing lot or patient is written as the empty text; a product without group
    // is a compounding product.
    EXPECT_EQ(buildRevised(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA),
              (QStringList{"12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario||DN3|Sem lista - ()" + period + "N3|",
                           "12345678000199|2024-05-01|ABC (CNPJ: )||E|NULL|1|0|Nota Fiscal 2||DN4|Nulos - (g)" + period + "N4|A1",
                           "12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario||DN4|Nulos - (g)" + period + "N4|A1",
                           "12345678000199|2024-05-02|||S|NULL|1|0|Notificacao: - N/A -  : /||DN4|Nulos - (g)" + period + "N4|A1",
                           "12345678000199|2024-05-03| (CNPJ : )||P|NULL|1|0|Motivo: -||DN4|Nulos - (g)" + period + "N4|A1",
                           "12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario||DN6|Sem grupo - (g)" + period + "N6|A1"}));
    EXPECT_EQ(buildRevised(RevisedMode::Drogaria).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA),
              (QStringList{"12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario|1234567890123||Remedio - (cx)" + period + "R1|B1",
                           "12345678000199|2024-05-02|||S|NULL|1|0|Notificacao: - N/A -  : /|1234567890123||Remedio - (cx)" + period + "R1|B1"}));
    EXPECT_EQ(buildRevised(RevisedMode::Siproquim).outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(revisedLines(*s_suite, kStoreA),
              QStringList{"12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario||TPNQQQQQQQQQQQQ|Quimico - (l)" + period + "S1|"});
    EXPECT_TRUE(revisedView.messages.isEmpty());
    EXPECT_EQ(revisedView.previews, 3);
}

// A product without a name keeps its running stock (named after its code) and is listed under
// its code; the store's old lines are replaced.
TEST_F(NullColumns, RevisedProductWithoutNameIsBuiltUnderItsCode)
{
    load({
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N4', 'Nulos', 'MAN', 'G', 'Sim', 'A1', 'DN4')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('N5', NULL, 'MAN', 'G', 'Sim', 'A1', 'DN5')",
        "insert into LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO) values (1, '12345678000199', '2024-04-01', 'antiga')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('2024-05-01', 'N5', 10, '12345678000199')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('5', 'ABC', '2024-05-02', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, QUANTIDADE) values ('5', 'N5', 'ABC', 5)",
    });
    const revised::RevisedBuildResult result = buildRevised(RevisedMode::InsumosCompleto);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::Built);
    EXPECT_EQ(result.statementsRun, 2);
    EXPECT_TRUE(revisedView.messages.isEmpty());
    EXPECT_EQ(s_suite->rowsMain("select CODIGO, COMPONENTE, cast(ESTOQUE as integer) from LIVROREVCONTR order by CODIGO, DATA"),
              (QStringList{"N4|Nulos - (g)|0", "N5|N5 - (g)|10", "N5|N5 - (g)|15"}));
}

// Texts at their widths reach the revised book whole; a quantity whose thousandfold overflows
// the server's numbers fails its product's statement, after the products before it are written.
TEST_F(NullColumns, RevisedBookWithTextsAtTheirWidthsAndAnOverflow)
{
    load({
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('W123456789012', " + sqlq(kName70) + ", 'MAN', 'ABCD', 'Sim', 'B2', 'DCB-QUINZE-1234')",
        "insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2024-05-01', 'W123456789012', 999999999.999999, 'ABCD', '12345678000199')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('W1', " + sqlq(kSupplier40) + ", '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, LOTE, VALIDADE, QUANTIDADE, UNIDADE) values ('W1', 'W123456789012', " + sqlq(kSupplier40) + ", " + sqlq(kLot30) + ", '2025-01-01', 9999999999.99999, 'ABC')",
        "insert into FORNECED (NOMEFANTASIA, CNPJ) values (" + sqlq(kSupplier40) + ", '12.345.678/0001-99')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('W2345678901234567890', 'Codigo longo', 'MAN', 'G', 'Sim', 'B2', 'DW2')",
        "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, CONTROLADA, LISTA, DCB) values ('Z1', 'Zz excesso', 'MAN', 'G', 'Sim', 'B2', 'DZ1')",
        "insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('Z1', 'ABC', '2024-05-01', '12345678000199')",
        "insert into COMPRAS (NOTAFISCAL, CODIGO, FORNECEDOR, QUANTIDADE, UNIDADE) values ('Z1', 'Z1', 'ABC', 9999999999.99999, 'kg')",
    });
    const revised::RevisedBuildResult result = buildRevised(RevisedMode::InsumosCompleto);
    EXPECT_EQ(result.outcome, RevisedBuildOutcome::StatementFailed);
    EXPECT_TRUE(result.failedStatement.contains(QStringLiteral("Zz excesso (código Z1)"))) << result.failedStatement.toStdString();
    EXPECT_EQ(revisedView.previews, 0);
    EXPECT_TRUE(revisedLines(*s_suite, kStoreA).isEmpty()); // a failed build keeps nothing
    // Without the product that overflows, the book is built with every text at its width.
    load({"delete from COMPRAS where CODIGO = 'Z1'", "delete from COMPONEN where CODIGO = 'Z1'"});
    ASSERT_EQ(buildRevised(RevisedMode::InsumosCompleto).outcome, RevisedBuildOutcome::Built);
    const QString period = QStringLiteral("|01/05/2024 a 31/05/2024|");
    const QString name = kName70 + QStringLiteral(" - (abcd)");
    EXPECT_EQ(revisedLines(*s_suite, kStoreA),
              (QStringList{"12345678000199|2024-05-01|" + kSupplier40 + " (CNPJ: 12.345.678/0001-99)|" + kLot30
                               + "|E|9999999999.99999|1|11000000000|Nota Fiscal W1||DCB-QUINZE-1234|" + name + period
                               + "W123456789012|B2",
                           "12345678000199|2024-05-01|Estoque inicial |-|I|0|0|999999999.999999|Inventario||DCB-QUINZE-1234|"
                               + name + period + "W123456789012|B2",
                           "12345678000199|2024-05-01|Estoque inicial |-|I|0|0|0|Inventario||DW2|Codigo longo - (g)" + period
                               + "W2345678901234567890|B2"}));
    EXPECT_EQ(s_suite->scalarMain(QStringLiteral("select cast(ESTOQUE as varchar(30)) from LIVROREVCONTR where OPERACAO = 'E'")),
              QStringLiteral("10999999999.999989")); // no digit lost
}
