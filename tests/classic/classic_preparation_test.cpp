// The classic preparation against a real embedded Firebird: period checks, the inventory
// precondition and the stock program, the window states, and failing movement queries.
#include "book/classic/classic_book_builder.h"
#include "book/classic/classic_preparation.h"
#include "book/classic/classic_sql.h"
#include "book/classic/component_lists.h"
#include "classic_test_data.h"
#include "classic_test_view.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"
#include "message_recorder.h"
#include "platform/user_messages.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <functional>
#include <memory>

using namespace livros::classic;
using namespace livros::classic::testing;
using livros::testing::EmbeddedSuite;

namespace {

class Preparation : public livros::testing::SharedSuiteTest<> {
protected:

    void SetUp() override
    {
        s_suite->clearAllTables();
        QFile::remove(s_suite->folder() + "Vandor.exe");
        QFile::remove(markerPath());
        dm = s_suite->makeDataModule();
        data.component("C001", "Morfina", "G", "A1", "D1");
        // A line of an earlier book, of another store: only a preparation that builds empties it.
        s_suite->execMain("insert into LIVROCONTR (ID, CNPJ) values (99, '99888777000166')");
    }

    ClassicPreparationOutcome prepare(const QString& from, const QString& to, int group = 1)
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

    static QString markerPath() { return s_suite->folder() + "vandor_started.txt"; }

    void installStockProgram()
    {
        QFile script(s_suite->folder() + "Vandor.exe");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + markerPath().toLocal8Bit() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    static bool waitForFile(const QString& path, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (QFile::exists(path))
                return true;
            QThread::msleep(20);
        }
        return QFile::exists(path);
    }

    QStringList bookIds() { return s_suite->rowsMain("select ID from LIVROCONTR order by ID"); }

    // What a refused period leaves: listing emptied, panel back, nothing written.
    void expectRefused(const QString& message, const QString& focus)
    {
        EXPECT_EQ(view.messages, QStringList{message});
        EXPECT_EQ(view.events, (QStringList{"listing:clear", "panel:hide", "message", "panel:show", focus}));
        EXPECT_TRUE(view.listing.isEmpty());
        EXPECT_FALSE(view.bookButtonsVisible);
        EXPECT_EQ(bookIds(), QStringList{"99"});
        EXPECT_EQ(view.processEventsCalls, 1);
    }

    TestData data{*s_suite};
    std::unique_ptr<livros::data::TDM> dm;
    ComponentLists lists;
    RecordingView view;
};


} // namespace

TEST_F(Preparation, BadInitialDates)
{
    data.inventory("2024-02-01", "C001", 1, "G");
    for (const QString& text : {QStringLiteral("31/02/24"), QStringLiteral("  /  /  "), QStringLiteral("")}) {
        view = RecordingView();
        EXPECT_EQ(prepare(text, "29/02/24"), ClassicPreparationOutcome::BadInitialDate) << text.toStdString();
        expectRefused(badInitialDateMessage(), "focus:initial");
    }
}

TEST_F(Preparation, BadFinalDates)
{
    data.inventory("2024-02-01", "C001", 1, "G");
    for (const QString& text : {QStringLiteral("31/02/24"), QStringLiteral("  /  /  "), QStringLiteral("01/13/24")}) {
        view = RecordingView();
        EXPECT_EQ(prepare("01/02/24", text), ClassicPreparationOutcome::BadFinalDate) << text.toStdString();
        expectRefused(badFinalDateMessage(), "focus:final");
    }
}

TEST_F(Preparation, FinalDateBeforeInitialDateIsRefused)
{
    data.inventory("2024-05-10", "C001", 1, "G");
    EXPECT_EQ(prepare("10/05/24", "09/05/24"), ClassicPreparationOutcome::BadFinalDate);
    expectRefused(badFinalDateMessage(), "focus:final");
}

TEST_F(Preparation, NoInventoryAndNoStockProgram)
{
    EXPECT_EQ(prepare("01/05/24", "31/05/24"), ClassicPreparationOutcome::NoInventory);
    EXPECT_EQ(view.messages,
              (QStringList{QStringLiteral("Antes de prosseguir, favor incluir um inventário\rcom a posição do estoque "
                                          "do dia \"01/05/24\".\r\rNa tela inicial do sistema, acesse a opção "
                                          "\rESTOQUE / INVENTÁRIOS"),
                           QStringLiteral("Atenção: \"Vandor.exe\" não encontrado, favor entrar em contato com a "
                                          "ZUN Sistemas")}));
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_FALSE(view.periodPanelVisible);
    EXPECT_TRUE(view.listing.isEmpty());
    EXPECT_FALSE(view.events.contains("listing:show"));
    EXPECT_FALSE(view.events.contains("gauge:show"));
    EXPECT_EQ(bookIds(), QStringList{"99"});
}

