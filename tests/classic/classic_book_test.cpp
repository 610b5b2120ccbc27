// The group walk against a real embedded Firebird: book lines, running balance, listing, progress.
#include "book/classic/classic_book_builder.h"
#include "book/classic/classic_preparation.h"
#include "book/classic/component_lists.h"
#include "classic_test_data.h"
#include "classic_test_view.h"
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"
#include "message_recorder.h"

#include <gtest/gtest.h>


#include <memory>

using namespace livros::classic;
using namespace livros::classic::testing;
using livros::testing::EmbeddedSuite;

namespace {

QString repeat(char c, int n) { return QString(n, QLatin1Char(c)); }

class ClassicBook : public livros::testing::SharedSuiteTest<> {
protected:

    void SetUp() override
    {
        s_suite->clearAllTables();
        dm = s_suite->makeDataModule();
    }

    // Builds the group's book as the preparation does, for the period given as typed.
    ClassicPreparationOutcome prepare(int group, const QString& from, const QString& to)
    {
        lists = loadComponentLists(*dm);
        ClassicPreparationRequest request;
        request.initialDateText = from;
        request.finalDateText = to;
        request.storeCnpj = kStore;
        request.selectedGroup = group;
        request.lists = &lists;
        request.programFolder = s_suite->folder();
        return prepareClassicBook(*dm, view, request);
    }

    QString scalar(const QString& sql) { return s_suite->scalarMain(sql); }
    QStringList rows(const QString& sql) { return s_suite->rowsMain(sql); }
    QString column(int id, const QString& name)
    {
        return scalar(QStringLiteral("select cast(%1 as varchar(200)) from LIVROCONTR where ID = %2").arg(name).arg(id));
    }
    QStringList ids() { return rows(QStringLiteral("select ID from LIVROCONTR order by ID")); }
    QStringList balances()
    {
        return rows(QStringLiteral("select ID || ':' || cast(SALDO as varchar(30)) from LIVROCONTR order by ID"));
    }

    TestData data{*s_suite};
    std::unique_ptr<livros::data::TDM> dm;
    ComponentLists lists;
    RecordingView view;
};


} // namespace

TEST_F(ClassicBook, OneDayWithEntryExitAndLoss)
{
    data.component("C001", "Morfina cloridrato", "G", "A1", "03456");
    data.inventory("2024-05-01", "C001", 5, "G");
    data.entry("2024-05-02", "C001", 10, "G");
    data.exit("2024-05-02", "C001", 3, "G");
    data.loss("2024-05-02", "03456", 1, "G", "Frasco quebrado");

    ASSERT_EQ(prepare(1, "01/05/24", "03/05/24"), ClassicPreparationOutcome::Built);

    EXPECT_EQ(balances(), (QStringList{"1:15.000000", "2:12.000000", "3:11.000000"}));
    for (int id = 1; id <= 3; ++id) {
        EXPECT_EQ(column(id, "ESTOQUEINICIAL"), "5.000000");
        EXPECT_EQ(column(id, "CNPJ"), kStore);
        EXPECT_EQ(column(id, "DCB"), "03456");
        EXPECT_EQ(column(id, "LIVRO"), "Medicamentos entorpecentes - Listas A1 E A2");
        EXPECT_EQ(column(id, "DATA"), "2024-05-02");
        EXPECT_EQ(column(id, "CODIGO"), "C001");
        EXPECT_EQ(column(id, "COMPONENTE"), "Morfina cloridrato");
        EXPECT_EQ(column(id, "PERIODO"), "01/05/24 a 03/05/24");
        EXPECT_EQ(column(id, "UNID"), "G");
        EXPECT_EQ(column(id, "LINHA"), "");
    }
    EXPECT_EQ(column(1, "HISTORICO"), "Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 10,000000 G");
    EXPECT_EQ(column(2, "HISTORICO"), "Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 3,000000 G");
    EXPECT_EQ(column(3, "HISTORICO"), "Perda - Forn: ABC Lote: L1  Qde: 1,000000 G");
    EXPECT_EQ(column(1, "MOVIMENTO"), "Entrada");
    EXPECT_EQ(column(2, "MOVIMENTO"), QStringLiteral("Saída"));
    EXPECT_EQ(column(3, "MOVIMENTO"), QStringLiteral("Saída"));
    EXPECT_EQ(column(1, "OBSERVACOES"), "Compra");
    EXPECT_EQ(column(2, "OBSERVACOES"), "Venda");
    EXPECT_EQ(column(3, "OBSERVACOES"), "Frasco quebrado");

    const QStringList expected = {
        " ",
        " ",
        " ",
        repeat('=', 153),
        " Medicamentos entorpecentes - Listas A1 e A2",
        " Período: 01/05/24 a 03/05/24",
        " ",
        " MORFINA CLORIDRATO    DCB: 03456    SALDO INICIAL: 5,0000 G",
        " ",
        repeat('-', 153),
        " DATA     | HISTÓRICO                                                                             "
        "| MOVIMENTO | ESTOQUE        | OBSERVAÇÃO              ",
        "----------|---------------------------------------------------------------------------------------"
        "|-----------|----------------|-------------------------",
        " 02/05/24 | Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 10,000000 G                                  "
        "| Entrada   |       15,00000 | Compra",
        " 02/05/24 | Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 3,000000 G                                   "
        "| Saída     |       12,00000 | Venda",
        " 02/05/24 | Perda - Forn: ABC Lote: L1  Qde: 1,000000 G                                           "
        "| Saída     |       11,00000 | Frasco quebrado",
        repeat('=', 153),
        " ",
        " ",
        " ",
        " ",
        "------------------------------------------------------------  FIM  "
        "---------------------------------------------------------------------------",
    };
    ASSERT_EQ(view.listing.size(), expected.size()) << view.listing.join('\n').toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(view.listing.at(i), expected.at(i)) << "line " << i + 1;
}

