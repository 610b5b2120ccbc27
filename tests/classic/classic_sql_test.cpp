#include "book/classic/classic_preparation.h"
#include "book/classic/classic_sql.h"
#include "book/ledger/ledger_sql.h"
#include "book/classic/component_lists.h"

#include <gtest/gtest.h>

#include <ostream>

#include "qt_test_print.h"

using namespace livros::classic;

namespace {
const QString kStore = QStringLiteral("12345678000199");
}

TEST(ClassicSql, InventoryQueriesWithMonthFirstDates)
{
    EXPECT_EQ(storeInventoryCountSql(kStore, QDate(2024, 5, 1)),
              "Select Count(*) AS QDE from BALANCOS where DATABALANCO = '05/01/24' and LOJA = '12345678000199'");
    EXPECT_EQ(openingCountSql(kStore, "C001", QDate(2024, 5, 31)),
              "Select count(*) as QDE from BALANCOS where LOJA = '12345678000199' and CODIGO = 'C001' and "
              "DATABALANCO = '05/31/24'");
    EXPECT_EQ(openingValuesSql(kStore, "C001", QDate(2024, 5, 31)),
              "Select QDE, UNID from BALANCOS where LOJA = '12345678000199' and CODIGO = 'C001' and "
              "DATABALANCO = '05/31/24'");
}

TEST(ClassicSql, PeriodQuerySendsItsValuesApartWithFullYears)
{
    const auto statement = livros::ledger::lossesSql("1'2", {"D'Ávila", "D2"}, {"N'1"}, QDate(2024, 1, 2),
                                                     QDate(2075, 1, 31));
    EXPECT_TRUE(statement.sql.contains(QStringLiteral("DATA between ? and ? and LOJA = cast(? as varchar(255)) and (DCB in "
                                                      "(?, ?) or COMPONENTE in (?)) order by DATA,")))
        << statement.sql.toStdString();
    EXPECT_EQ(statement.values, (QVariantList{QDate(2024, 1, 2), QDate(2075, 1, 31), QStringLiteral("1'2"),
                                              QStringLiteral("D'Ávila"), QStringLiteral("D2"), QStringLiteral("N'1")}));
    EXPECT_TRUE(openingCountSql(kStore, "X'Y", QDate(2024, 1, 2)).contains("CODIGO = 'X''Y' and"));
}

TEST(ClassicSql, BookLineInsert)
{
    BookLine line;
    line.id = 7;
    line.cnpj = kStore;
    line.dcb = "03456";
    line.openingBalance = 5;
    line.bookName = groupBookName(1);
    line.date = QDate(2024, 5, 2);
    line.history = "Forn: ABC Lote: L'1 Val: 31/12/2025  Qde: 1,234560 G";
    line.movement = QStringLiteral("Saída");
    line.balance = -1.23456;
    line.observation = "Venda";
    line.codigo = "C001";
    line.componente = "Morfina";
    line.period = "01/05/24 a 31/05/24";
    line.unit = "G";
    EXPECT_EQ(bookLineInsertSql(line),
              QStringLiteral("Insert into LIVROCONTR (ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, DATA, HISTORICO, "
                             "MOVIMENTO, SALDO, OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID) values (7, "
                             "'12345678000199', '03456', 5.0000, 'Medicamentos entorpecentes - Listas A1 E A2', "
                             "'05/02/24', 'Forn: ABC Lote: L''1 Val: 31/12/2025  Qde: 1,234560 G', 'Saída', "
                             "-1.2346, 'Venda', 'C001', 'Morfina', '01/05/24 a 31/05/24', 'G')"));
}

TEST(ClassicSql, InsertNumbersIgnoreTheWorkstationSeparators)
{
    BookLine line;
    line.openingBalance = 1234567.5;
    line.balance = 0.00004;
    const QString sql = bookLineInsertSql(line);
    EXPECT_TRUE(sql.contains(", 1234567.5000, ")) << sql.toStdString();
    EXPECT_TRUE(sql.contains(", 0.0000, ")) << sql.toStdString();
}

TEST(ClassicMessages, FixedTexts)
{
    EXPECT_EQ(badInitialDateMessage(), "Data Inicial incorreta. Corrija e tente novamente.");
    EXPECT_EQ(badFinalDateMessage(), "Data Final incorreta. Corrija e tente novamente.");
    EXPECT_EQ(noInventoryMessage(QDate(2024, 5, 1)),
              QStringLiteral("Antes de prosseguir, favor incluir um inventário\rcom a posição do estoque do dia "
                             "\"01/05/24\".\r\rNa tela inicial do sistema, acesse a opção \rESTOQUE / INVENTÁRIOS"));
    EXPECT_EQ(stockProgramMissingMessage(),
              QStringLiteral("Atenção: \"Vandor.exe\" não encontrado, favor entrar em contato com a ZUN Sistemas"));
}
