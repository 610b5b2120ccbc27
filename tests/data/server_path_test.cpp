// The server path: a real firebird server on the loopback address serves both databases by the
// aliases of the Windows paths, exactly as a Linux server of the suite would.
#include "data/data_module.h"
#include "data/db_error.h"
#include "firebird_fixture.h"
#include "platform/sql_literal.h"

#include <gtest/gtest.h>

using namespace livros;
using namespace livros::data;
using livros::testing::ServerSuite;

class ServerPathTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { suite = new ServerSuite; }
    static void TearDownTestSuite() { delete suite; suite = nullptr; }
    void SetUp() override
    {
        suite->startServer();
        suite->clearAllTables();
        dm = suite->makeDataModule();
    }
    static ServerSuite* suite;
    std::unique_ptr<TDM> dm;
};
ServerSuite* ServerPathTest::suite = nullptr;

TEST_F(ServerPathTest, BothConnectionsReachTheirDatabasesThroughTheServer)
{
    EXPECT_EQ(dm->sqlcon1.param("DataBase"), suite->serverAddress() + ":C:\\quilmara\\dados\\quilmara.bd");
    const QString text = QString::fromUtf8("Saída Ç º €");
    dm->sqlcon1.execute("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', " + sqlLiteral(text) + ")");
    dm->SQLQuery1.setSql("select LABORATORIO from TABLAB");
    dm->SQLQuery1.open();
    EXPECT_EQ(dm->SQLQuery1.asString("LABORATORIO"), text);
    dm->SQLQuery1.close();
    EXPECT_EQ(suite->scalarMain("select octet_length(LABORATORIO) from TABLAB"), QString::number(text.size()));

    dm->Periodo.open();
    dm->Periodo.edit();
    dm->PeriodoDATAINICIAL().setValue(QDate(2024, 5, 1));
    dm->Periodo.post();
    EXPECT_EQ(suite->scalarInterface("select DATAINICIAL from PERIODO"), QString("2024-05-01"));
}

TEST_F(ServerPathTest, UnreachableServerGivesTheDriverMessageThenAttachesAgainWhenBack)
{
    dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('1')");
    suite->stopServer();
    try {
        dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('2')");
        FAIL() << "a stopped server must fail the statement";
    } catch (const DbError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    suite->startServer();
    EXPECT_EQ(dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('3')"), 1); // attaches again
    EXPECT_EQ(suite->rowsMain("select LOJA from TABLAB order by LOJA"), QStringList({"1", "3"}));
}