TEST_F(ClassicBook, NegativeBalanceIsWrittenWithItsSign)
{
    data.component("C001", "Fenobarbital", "G", "B1", "D1");
    data.inventory("2024-05-01", "C001", 1, "G");
    data.exit("2024-05-01", "C001", 3.5, "G");
    ASSERT_EQ(prepare(2, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(balances(), QStringList{"1:-2.500000"});
    EXPECT_TRUE(view.listing.filter(QStringLiteral("|       -2,50000 | Venda")).size() == 1)
        << view.listing.join('\n').toStdString();
}

TEST_F(ClassicBook, BalanceIsStoredWithFourDecimalsAndListedWithFive)
{
    data.component("C001", "Clonazepam", "G", "B1", "D1");
    data.component("C002", "Diazepam", "G", "B1", "D2");
    data.inventory("2024-05-01", "C002", 2, "G");  // the store's inventory exists, but not for C001
    data.entry("2024-05-01", "C001", 1.23456, "G");
    ASSERT_EQ(prepare(2, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);

    EXPECT_EQ(column(1, "SALDO"), "1.234600");
    EXPECT_EQ(column(1, "ESTOQUEINICIAL"), "0.000000");
    EXPECT_EQ(column(1, "UNID"), "G");
    EXPECT_EQ(view.listing.filter(QStringLiteral("|        1,23456 | Compra")).size(), 1);
    EXPECT_TRUE(view.listing.contains(" CLONAZEPAM    DCB: D1    SALDO INICIAL: 0.000 G"));
    EXPECT_TRUE(view.listing.contains(" DIAZEPAM    DCB: D2    SALDO INICIAL: 2,0000 G"));
}

TEST_F(ClassicBook, InventoryOfZeroShowsFourDecimals)
{
    data.component("C001", "Clonazepam", "G", "B1", "D1");
    data.inventory("2024-05-01", "C001", 0, "G");
    ASSERT_EQ(prepare(2, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_TRUE(view.listing.contains(" CLONAZEPAM    DCB: D1    SALDO INICIAL: 0,0000 G"));
}

TEST_F(ClassicBook, InventoryUnitDifferingFromTheCatalogue)
{
    data.component("C001", "Cocaina", "KG", "A1", "D1");
    data.inventory("2024-05-01", "C001", 1500, "G");
    data.entry("2024-05-01", "C001", 2, "KG");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);

    const int block = int(view.listing.indexOf(QStringLiteral("* * * * * * * * * *")));
    ASSERT_GE(block, 0);
    const QStringList expected = {
        "* * * * * * * * * *",
        QStringLiteral("ERRO: Inconsistência na Unidade do componente"),
        "  Em COMPONEN: Unid = KG",
        "  Em BALANCOS: Unid = G",
        "  Em BALANCOS: QDE. = 1.500,0000",
        "* * * * * * * * * *",
        " COCAINA    DCB: D1    SALDO INICIAL: 1,5000 KG",
    };
    EXPECT_EQ(view.listing.mid(block, expected.size()), expected);
    // The book counts in the catalogue's unit: the inventory of 1500 g opens it at 1.5 kg.
    EXPECT_EQ(column(1, "UNID"), "KG");
    EXPECT_EQ(column(1, "ESTOQUEINICIAL"), "1.500000");
    EXPECT_EQ(column(1, "SALDO"), "3.500000");
}

TEST_F(ClassicBook, ComponentWithoutMovement)
{
    data.component("C001", QStringLiteral("ácido bórico"), "G", "C3", "D1");
    data.inventory("2024-05-01", "C001", 4, "G");
    ASSERT_EQ(prepare(4, "01/05/24", "02/05/24"), ClassicPreparationOutcome::Built);

    EXPECT_TRUE(ids().isEmpty());
    const QStringList expected = {
        " ",
        " ",
        " ",
        repeat('=', 153),
        " Medicamentos imunossupressores - Lista C3",
        QStringLiteral(" Período: 01/05/24 a 02/05/24"),
        " ",
        QStringLiteral(" áCIDO BóRICO    DCB: D1    SALDO INICIAL: 4,0000 G"),
        " ",
        repeat('-', 153),
        QStringLiteral(" DATA     | HISTÓRICO                                                                             "
                       "| MOVIMENTO | ESTOQUE        | OBSERVAÇÃO              "),
        "----------|---------------------------------------------------------------------------------------"
        "|-----------|----------------|-------------------------",
        QStringLiteral("NÃO HOUVE MOVIMENTAÇÃO NESSE PERÍODO"),
        repeat('=', 153),
        " ",
        " ",
        " ",
        " ",
        repeat('-', 60) + "  FIM  " + repeat('-', 75),
    };
    EXPECT_EQ(view.listing, expected);
}

TEST_F(ClassicBook, EmptyGroupWritesOnlyTheClosing)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 4, "G");
    ASSERT_EQ(prepare(4, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(view.listing, (QStringList{" ", repeat('-', 60) + "  FIM  " + repeat('-', 75)}));
    EXPECT_EQ(view.gaugeMaximum, -1);
    EXPECT_TRUE(ids().isEmpty());
}

TEST_F(ClassicBook, ALossOfASharedDcbCountsOnceForTheProductItNames)
{
    data.component("C001", "Metadona A", "G", "A1", "DCB9");
    data.component("C002", "Metadona B", "G", "A1", "DCB9");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.inventory("2024-05-01", "C002", 20, "G");
    data.lossComponente = QStringLiteral("Metadona B");
    data.loss("2024-05-01", "DCB9", 2, "G", "Quebra");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(rows("select ID || ':' || CODIGO || ':' || cast(SALDO as varchar(30)) from LIVROCONTR order by ID"),
              (QStringList{"1:C002:18.000000"}));

    // A loss that names neither product of the DCB stops the build, naming the loss.
    data.lossComponente = QStringLiteral("Metadona");
    data.loss("2024-05-01", "DCB9", 1, "G", "Vencido", "L7");
    view.messages.clear();
    EXPECT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Refused);
    ASSERT_FALSE(view.messages.isEmpty());
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("Lote: L7")));
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("DCB \"DCB9\" é de 2 produtos")));
    EXPECT_EQ(rows("select count(*) from LIVROCONTR"), (QStringList{"1"})); // the previous book stays
}