TEST_F(Preparation, InventoryOfAnotherStoreOrOfTheDayBeforeDoesNotCount)
{
    data.inventory("2024-05-01", "C001", 1, "G", kOtherStore);
    data.inventory("2024-04-30", "C001", 1, "G");
    EXPECT_EQ(prepare("01/05/24", "31/05/24"), ClassicPreparationOutcome::NoInventory);
    EXPECT_EQ(view.messages.size(), 2);
    EXPECT_EQ(bookIds(), QStringList{"99"});
}

TEST_F(Preparation, StockProgramIsStartedWhenThereIsNoInventory)
{
    installStockProgram();
    EXPECT_EQ(prepare("01/05/24", "31/05/24"), ClassicPreparationOutcome::NoInventory);
    EXPECT_EQ(view.messages.size(), 1);
    EXPECT_TRUE(view.messages.at(0).startsWith(QStringLiteral("Antes de prosseguir")));
    EXPECT_TRUE(waitForFile(markerPath(), 10000));
    EXPECT_TRUE(view.bookButtonsVisible);
}

TEST_F(Preparation, StockProgramIsNotStartedWhenAskedNotTo)
{
    installStockProgram();
    lists = loadComponentLists(*dm);
    ClassicPreparationRequest request;
    request.initialDateText = "01/05/24";
    request.finalDateText = "31/05/24";
    request.storeCnpj = kStore;
    request.selectedGroup = 1;
    request.lists = &lists;
    request.programFolder = s_suite->folder();
    request.startStockProgram = false;
    EXPECT_EQ(prepareClassicBook(*dm, view, request), ClassicPreparationOutcome::NoInventory);
    EXPECT_EQ(view.messages.size(), 1);
    EXPECT_FALSE(waitForFile(markerPath(), 500));
}

