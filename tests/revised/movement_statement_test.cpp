#include "book/revised/movement_statement.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace livros::revised;

namespace {

// The statements expected for one product of the store 12345678000195 over May 2024, written out
// in full: code "COD'0123456789ABCDEF" (kept whole), laboratory "Lab d'Oeste", supplier
// "TPN Química D'Ávila" (cut to the 15 characters of the DCB column in SIPROQUIM), unit "Kg'Ç",
// list "C1'".
const char16_t kExpectedDrogaria[] =
    u"INSERT INTO LIVROREVCONTR (ID, CNPJ, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE,CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, CODIGO, PERIODO, LISTA ) select (select coalesce(MAX(ID),0) + 1 FROM livrorevcontr) ID, "
    u"'12345678000195'"
    u", DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, CONTEXTO, "
    u"ESTOQUE, "
    u"OBSERVACAO "
    u", REGMSMEDICAM "
    u", '' DCB "
    u", COMPONENTE ||"
    u"' - (kg''Ç)'"
    u" COMPONENTE "
    u",CODIGO "
    u", PERIODO "
    u","
    u"'C1'''"
    u" LISTA "
    u" "
    u"from "
    u"( "
    u"SELECT CODIGO, data, Historico, lote, Operacao, "
    u"case when(operacao = 'I') then 0 else cast(quantidade as integer) end "
    u"quantidade, "
    u"observacao, "
    u"ordem, regmsmedicam, componente, "
    u"'01/05/2024 a 31/05/2024'"
    u" Periodo, "
    u"rdb$set_context('USER_TRANSACTION', componente, "
    u"coalesce(cast(rdb$get_context('USER_TRANSACTION', componente) as integer), "
    u"estoq_atual "
    u" "
    u") + "
    u"case when(Operacao IN('S','P')) then coalesce(cast(quantidade as integer), 0) * - 1 ELSE coalesce(cast(quantidade as integer), 0) END "
    u") "
    u"CONTEXTO, "
    u"cast(rdb$get_context('USER_TRANSACTION', componente) as integer)  estoque "
    u" "
    u" "
    u"FROM "
    u"( "
    u"SELECT "
    u"0 ordem, CO.codigo,  CO.regmsmedicam, co.componente, coalesce(ba.databalanco, CAST('2001-01-01' AS DATE)) data, 'Estoque inicial ' Historico, '-' lote, 'I' Operacao, "
    u"0 quantidade, 'Inventario' observacao, coalesce(ba.qde,0) estoq_atual "
    u"FROM COMPONEN co "
    u"left join balancos ba "
    u"       on ba.databalanco = "
    u"'2024-05-01'"
    u" "
    u"      and ba.codigo = co.codigo "
    u"      and ba.loja = "
    u"'12345678000195'"
    u" "
    u"WHERE  co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  union all "
    u"SELECT "
    u"1 ordem, CO.codigo,   CO.regmsmedicam, co.componente,  nf.datarecebim data, ITENF.fornecedor||' (CNPJ: ' || FC.cnpj ||')'  Historico, itenf.lote, 'E' Operacao, ITENF.quantidade, 'Nota Fiscal '||itenf.notafiscal  observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"INNER JOIN COMPRAS ITENF "
    u"       ON ITENF.codigo = CO.codigo "
    u"INNER JOIN nfiscal NF "
    u"        ON NF.NOTAFISCAL = ITENF.NOTAFISCAL "
    u"       AND NF.DATARECEBIM between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"       AND NF.fornecedor = ITENF.fornecedor "
    u"       AND NF.loja = "
    u"'12345678000195'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = ITENF.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"group by CO.codigo,   CO.regmsmedicam, co.componente,  nf.datarecebim, "
    u"         ITENF.fornecedor, FC.cnpj, itenf.lote, ITENF.quantidade, itenf.notafiscal "
    u" "
    u"  union all "
    u" "
    u"SELECT "
    u"2 ordem, CO.codigo,   CO.regmsmedicam, co.componente,  pd.datapedido data, upper(pd.paciente) Historico, ite.numlotemedicam lote, 'S' Operacao, ITE.qde, "
    u"'Notificacao: '|| coalesce(ite.numeronotificacao,'- N/A') "
    u"||' - '|| upper(PD.medico) "
    u"||' ' || PD.conselhoprofissional ||': '|| PD.crm||'/'||PD.ufconselho observacao,0 estoq_atual "
    u"FROM COMPONEN co "
    u"left join itens ite "
    u"       on ite.descricao = co.componente "
    u"      and ite.laboratorio = "
    u"'Lab d''Oeste'"
    u" "
    u"left join pedidos pd "
    u"        on pd.estacao = ite.estacao "
    u"       and pd.npedido = ite.npedido "
    u"       and pd.tipopedido = 'Pedido' "
    u"       and pd.datapedido  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"union all "
    u"SELECT "
    u"2 ordem, CO.codigo,  CO.regmsmedicam, co.componente, cast(pe.data as date) data, pe.fornecedor ||' (CNPJ : '|| FC.cnpj ||')'  Historico, pe.lote, 'P' Operacao, pe.quantidade, 'Motivo: '||coalesce(pe.motivo,'-') observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"inner join perdas pe "
    u"       on pe.componente = co.componente "
    u"      and pe.loja = "
    u"'12345678000195'"
    u" "
    u"      and pe.data  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = PE.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  ) "
    u" "
    u"  ORDER BY componente, data, ordem, OPERACAO "
    u") LIVRO "
    u"WHERE DATA IS NOT NULL AND REGMSMEDICAM IS NOT NULL"
    ;

const char16_t kExpectedInsumosCompleto[] =
    u"INSERT INTO LIVROREVCONTR (ID, DATA, CNPJ,HISTORICO, LOTE, OPERACAO, QUANTIDADE,CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, CODIGO, PERIODO, LISTA ) select (select coalesce(MAX(ID),0) + 1 FROM livrorevcontr) ID, DATA, "
    u"'12345678000195'"
    u", HISTORICO, LOTE, OPERACAO, QUANTIDADE, CONTEXTO, "
    u"ESTOQUE, "
    u"OBSERVACAO "
    u", '' REGMSMEDICAM "
    u", DCB "
    u", COMPONENTE || "
    u"' - (kg''Ç)'"
    u" COMPONENTE "
    u",CODIGO "
    u", PERIODO "
    u","
    u"'C1'''"
    u" LISTA "
    u" "
    u"from "
    u"( "
    u"SELECT CODIGO, data, Historico, lote, Operacao, "
    u"case when(operacao = 'I') then 0 else cast(quantidade as decimal(15,6)) end "
    u"quantidade, "
    u"observacao, "
    u"ordem, dcb, componente, "
    u"'01/05/2024 a 31/05/2024'"
    u" Periodo, "
    u"rdb$set_context('USER_TRANSACTION', componente, "
    u"coalesce(cast(rdb$get_context('USER_TRANSACTION', componente) as decimal(15,6)), "
    u"estoq_atual "
    u" "
    u") + "
    u"case when(Operacao IN('S','P')) then coalesce(cast(quantidade  as decimal(15,6)), 0) * - 1 ELSE coalesce(cast(quantidade as decimal(15,6)), 0) END "
    u") "
    u"CONTEXTO, "
    u"cast(rdb$get_context('USER_TRANSACTION', componente) as decimal(15,6))  estoque "
    u" "
    u" "
    u"FROM "
    u"( "
    u"SELECT "
    u"0 ordem, CO.codigo,  CO.dcb, co.componente, coalesce(ba.databalanco,CAST('2001-01-01' AS DATE)) data, 'Estoque inicial ' Historico, '-' lote, 'I' Operacao, "
    u"0 quantidade, 'Inventario' observacao, coalesce(ba.qde,0) estoq_atual "
    u"FROM COMPONEN co "
    u"left join balancos ba "
    u"       on ba.databalanco = "
    u"'2024-05-01'"
    u" "
    u"      and ba.codigo = co.codigo "
    u"      and ba.loja = "
    u"'12345678000195'"
    u" "
    u"WHERE  co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  union all "
    u"SELECT "
    u"1 ordem, CO.codigo,   CO.dcb, co.componente,  nf.datarecebim data, ITENF.fornecedor||' (CNPJ: ' || FC.cnpj ||')'  Historico, itenf.lote, 'E' Operacao, "
    u"ITENF.quantidade * (case when(UPPER(ITENF.unidade) = 'KG' or UPPER(ITENF.unidade) = 'L') then 1000 else 1 end) quantidade, 'Nota Fiscal '||itenf.notafiscal  observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"INNER JOIN COMPRAS ITENF "
    u"       ON ITENF.codigo = CO.codigo "
    u"INNER JOIN nfiscal NF "
    u"        ON NF.NOTAFISCAL = ITENF.NOTAFISCAL "
    u"       AND NF.DATARECEBIM between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"       AND NF.fornecedor = ITENF.fornecedor "
    u"       AND NF.loja = "
    u"'12345678000195'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = ITENF.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"group by CO.codigo, CO.dcb, co.componente,  nf.datarecebim, "
    u"         ITENF.fornecedor, FC.cnpj, itenf.lote, itenf.quantidade, itenf.notafiscal, ITENF.unidade "
    u" "
    u"  union all "
    u" "
    u"SELECT "
    u"2 ordem, CO.codigo, CO.dcb, co.componente,  pd.datapedido data, upper(pd.paciente) Historico, cp.lote, 'S' Operacao, cp.qdeestoque qde, "
    u"'Notificacao: ' || coalesce(pf.numeronotificacao,'- N/A') "
    u"||' - '|| upper(PD.medico) "
    u"||' ' || PD.conselhoprofissional ||': '|| PD.crm||'/'||PD.ufconselho observacao,0 estoq_atual "
    u"FROM COMPONEN co "
    u"left join compedid cp "
    u"       on cp.codigocomp = co.codigo "
    u"left join pedidos pd "
    u"        on pd.estacao = cp.estacao "
    u"       and pd.npedido = cp.npedido "
    u"       and pd.tipopedido = 'Pedido' "
    u"       and pd.datapedido  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"left join pediform pf "
    u"       on pf.estacao = cp.estacao "
    u"      and  pf.npedido = cp.npedido "
    u"      and  pf.nformula = cp.nformula "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"       AND pf.laboratorio = "
    u"'Lab d''Oeste'"
    u" "
    u"union all "
    u"SELECT "
    u"2 ordem, CO.codigo,  CO.dcb, co.componente, cast(pe.data as date) data, pe.fornecedor ||' (CNPJ : '|| FC.cnpj ||')'  Historico, pe.lote, 'P' Operacao, pe.quantidade, 'Motivo: '||coalesce(pe.motivo,'-') observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"inner join perdas pe "
    u"       on pe.componente = co.componente "
    u"      and pe.loja = "
    u"'12345678000195'"
    u" "
    u"      and pe.data  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = PE.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  ) "
    u" "
    u"  ORDER BY componente, data, ordem, OPERACAO "
    u") LIVRO "
    u"WHERE DATA IS NOT NULL AND DCB IS NOT NULL"
    ;

const char16_t kExpectedSiproquim[] =
    u"INSERT INTO LIVROREVCONTR (ID, DATA, CNPJ,HISTORICO, LOTE, OPERACAO, QUANTIDADE,CONTEXTO, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, CODIGO, PERIODO, LISTA ) select (select coalesce(MAX(ID),0) + 1 FROM livrorevcontr) ID, DATA, "
    u"'12345678000195'"
    u", HISTORICO, LOTE, OPERACAO, QUANTIDADE, CONTEXTO, "
    u"ESTOQUE, "
    u"OBSERVACAO "
    u", '' REGMSMEDICAM "
    u", "
    u"'TPN Química D''Á'"
    u" DCB "
    u", COMPONENTE || "
    u"' - (kg''Ç)'"
    u" COMPONENTE "
    u", CODIGO "
    u", PERIODO "
    u","
    u"'C1'''"
    u" LISTA "
    u" "
    u"from "
    u"( "
    u"SELECT CODIGO, data, Historico, lote, Operacao, "
    u"case when(operacao = 'I') then 0 else cast(quantidade as decimal(15,6)) end "
    u"quantidade, "
    u"observacao, "
    u"ordem, dcb, componente, "
    u"'01/05/2024 a 31/05/2024'"
    u" Periodo, "
    u"rdb$set_context('USER_TRANSACTION', componente, "
    u"coalesce(cast(rdb$get_context('USER_TRANSACTION', componente) as decimal(15,6)), "
    u"estoq_atual "
    u" "
    u") + "
    u"case when(Operacao IN('S','P')) then coalesce(cast(quantidade  as decimal(15,6)), 0) * - 1 ELSE coalesce(cast(quantidade as decimal(15,6)), 0) END "
    u") "
    u"CONTEXTO, "
    u"cast(rdb$get_context('USER_TRANSACTION', componente) as decimal(15,6))  estoque "
    u" "
    u" "
    u"FROM "
    u"( "
    u"SELECT "
    u"0 ordem, CO.codigo,  CO.dcb, co.componente, coalesce(ba.databalanco,CAST('2001-01-01' AS DATE)) data, 'Estoque inicial ' Historico, '-' lote, 'I' Operacao, "
    u"0 quantidade, 'Inventario' observacao, coalesce(ba.qde,0) estoq_atual "
    u"FROM COMPONEN co "
    u"left join balancos ba "
    u"       on ba.databalanco = "
    u"'2024-05-01'"
    u" "
    u"      and ba.codigo = co.codigo "
    u"      and ba.loja = "
    u"'12345678000195'"
    u" "
    u"WHERE  co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  union all "
    u"SELECT "
    u"1 ordem, CO.codigo,   CO.dcb, co.componente,  nf.datarecebim data, ITENF.fornecedor||' (CNPJ: ' || FC.cnpj ||')'  Historico, itenf.lote, 'E' Operacao, "
    u" ITENF.quantidade * (case when(UPPER(ITENF.unidade) = 'KG' or UPPER(ITENF.unidade) = 'L') then 1000 else 1 end) quantidade, "
    u"'Nota Fiscal '||itenf.notafiscal|| ' - Densidade: '||cast(coalesce(itenf.densidade,0) as numeric(15,2)) || ' - Fat. Corr.: '||cast(coalesce(itenf.fatorcorrecao,0) as numeric(15,2))  observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"INNER JOIN COMPRAS ITENF "
    u"       ON ITENF.codigo = CO.codigo "
    u"INNER JOIN nfiscal NF "
    u"        ON NF.NOTAFISCAL = ITENF.NOTAFISCAL "
    u"       AND NF.DATARECEBIM between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"       AND NF.fornecedor = ITENF.fornecedor "
    u"       AND NF.loja = "
    u"'12345678000195'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = ITENF.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"group by CO.codigo, CO.dcb, co.componente,  nf.datarecebim, "
    u"         ITENF.fornecedor, FC.cnpj, itenf.lote, itenf.quantidade, itenf.notafiscal, itenf.fatorcorrecao, itenf.densidade, ITENF.unidade "
    u" "
    u"  union all "
    u" "
    u"SELECT "
    u"2 ordem, CO.codigo, CO.dcb, co.componente,  pd.datapedido data, upper(pd.paciente) Historico, cp.lote, 'S' Operacao, cp.qdeestoque qde, "
    u"'Pedido: '||pd.estacao||pd.npedido||' - Fórmula '||pf.nformula||' - Densidade: '||cast(coalesce(cp.densidade,0) as numeric(15,2)) observacao, "
    u"0 estoq_atual "
    u"FROM COMPONEN co "
    u"left join compedid cp "
    u"       on cp.codigocomp = co.codigo "
    u"left join pedidos pd "
    u"        on pd.estacao = cp.estacao "
    u"       and pd.npedido = cp.npedido "
    u"       and pd.tipopedido = 'Pedido' "
    u"       and pd.datapedido  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"left join pediform pf "
    u"       on pf.estacao = cp.estacao "
    u"      and  pf.npedido = cp.npedido "
    u"      and  pf.nformula = cp.nformula "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"       AND pf.laboratorio = "
    u"'Lab d''Oeste'"
    u" "
    u"union all "
    u"SELECT "
    u"2 ordem, CO.codigo,  CO.dcb, co.componente, cast(pe.data as date) data, pe.fornecedor ||' (CNPJ : '|| FC.cnpj ||')'  Historico, pe.lote, 'P' Operacao, pe.quantidade, 'Motivo: '||coalesce(pe.motivo,'-') observacao, 0 estoq_atual "
    u"FROM COMPONEN co "
    u"inner join perdas pe "
    u"       on pe.componente = co.componente "
    u"      and pe.loja = "
    u"'12345678000195'"
    u" "
    u"      and pe.data  between "
    u"'2024-05-01'"
    u" AND "
    u"'2024-05-31'"
    u" "
    u"LEFT JOIN FORNECED FC "
    u"       ON FC.nomefantasia = PE.fornecedor "
    u"WHERE co.codigo = "
    u"'COD''0123456789ABCDEF'"
    u" "
    u"  ) "
    u" "
    u"  ORDER BY componente, data, ordem, OPERACAO "
    u") LIVRO "
    u"WHERE DATA IS NOT NULL AND DCB IS NOT NULL"
    ;

MovementValues quotedProduct()
{
    MovementValues v;
    v.cnpj = QStringLiteral("12345678000195");
    v.codigo = QStringLiteral("COD'0123456789ABCDEF");
    v.lab = QStringLiteral("Lab d'Oeste");
    v.fornecedor = QStringLiteral("TPN Química D'Ávila");
    v.unid = QStringLiteral("Kg'Ç");
    v.lista = QStringLiteral("C1'");
    v.start = QDate(2024, 5, 1);
    v.end = QDate(2024, 5, 31);
    return v;
}

class MovementStatementTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
};