TEST_F(ClassicBook, StoreConditions)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 5, "G", "L1", "ABC", kOtherStore);     // another store's purchase
    data.loss("2024-05-01", "D1", 1, "G", "Quebra", "L1", "ABC", kOtherStore); // another store's loss
    data.exit("2024-05-01", "C001", 2, "G");                                  // orders carry no store
    data.exit("2024-05-01", "C001", 1, "G", "L1", "ABC", "Repos");
    data.exit("2024-05-01", "C001", 4, "G", "L1", "ABC", "Orcamento");        // not a sale
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(rows("select cast(SALDO as varchar(30)) from LIVROCONTR order by SALDO desc"),
              (QStringList{"8.000000", "7.000000"}));
}

TEST_F(ClassicBook, LongSupplierAndReasonAreCut)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    const QString supplier = QStringLiteral("DISTRIBUIDORA FARMACEUTICA SUL");       // 30
    const QString reason = QStringLiteral("Vencimento do lote apos armazenagem ruim"); // 40
    data.loss("2024-05-01", "D1", 1, "G", reason, "L1", supplier);
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(column(1, "HISTORICO"), "Perda - Forn: DISTRIBUIDORA FARMAC Lote: L1  Qde: 1,000000 G");
    EXPECT_EQ(column(1, "OBSERVACOES"), "Vencimento do lote apos");
    EXPECT_EQ(view.listing.filter(QStringLiteral("|        9,00000 | Vencimento do lote apos")).size(), 1);
    EXPECT_TRUE(view.listing.filter(QStringLiteral("Vencimento do lote apos ")).isEmpty());
}

