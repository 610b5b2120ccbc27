// The period record: edits are applied at once, rows are identified by every column as last
// read, and a change that another program overtook stays pending until the next post.
#include "data/data_module.h"
#include "data/db_error.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"

#include <gtest/gtest.h>

using namespace livros::data;
using livros::testing::EmbeddedSuite;

class PeriodoTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        dm = suite().makeDataModule();
    }
    QStringList periodRows() { return suite().rowsInterface("select DATAINICIAL, DATAFINAL, CHAVE, VALORTOTAL from PERIODO"); }
    std::unique_ptr<TDM> dm;
};

TEST_F(PeriodoTest, EmptyTableGetsItsRowFromTheFirstPostAndTheSecondUpdatesIt)
{
    dm->Periodo.open();
    EXPECT_TRUE(dm->PeriodoDATAINICIAL().asString().isEmpty());
    dm->Periodo.edit();
    EXPECT_EQ(dm->Periodo.state(), CachedDataset::State::Insert);
    dm->PeriodoDATAINICIAL().setValue(QDate(2024, 5, 1));
    dm->Periodo.post();
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|NULL|NULL|NULL"}));
    dm->Periodo.edit();
    EXPECT_EQ(dm->Periodo.state(), CachedDataset::State::Edit);
    dm->PeriodoDATAFINAL().setValue(QDate(2024, 5, 31));
    dm->Periodo.post();
    EXPECT_EQ(periodRows(), QStringList({"2024-05-01|2024-05-31|NULL|NULL"}));
    EXPECT_EQ(dm->PeriodoDATAFINAL().asString(), QString("31/05/2024"));
}

TEST_F(PeriodoTest, UpdateWritesOnlyTheChangedColumnAndKeepsTheSuitesValues)
{
    suite().execInterface("insert into PERIODO (DATAINICIAL, DATAFINAL, HORAINICIAL, CHAVE, ESTACAO, VALORTOTAL, VALORTOTAL2) "
                         "values ('2024-01-01', '2024-01-31', '10:11:12.3456', 'S', '01', 12.34567891, 0.00000001)");
    dm->Periodo.open();
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setAsString("15/01/2024");
    dm->Periodo.post();
    EXPECT_FALSE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(periodRows(), QStringList({"2024-01-15|2024-01-31|S|12.34567891"}));
    EXPECT_EQ(suite().scalarInterface("select count(*) from PERIODO"), QString("1"));
}

TEST_F(PeriodoTest, RowChangedMeanwhileStaysPendingAndIsSentAgain)
{
    suite().execInterface("insert into PERIODO (DATAINICIAL, DATAFINAL) values ('2024-01-01', '2024-01-31')");
    dm->Periodo.open();
    suite().execInterface("update PERIODO set CHAVE = 'X'"); // another program of the suite
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setValue(QDate(2024, 2, 1));
    try {
        dm->Periodo.post();
        FAIL() << "the refresh must refuse while the change is pending";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QString("Periodo: é preciso gravar as alterações antes de reler os dados"));
    }
    EXPECT_TRUE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(periodRows(), QStringList({"2024-01-01|2024-01-31|X|NULL"}));
    // The other program puts the row back as it was read: the next post sends the change again.
    suite().execInterface("update PERIODO set CHAVE = NULL");
    dm->Periodo.edit();
    dm->PeriodoDATAFINAL().setValue(QDate(2024, 2, 29));
    dm->Periodo.post();
    EXPECT_FALSE(dm->Periodo.hasPendingChanges());
    EXPECT_EQ(periodRows(), QStringList({"2024-02-01|2024-02-29|NULL|NULL"}));
}

TEST_F(PeriodoTest, InvalidDateTextIsRefusedAndTheFieldKeepsItsValue)
{
    suite().execInterface("insert into PERIODO (DATAINICIAL) values ('2024-01-01')");
    dm->Periodo.open();
    dm->Periodo.edit();
    try {
        dm->PeriodoDATAINICIAL().setAsString("31/02/2024");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QString("'31/02/2024' não é uma data válida"));
    }
    EXPECT_EQ(dm->PeriodoDATAINICIAL().asDate(), QDate(2024, 1, 1));
    dm->PeriodoDATAINICIAL().setAsString("");
    EXPECT_TRUE(dm->PeriodoDATAINICIAL().isNull());
    dm->Periodo.cancel();
    dm->Periodo.close();
    EXPECT_EQ(suite().scalarInterface("select DATAINICIAL from PERIODO"), QString("2024-01-01"));
}

TEST_F(PeriodoTest, CloseDropsAnEditNotPosted)
{
    suite().execInterface("insert into PERIODO (DATAINICIAL) values ('2024-01-01')");
    dm->Periodo.open();
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setValue(QDate(2030, 1, 1));
    dm->Periodo.close();
    EXPECT_THROW(dm->PeriodoDATAINICIAL().setValue(QDate(2030, 1, 1)), DbError); // closed record
    EXPECT_EQ(suite().scalarInterface("select DATAINICIAL from PERIODO"), QString("2024-01-01"));
}