TEST_F(MovementStatementTest, WholeStatementPerMode)
{
    EXPECT_EQ(composeMovementStatement(RevisedMode::Drogaria, quotedProduct()),
              QStringView(kExpectedDrogaria).toString());
    EXPECT_EQ(composeMovementStatement(RevisedMode::InsumosCompleto, quotedProduct()),
              QStringView(kExpectedInsumosCompleto).toString());
    EXPECT_EQ(composeMovementStatement(RevisedMode::Siproquim, quotedProduct()),
              QStringView(kExpectedSiproquim).toString());
}

TEST_F(MovementStatementTest, UnitLowerCasesOnlyAsciiCapitals)
{
    EXPECT_EQ(unitLiteral(QStringLiteral("KG")), QStringLiteral("' - (kg)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ÇX")), QStringLiteral("' - (Çx)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ÁMPola")), QStringLiteral("' - (Ámpola)'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("")), QStringLiteral("' - ()'"));
    EXPECT_EQ(unitLiteral(QStringLiteral("ABCDEFGHIJKL")), QStringLiteral("' - (abcdefghij)'"));
}

TEST_F(MovementStatementTest, ListOfBlanksIsEmptyOtherBlanksKept)
{
    EXPECT_EQ(listLiteral(QStringLiteral("     ")), QStringLiteral("''"));
    EXPECT_EQ(listLiteral(QString()), QStringLiteral("''"));
    EXPECT_EQ(listLiteral(QStringLiteral(" B1 ")), QStringLiteral("' B1 '"));
    EXPECT_EQ(listLiteral(QString(35, u'X')), u'\'' + QString(30, u'X') + u'\'');
    MovementValues v = quotedProduct();
    v.lista = QStringLiteral("  ");
    EXPECT_TRUE(composeMovementStatement(RevisedMode::Drogaria, v).contains(u",'' LISTA "));
}