TEST_F(ClassicBook, QuoteInALotCodeIsInsertedIntact)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 1, "G", "L'01");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(column(1, "HISTORICO"), "Forn: ABC Lote: L'01 Val: 31/12/2025  Qde: 1,000000 G");
}

TEST_F(ClassicBook, IdsRunAcrossComponentsInBookOrder)
{
    // Book order is list code first: the A2 product comes after the A1 product whatever its name.
    data.component("C001", "Zolpidem", "G", "A1", "D1");
    data.component("C002", "Alfentanil", "G", "A2", "D2");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.inventory("2024-05-01", "C002", 10, "G");
    data.entry("2024-05-01", "C002", 1, "G");
    data.entry("2024-05-02", "C001", 1, "G");
    data.exit("2024-05-01", "C001", 1, "G");
    data.loss("2024-05-02", "D2", 1, "G", "Quebra");
    ASSERT_EQ(prepare(1, "01/05/24", "02/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(rows("select ID || ':' || CODIGO || ':' || MOVIMENTO || ':' || DATA from LIVROCONTR order by ID"),
              (QStringList{QStringLiteral("1:C001:Saída:2024-05-01"), "2:C001:Entrada:2024-05-02",
                           "3:C002:Entrada:2024-05-01", QStringLiteral("4:C002:Saída:2024-05-02")}));
}

TEST_F(ClassicBook, LongHistoryIsStoredWithItsQuantityWholeAndListedWhole)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    // A 30-character lot makes a history text longer than the 90 characters of HISTORICO.
    const QString longLot = QStringLiteral("LOTE-0123456789-0123456789-012");
    data.entry("2024-05-01", "C001", 1000000, "G", longLot, "FORNECEDOR DE TESTE LTDA");
    data.exit("2024-05-01", "C001", 1, "G");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);

    const QString history = QStringLiteral("Forn: FORNECEDOR DE TESTE  Lote: ") + longLot
        + QStringLiteral(" Val: 31/12/2025  Qde: 1.000.000,000000 G");
    ASSERT_GT(history.size(), 90);
    EXPECT_EQ(balances(), (QStringList{"1:1000010.000000", "2:1000009.000000"}));
    // The supplier is shortened to fit the column; the quantity and unit stay whole.
    EXPECT_EQ(column(1, "HISTORICO"), QStringLiteral("Forn: FORNEC Lote: ") + longLot
                                          + QStringLiteral(" Val: 31/12/2025  Qde: 1.000.000,000000 G"));
    EXPECT_EQ(column(1, "HISTORICO").size(), 90);
    EXPECT_EQ(view.listing.filter(history + QStringLiteral(" | Entrada   |")).size(), 1);
    EXPECT_TRUE(view.listing.filter(QStringLiteral("Insert into")).isEmpty());
}

TEST_F(ClassicBook, PurchasesInKilogramsOrLitresIntoGramsOrMillilitres)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.component("C002", "Metadona", "ml", "A1", "D2");
    data.component("C003", "Codeina", "mg", "A2", "D3");
    data.inventory("2024-05-01", "C001", 10.3, "G");
    data.inventory("2024-05-01", "C002", 5, "ml");
    data.inventory("2024-05-01", "C003", 5, "mg");
    data.entry("2024-05-01", "C001", 0.1, "KG");
    data.entry("2024-05-01", "C001", 2, "g");
    data.entry("2024-05-01", "C002", 0.25, "l");
    data.entry("2024-05-01", "C003", 1, "KG");  // a million milligrams
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);

    EXPECT_EQ(rows("select CODIGO || ':' || cast(SALDO as varchar(30)) from LIVROCONTR order by ID"),
              (QStringList{"C002:255.000000", "C001:110.300000", "C001:112.300000", "C003:1000005.000000"}));
    // The history keeps the invoice's own quantity and unit.
    EXPECT_EQ(column(2, "HISTORICO"), "Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 0,100000 KG");
    EXPECT_EQ(column(1, "HISTORICO"), "Forn: ABC Lote: L1 Val: 31/12/2025  Qde: 0,250000 l");
    EXPECT_EQ(view.listing.filter(QStringLiteral("|      110,30000 | Compra")).size(), 1);
}