TEST_F(Preparation, BuiltBookLeavesTheListingAndBookChoice)
{
    data.inventory("2024-05-01", "C001", 1, "G");
    dm->Periodo.open();
    EXPECT_EQ(prepare("01/05/24", "01/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_FALSE(dm->Periodo.active());
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(view.listingVisible);
    EXPECT_TRUE(view.closeButtonVisible);
    EXPECT_FALSE(view.periodPanelVisible);
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_FALSE(view.gaugeVisible);
    EXPECT_FALSE(view.statusVisible);
    const QStringList expectedStart = {"listing:clear", "panel:hide", "listing:show", "close:hide", "gauge:show",
                                       "status:show", "gauge:max 1"};
    EXPECT_EQ(view.events.mid(0, expectedStart.size()), expectedStart);
    const QStringList expectedEnd = {"status:hide", "gauge:hide", "close:show", "bookButtons:show"};
    EXPECT_EQ(view.events.mid(view.events.size() - expectedEnd.size()), expectedEnd);
    // The whole table is emptied, whatever store or group its lines were of.
    EXPECT_TRUE(bookIds().isEmpty());
    // One product: named once.
    EXPECT_EQ(view.statusTexts, QStringList{"Morfina - 01/05/24 a 01/05/24"});
}

TEST_F(Preparation, DayCountIncludesBothEnds)
{
    data.inventory("2024-05-01", "C001", 1, "G");
    EXPECT_EQ(prepare("01/05/24", "31/05/24"), ClassicPreparationOutcome::Built);
    EXPECT_EQ(view.statusTexts, QStringList{"Morfina - 01/05/24 a 31/05/24"});
}

TEST_F(Preparation, GroupOutsideOneToFourBuildsNothing)
{
    data.inventory("2024-05-01", "C001", 1, "G");
    EXPECT_EQ(prepare("01/05/24", "01/05/24", 0), ClassicPreparationOutcome::Built);
    EXPECT_EQ(view.listing.size(), 2);
    EXPECT_TRUE(bookIds().isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Failing queries: each test has a database of its own, with one table taken away.

namespace {

class FailingQuery : public ::testing::Test {
protected:
    void SetUp() override
    {
        suite = std::make_unique<EmbeddedSuite>();
    }

    // Runs `breakingStatement` first (dropping a table that nothing has used yet, or restricting
    // LIVROCONTR), fills the catalogue and the movements of the other tables, and opens the data
    // module.
    void start(const QString& breakingStatement)
    {
        suite->execMain(breakingStatement);
        TestData data{*suite};
        const auto ignoringDroppedTable = [](const std::function<void()>& insert) {
            try {
                insert();
            } catch (const livros::data::DbError&) {
            }
        };
        data.component("C001", "Morfina", "G", "A1", "D1");
        ignoringDroppedTable([&] { data.inventory("2024-05-01", "C001", 10, "G"); });
        ignoringDroppedTable([&] { data.entry("2024-05-01", "C001", 5, "G"); });
        ignoringDroppedTable([&] { data.exit("2024-05-01", "C001", 1, "G"); });
        ignoringDroppedTable([&] { data.loss("2024-05-01", "D1", 2, "G", "Quebra"); });
        ignoringDroppedTable([&] { data.entry("2024-05-02", "C001", 1, "G"); });
        suite->releaseConnections();
        dm = suite->makeDataModule();
    }

    ClassicPreparationOutcome prepare()
    {
        lists = loadComponentLists(*dm);
        ClassicPreparationRequest request;
        request.initialDateText = "01/05/24";
        request.finalDateText = "02/05/24";
        request.storeCnpj = kStore;
        request.selectedGroup = 1;
        request.lists = &lists;
        request.programFolder = suite->folder();
        return prepareClassicBook(*dm, view, request);
    }

    QStringList balances()
    {
        return suite->rowsMain("select ID || ':' || MOVIMENTO || ':' || cast(SALDO as varchar(30)) from LIVROCONTR "
                               "order by ID");
    }

    std::unique_ptr<EmbeddedSuite> suite;
    std::unique_ptr<livros::data::TDM> dm;
    ComponentLists lists;
    RecordingView view;
    livros::testing::MessageRecorder recorder;
};

} // namespace

// A failed movement query or book line stops the build with the server's reason and the
// statement, leaves no part of the book in LIVROCONTR, and brings the book choice back.
void expectStoppedBuild(const RecordingView& view, const livros::testing::MessageRecorder& recorder,
                        const QStringList& expectedInMessage, const QStringList& bookRows)
{
    EXPECT_TRUE(recorder.terminations.isEmpty());
    ASSERT_EQ(view.messages.size(), 1) << view.messages.join('\n').toStdString();
    for (const QString& part : expectedInMessage)
        EXPECT_TRUE(view.messages.at(0).contains(part)) << part.toStdString() << " in " << view.messages.at(0).toStdString();
    EXPECT_TRUE(view.messages.at(0).endsWith(QStringLiteral("O livro não foi montado.")));
    EXPECT_TRUE(bookRows.isEmpty());
    EXPECT_FALSE(view.listing.join('\n').contains("FIM"));
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_TRUE(view.closeButtonVisible);
    EXPECT_FALSE(view.gaugeVisible);
}

TEST_F(FailingQuery, LossesQueryStopsTheBuildWithTheServersReason)
{
    start("drop table PERDAS");
    EXPECT_EQ(prepare(), ClassicPreparationOutcome::Failed);
    expectStoppedBuild(view, recorder,
                       {QStringLiteral("Não foi possível ler as perdas do período 01/05/24 a 02/05/24."),
                        "tabela desconhecida",
                        "from PERDAS where DATA between '2024-05-01' and '2024-05-02' and LOJA = "
                        "cast('12345678000199' as varchar(255)) and (DCB in ('D1')"},
                       balances());
}

TEST_F(FailingQuery, EntriesQueryStopsTheBuild)
{
    start("drop table COMPRAS");
    EXPECT_EQ(prepare(), ClassicPreparationOutcome::Failed);
    expectStoppedBuild(view, recorder, {"entradas", "tabela desconhecida", "and COMPRAS.CODIGO in ('C001')"}, balances());
}

TEST_F(FailingQuery, ExitsQueryFailureStopsTheBuildInsteadOfSkippingTheDay)
{
    start("drop table COMPEDID");
    EXPECT_EQ(prepare(), ClassicPreparationOutcome::Failed);
    expectStoppedBuild(view, recorder, {QStringLiteral("saídas"), "PEDIDOS.DATAPEDIDO between '2024-05-01' and '2024-05-02'"}, balances());
}

TEST_F(FailingQuery, ALineTheServerRefusesStopsTheBuild)
{
    // The entry (15) is written; the exit's balance of 14 is refused.
    start("alter table LIVROCONTR add constraint SALDO_RECUSADO check (SALDO <> 14)");
    EXPECT_EQ(prepare(), ClassicPreparationOutcome::Failed);
    expectStoppedBuild(view, recorder,
                       {QStringLiteral("A linha 2 do livro (Morfina, 01/05/24) não foi gravada."), "SALDO_RECUSADO",
                        "Insert into LIVROCONTR"},
                       balances());
    // The refused statement ends the listing.
    EXPECT_TRUE(view.listing.last().startsWith("Insert into LIVROCONTR"));
    EXPECT_TRUE(view.listing.last().contains("14.0000")) << view.listing.last().toStdString();
}

TEST_F(FailingQuery, DatabaseErrorBringsBookChoiceBackAndPropagates)
{
    start("drop table BALANCOS");
    EXPECT_THROW(prepare(), livros::data::DbError);
    EXPECT_TRUE(view.bookButtonsVisible);
    EXPECT_TRUE(view.messages.isEmpty());
}