TEST_F(MovementStatementTest, CodeOfTwentyCharactersIsKeptWhole)
{
    MovementValues v = quotedProduct();
    v.codigo = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString sql = composeMovementStatement(RevisedMode::InsumosCompleto, v);
    EXPECT_EQ(sql.count(u"co.codigo = 'ABCDEFGHIJKLMNOPQRST' "), 4);
}

TEST_F(MovementStatementTest, PeriodUsesTheLocaleDateSeparator)
{
    EXPECT_EQ(periodLiteral(QDate(2024, 1, 2), QDate(2025, 12, 31)),
              QStringLiteral("'02/01/2024 a 31/12/2025'"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(periodLiteral(QDate(2024, 1, 2), QDate(2025, 12, 31)),
              QStringLiteral("'02.01.2024 a 31.12.2025'"));
}

TEST_F(MovementStatementTest, DatesOfTheFiltersAreIso)
{
    MovementValues v = quotedProduct();
    v.start = QDate(2030, 2, 3);
    v.end = QDate(1999, 11, 9);
    const QString sql = composeMovementStatement(RevisedMode::Drogaria, v);
    EXPECT_TRUE(sql.contains(u"on ba.databalanco = '2030-02-03' "));
    EXPECT_EQ(sql.count(u"between '2030-02-03' AND '1999-11-09' "), 3);
    EXPECT_TRUE(sql.contains(u"'03/02/2030 a 09/11/1999' Periodo"));
}

TEST(RevisedModeKeywords, ExactKeywordsOnly)
{
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("DROGARIA")), RevisedMode::Drogaria);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("INSUMOSCOMPLETO")), RevisedMode::InsumosCompleto);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("SIPROQUIM")), RevisedMode::Siproquim);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("drogaria")), std::nullopt);
    EXPECT_EQ(revisedModeFromKeyword(QStringLiteral("DROGARIAVIEW")), std::nullopt);
    EXPECT_EQ(revisedModeFromKeyword(QString()), std::nullopt);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("SIPROQUIMVIEW")), RevisedMode::Siproquim);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("INSUMOSCOMPLETOVIEW")), RevisedMode::InsumosCompleto);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("DROGARIA")), std::nullopt);
    EXPECT_EQ(viewOnlyModeFromKeyword(QStringLiteral("VIEW")), std::nullopt);
    EXPECT_EQ(keyword(RevisedMode::InsumosCompleto), QStringLiteral("INSUMOSCOMPLETO"));
}

} // namespace