TEST_F(ClassicBook, WithSeveralStoresOnlyTheStoresLaboratoryFormulasAreExits)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.exitLaboratory = QStringLiteral("LAB1");
    data.exit("2024-05-01", "C001", 2, "G");           // this store's
    data.exitLaboratory = QStringLiteral("LAB2");
    data.exit("2024-05-01", "C001", 3, "G");           // the other store's

    // One store (or none) in TABLAB: every formula is the store's.
    data.store(kStore, "LAB1");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(balances(), (QStringList{"1:8.000000", "2:5.000000"}));

    data.store(kOtherStore, "LAB2");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(balances(), QStringList{"1:8.000000"});
}

TEST_F(ClassicBook, PrintingSelectsOnlyTheStoresLines)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 1, "G");
    ASSERT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);

    livros::data::CachedDataset& book = dm->LivroContr;
    book.close();
    book.setCommandText(livros::data::livroContrSelect(kStore));
    book.open();
    EXPECT_EQ(book.recordCount(), 1);
    book.close();
    book.setCommandText(livros::data::livroContrSelect(kOtherStore));
    book.open();
    EXPECT_EQ(book.recordCount(), 0);
    book.close();
}

// A line that the server refuses (here a trigger of the table) stops the build naming the line,
// and the build's transaction is rolled back: the previous book stays as it was.
TEST_F(ClassicBook, RefusedLineFailsTheBuildAndKeepsThePreviousBook)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.component("C002", "Metadona", "G", "A1", "D2");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.entry("2024-05-01", "C001", 5, "G", "RECUSADO");
    data.exit("2024-05-01", "C001", 1, "G");
    data.entry("2024-05-01", "C002", 2, "G");
    s_suite->execMain("insert into LIVROCONTR (ID, CNPJ, HISTORICO) values (1, 'anterior', 'linha do livro anterior')");
    s_suite->execMain("create exception E_RECUSADO 'linha recusada'");
    s_suite->execMain("create trigger T_RECUSADO for LIVROCONTR before insert as begin "
                      "if (new.HISTORICO like '%RECUSADO%') then exception E_RECUSADO; end");
    EXPECT_EQ(prepare(1, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Failed);
    s_suite->execMain("drop trigger T_RECUSADO");
    s_suite->execMain("drop exception E_RECUSADO");
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_TRUE(view.messages.at(0).contains(QStringLiteral("(Morfina, 01/05/24) não foi gravada"))) << view.messages.at(0).toStdString();
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_EQ(rows("select ID, CNPJ, HISTORICO from LIVROCONTR"), QStringList{"1|anterior|linha do livro anterior"});
}

// The lines go to the server several at a time: a line refused inside a full group is still the
// one named, and none of the group's other lines is kept.
TEST_F(ClassicBook, RefusedLineInsideAGroupOfLinesIsTheOneNamed)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.inventory("2024-05-01", "C001", 10, "G");
    for (int day = 1; day <= 30; ++day)
        data.entry(QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0')), "C001", day,
                   "G", day == 20 ? "RECUSADO" : "FORNECEDOR");
    for (int day = 1; day <= 10; ++day)
        data.exit(QStringLiteral("2024-05-%1").arg(day, 2, 10, QLatin1Char('0')), "C001", 1, "G");
    s_suite->execMain("create exception E_RECUSADO 'linha recusada'");
    s_suite->execMain("create trigger T_RECUSADO for LIVROCONTR before insert as begin "
                      "if (new.HISTORICO like '%RECUSADO%') then exception E_RECUSADO; end");
    EXPECT_EQ(prepare(1, "01/05/24", "31/05/24"), ClassicPreparationOutcome::Failed);
    s_suite->execMain("drop trigger T_RECUSADO");
    s_suite->execMain("drop exception E_RECUSADO");
    ASSERT_EQ(view.messages.size(), 1);
    // Day 20's entry is line 30: two lines (entry, exit) on each of the first ten days, then one a day.
    EXPECT_TRUE(view.messages.at(0).contains(QStringLiteral("A linha 30 do livro (Morfina, 20/05/24) não foi gravada")))
        << view.messages.at(0).toStdString();
    EXPECT_TRUE(view.messages.at(0).contains(QStringLiteral("linha recusada")));
    EXPECT_EQ(rows("select count(*) from LIVROCONTR"), QStringList{"0"});
}

TEST_F(ClassicBook, ProgressNamesEachComponentOnce)
{
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.component("C002", "Metadona", "G", "A1", "D2");
    data.inventory("2024-05-01", "C001", 10, "G");
    ASSERT_EQ(prepare(1, "01/05/24", "02/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(view.gaugeMaximum, 2);
    EXPECT_EQ(view.gaugePositions, (QList<int>{1, 2}));
    EXPECT_EQ(view.statusTexts, (QStringList{"Metadona - 01/05/24 a 02/05/24", "Morfina - 01/05/24 a 02/05/24"}));
    // The window repaints once before the work starts, then at the start and the end of each product.
    EXPECT_EQ(view.processEventsCalls, 1 + 2 * 2);
}

TEST_F(ClassicBook, MoreThanAHundredProductsInOneGroup)
{
    for (int i = 1; i <= 120; ++i)
        data.component(QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')),
                       QStringLiteral("Produto %1").arg(i, 3, 10, QLatin1Char('0')), "G", "C3",
                       QStringLiteral("D%1").arg(i));
    data.inventory("2024-05-01", "P001", 1, "G");
    data.entry("2024-05-01", "P120", 2, "G");

    ASSERT_EQ(prepare(4, "01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    ASSERT_EQ(lists.group(4)->count(), 120);
    EXPECT_EQ(lists.group(4)->entry(120).codigo, "P120");
    EXPECT_EQ(view.gaugeMaximum, 120);
    EXPECT_EQ(view.gaugePositions.size(), 120);
    EXPECT_EQ(view.listing.count(QStringLiteral("NÃO HOUVE MOVIMENTAÇÃO NESSE PERÍODO")), 119);
    EXPECT_EQ(rows("select ID || ':' || CODIGO from LIVROCONTR"), QStringList{"1:P120"});
}

TEST_F(ClassicBook, LoadingSortsTheCatalogueIntoTheFourGroups)
{
    data.component("C01", "Morfina", "G", "A1", "D1");
    data.component("C02", "Fentanil", "G", "A2", "D2");
    data.component("C03", "Anfetamina", "G", "A3", "D3");
    data.component("C04", "Talidomida", "G", "C3", "D4");
    data.component("C05", "Retinoico", "G", "C2", "D5");
    data.component("C06", "Lower case list", "G", "a1", "D6");
    data.component("C07", "Unknown list", "G", "D1", "D7");
    data.component("C08", "Drugstore", "G", "A1", "D8", "REV");
    data.component("C09", "Not controlled", "G", "A1", "D9", "MAN", "Nao");
    data.component("C10", "Empty list", "G", "", "D10");
    data.component("C11", "Group rev01", "G", "A1", "D11", "rev01");
    data.component("C12", QStringLiteral("Nome muito longo ").repeated(4), "G", "B1", "DCB-DE-QUINZE-C");
    s_suite->execMain("insert into COMPONEN (CODIGO, COMPONENTE, UNID, LISTA, CONTROLADA) "
                      "values ('C13', 'Null list', 'G', null, 'Sim')");

    const ComponentLists loaded = loadComponentLists(*dm);
    QStringList group1;
    for (const ControlledComponent& c : *loaded.group(1))
        group1 << c.codigo;
    EXPECT_EQ(group1, (QStringList{"C01", "C02"}));  // A1 by name, then A2; "rev01" is a drugstore group
    ASSERT_EQ(loaded.group(2)->count(), 2);
    EXPECT_EQ(loaded.group(2)->entry(1).codigo, "C03");
    const ControlledComponent& longOne = loaded.group(2)->entry(2);
    EXPECT_EQ(longOne.componente, QStringLiteral("Nome muito longo ").repeated(4));
    EXPECT_EQ(longOne.dcb, "DCB-DE-QUINZE-C");
    EXPECT_EQ(longOne.lista, "B1");
    ASSERT_EQ(loaded.group(3)->count(), 1);
    EXPECT_EQ(loaded.group(3)->entry(1).codigo, "C05");
    ASSERT_EQ(loaded.group(4)->count(), 1);
    EXPECT_EQ(loaded.group(4)->entry(1).unid, "G");
}
