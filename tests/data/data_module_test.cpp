// The data module against a real embedded Firebird: queries, direct statements, text in code
// page 1252, the cached datasets and the start-up paths.
#include "data/data_module.h"
#include "data/db_error.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"
#include "message_recorder.h"
#include "platform/sql_literal.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::data;
using livros::testing::EmbeddedSuite;
using livros::testing::MessageRecorder;

class DataModuleTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        dm = suite().makeDataModule();
    }
    std::unique_ptr<TDM> dm;
};

TEST_F(DataModuleTest, StartupPointsBothConnectionsAtTheSuiteDatabases)
{
    EXPECT_EQ(dm->sqlcon1.param("DataBase"), QString(":C:\\quilmara\\dados\\quilmara.bd"));
    EXPECT_EQ(dm->sqlcon2.param("database"), QString(":C:\\quilmara\\interfac\\quilmara.bd"));
    EXPECT_EQ(dm->sqlcon1.vendorLib(), QString("gds32.dll"));
    EXPECT_FALSE(dm->sqlcon1.connected()); // opened on first use only
    dm->SQLQuery1.setSql("Select count(*) QDELAB from TABLAB");
    dm->SQLQuery1.open();
    EXPECT_EQ(dm->SQLQuery1.asInteger("QDELAB"), 0);
    dm->SQLQuery1.close();
    EXPECT_TRUE(dm->sqlcon1.connected());
}

TEST_F(DataModuleTest, QueryReadsColumnsByNameWithNullHandling)
{
    suite().execMain("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB1')");
    suite().execMain("insert into TABLAB (LOJA, LABORATORIO) values ('44555666000199', NULL)");
    Query& q = dm->SQLQuery1;
    q.setSql("select LOJA, LABORATORIO, cast(12.5 as numeric(15,6)) QDE, cast('2024-05-31' as date) DIA, "
             "cast('AB' as char(5)) FIXO from TABLAB order by LOJA");
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.asString("loja"), QString("11222333000181"));
    EXPECT_EQ(q.asString("LABORATORIO"), QString("LAB1"));
    EXPECT_DOUBLE_EQ(q.asFloat("QDE"), 12.5);
    EXPECT_EQ(q.asString("QDE"), QString("12,5"));
    EXPECT_EQ(q.asString("DIA"), QString("31/05/2024"));
    EXPECT_EQ(q.asString("FIXO"), QString("AB   ")); // fixed-length text keeps its blanks
    q.next();
    ASSERT_FALSE(q.eof());
    EXPECT_TRUE(q.isNull("LABORATORIO"));
    EXPECT_EQ(q.asString("LABORATORIO"), QString());
    EXPECT_EQ(q.asInteger("LABORATORIO"), 0);
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.asString("LOJA"), QString()); // past the end every field reads as null
    EXPECT_THROW(q.asString("NOPE"), DbError);
    try {
        q.asString("NOPE");
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("NOPE"));
    }
    q.close();
    EXPECT_FALSE(q.active());
}

TEST_F(DataModuleTest, TextTravelsAsCodePage1252Bytes)
{
    const QString text = QString::fromUtf8("Saída Ç º € ação");
    dm->sqlcon1.execute("insert into TABLAB (LOJA, LABORATORIO) values ('1', " + sqlLiteral(text) + ")");
    // The bytes stored are the single-byte ones other programs of the suite expect.
    EXPECT_EQ(suite().scalarMain("select octet_length(LABORATORIO) from TABLAB"), QString::number(text.size()));
    EXPECT_EQ(suite().scalarMain("select ascii_val(substring(LABORATORIO from 3 for 1)) from TABLAB"), QString("237")); // í
    EXPECT_EQ(suite().scalarMain("select ascii_val(substring(LABORATORIO from 11 for 1)) from TABLAB"), QString("128")); // €
    dm->SQLQuery1.setSql("select LABORATORIO from TABLAB");
    dm->SQLQuery1.open();
    EXPECT_EQ(dm->SQLQuery1.asString("LABORATORIO"), text);
    dm->SQLQuery1.close();
}

TEST_F(DataModuleTest, QuotesStayOneLiteral)
{
    const QString hostile = "';delete from X;--'";
    suite().execMain("insert into TABLAB (LOJA, LABORATORIO) values ('keep', 'a')");
    dm->sqlcon1.execute("insert into TABLAB (LOJA, LABORATORIO) values ('2', " + sqlLiteral(hostile) + ")");
    EXPECT_EQ(suite().rowsMain("select LOJA, LABORATORIO from TABLAB order by LOJA"),
              QStringList({"2|" + hostile, "keep|a"}));
}

TEST_F(DataModuleTest, DirectStatementIsCommittedAndVisibleAtOnce)
{
    EXPECT_EQ(dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('1')"), 1);
    EXPECT_EQ(suite().scalarMain("select count(*) from TABLAB"), QString("1"));
    EXPECT_EQ(dm->sqlcon1.execute("delete from TABLAB"), 1);
    EXPECT_EQ(suite().scalarMain("select count(*) from TABLAB"), QString("0"));
}

TEST_F(DataModuleTest, FailingStatementRaisesTheServerMessageAndWritesNothing)
{
    try {
        dm->sqlcon1.execute("insert into NO_SUCH_TABLE values (1)");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("NO_SUCH_TABLE")) << e.message().toStdString();
    }
    // A value too long for its column: the whole statement is refused.
    EXPECT_THROW(dm->sqlcon1.execute("insert into LIVROCONTR (ID, UNID) values (1, '1234567')"), DbError);
    EXPECT_EQ(suite().scalarMain("select count(*) from LIVROCONTR"), QString("0"));
    // The connection goes on working.
    EXPECT_EQ(dm->sqlcon1.execute("insert into LIVROCONTR (ID, UNID) values (1, 'G')"), 1);
}

TEST_F(DataModuleTest, LivroContrCarriesDisplayFormats)
{
    suite().execMain("insert into LIVROCONTR (ID, DCB, ESTOQUEINICIAL, SALDO) values (2, 'B', 1234.5, -2.5)");
    suite().execMain("insert into LIVROCONTR (ID, DCB, ESTOQUEINICIAL, SALDO) values (1, 'B', 0, 0)");
    dm->LivroContr.open();
    ASSERT_EQ(dm->LivroContr.recordCount(), 2);
    EXPECT_EQ(dm->LivroContr.value(0, "ID").toInt(), 1); // order by DCB, ID
    EXPECT_EQ(dm->LivroContr.displayText(0, "SALDO"), QString("0,00000"));
    EXPECT_EQ(dm->LivroContr.displayText(1, "ESTOQUEINICIAL"), QString("1.234,50000"));
    EXPECT_EQ(dm->LivroContr.displayText(1, "SALDO"), QString("-2,50000"));
    // The table's 15 columns, its store's laboratory and a differing catalogue unit.
    EXPECT_EQ(dm->LivroContr.fieldNames().size(), 17);
    dm->LivroContr.close();
    EXPECT_FALSE(dm->LivroContr.active());
}

TEST_F(DataModuleTest, DatasetsSelectTheirTablesWholeInTheStatedColumnOrder)
{
    suite().execMain("insert into DADOSGER (CNPJ, FIRMA) values ('11222333000181', 'Farmácia Modelo')");
    dm->DadosGer.open();
    EXPECT_EQ(dm->DadosGer.fieldNames().size(), 45);
    EXPECT_EQ(dm->DadosGer.fieldNames().first(), QString("CODIGOLIVRO"));
    EXPECT_EQ(dm->DadosGer.fieldNames().last(), QString("COMPLEMENTO"));
    EXPECT_EQ(dm->DadosGerCNPJ().asString(), QString("11222333000181"));
    dm->DadosGer.close();
    dm->Componentes.open();
    EXPECT_EQ(dm->Componentes.fieldNames().size(), 63);
    EXPECT_TRUE(dm->Componentes.isEmpty());
    dm->Componentes.close();
}

TEST_F(DataModuleTest, RevisedSelectionIsReplacedOnlyWhileClosed)
{
    const QString sel = "select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, "
                        "COMPONENTE, PERIODO, CONTEXTO, CODIGO, LISTA from LIVROREVCONTR where DCB IS NOT NULL  AND CNPJ = "
                        + sqlLiteral("11222333000181");
    dm->setRevisedBookSelection("   " + sel);
    EXPECT_EQ(dm->CDS_LivroRevContr.commandText(), sel); // leading blanks removed
    dm->CDS_LivroRevContr.open();
    EXPECT_TRUE(dm->CDS_LivroRevContr.isEmpty()); // no lines: an empty dataset, not an error
    EXPECT_NO_THROW(dm->setRevisedBookSelection(sel)); // the same text changes nothing
    EXPECT_THROW(dm->setRevisedBookSelection(sel + " and 1=1"), DbError);
    dm->CDS_LivroRevContr.close();
}

TEST_F(DataModuleTest, MissingDatabaseFileGivesTheDriverMessageAndNothingElseBreaks)
{
    suite().releaseConnections();
    ASSERT_TRUE(QFile::rename(suite().mainDatabasePath(), suite().mainDatabasePath() + ".moved"));
    dm->SQLQuery1.setSql("Select count(*) QDELAB from TABLAB");
    try {
        dm->SQLQuery1.open();
        ADD_FAILURE() << "a missing database must fail";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("quilmara.bd")) << e.message().toStdString();
    }
    QFile::rename(suite().mainDatabasePath() + ".moved", suite().mainDatabasePath());
    dm->SQLQuery1.open(); // the next use attaches
    EXPECT_EQ(dm->SQLQuery1.asInteger("QDELAB"), 0);
    dm->SQLQuery1.close();
}

TEST_F(DataModuleTest, MissingClientLibraryIsAnErrorAtFirstUseNamingTheFile)
{
    dm->sqlcon1.setVendorLib("/nowhere/GDS32.DLL");
    try {
        dm->sqlcon1.execute("delete from TABLAB");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("/nowhere/GDS32.DLL")) << e.message().toStdString();
    }
    QFile fake(suite().folder() + "notfb/libfbclient.so.2");
    QDir().mkpath(suite().folder() + "notfb");
    QFile::copy("/usr/lib/x86_64-linux-gnu/libz.so.1", fake.fileName());
    dm->sqlcon1.setVendorLib(suite().folder() + "notfb\\GDS32.DLL");
    try {
        dm->sqlcon1.execute("delete from TABLAB");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("notfb")) << e.message().toStdString();
    }
}

// Firebird 4 gives the sum of a NUMERIC(15..18) column as a 128-bit number of the same scale
// (Firebird 3 as a 64-bit one): read as the same value, never as null.
TEST_F(DataModuleTest, SumsOfNumericColumnsReadAlikeOnEitherEngine)
{
    suite().execMain("insert into LIVROREVCONTR (ID, DATA, QUANTIDADE) values (1, '2024-05-01', 1.25)");
    suite().execMain("insert into LIVROREVCONTR (ID, DATA, QUANTIDADE) values (2, '2024-05-02', -3.5)");
    Query& q = dm->SQLQuery1;
    q.setSql("select sum(QUANTIDADE) TOTAL, sum(QUANTIDADE) * 1000 MIL, sum(ID) IDS from LIVROREVCONTR");
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_FALSE(q.isNull("TOTAL"));
    EXPECT_DOUBLE_EQ(q.asFloat("TOTAL"), -2.25);
    EXPECT_DOUBLE_EQ(q.asFloat("MIL"), -2250.0);
    EXPECT_EQ(q.asInteger("IDS"), 3);
    q.close();
    EXPECT_EQ(suite().scalarMain("select sum(QUANTIDADE) from LIVROREVCONTR"), QString("-2.25"));
}

// Values of "?" placeholders go apart from the text: a quote or a comment marker is only text,
// dates and numbers are converted by the server, a null QVariant is NULL.
TEST_F(DataModuleTest, QueryParametersCarryTextDatesNumbersAndNull)
{
    const QString hostile = QStringLiteral("O'Neil'; -- ção");
    suite().execMain(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('1', %1)").arg(sqlLiteral(hostile)));
    suite().execMain("insert into TABLAB (LOJA, LABORATORIO) values ('2', NULL)");
    suite().execMain("insert into PERDAS (LOJA, DATA, QUANTIDADE) values ('1', '2026-11-30', 2.5)");
    suite().execMain("insert into PERDAS (LOJA, DATA, QUANTIDADE) values ('1', '2026-12-01', 7)");

    Query q(dm->sqlcon1, QStringLiteral("ParameterQuery"));
    q.setSql("select LOJA from TABLAB where LABORATORIO = ?", {hostile});
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.asString("LOJA"), QString("1"));
    q.setSql("select LOJA from TABLAB where LABORATORIO is not distinct from ?", {QVariant()});
    q.open();
    EXPECT_EQ(q.asString("LOJA"), QString("2"));
    q.setSql("select count(*) QDE, sum(QUANTIDADE) TOTAL from PERDAS where LOJA = ? and DATA between ? and ? "
             "and QUANTIDADE > ?",
             {QStringLiteral("1"), QDate(2026, 11, 1), QDate(2026, 11, 30), 2});
    q.open();
    EXPECT_EQ(q.asInteger("QDE"), 1);
    EXPECT_DOUBLE_EQ(q.asFloat("TOTAL"), 2.5);
    q.setSql("select count(*) QDE from PERDAS where QUANTIDADE = ?", {2.5});
    q.open();
    EXPECT_EQ(q.asInteger("QDE"), 1);

    // A count that is not the statement's is refused naming it; the query stays usable.
    q.setSql("select LOJA from TABLAB where LOJA = ?", {QStringLiteral("1"), QStringLiteral("2")});
    try {
        q.open();
        ADD_FAILURE() << "two values for one placeholder were taken";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("select LOJA from TABLAB where LOJA = ?")) << e.message().toStdString();
    }
    EXPECT_FALSE(q.active());
    q.setSql("select count(*) QDE from TABLAB where LOJA in (?, ?)", {QStringLiteral("1"), QStringLiteral("2")});
    q.open();
    EXPECT_EQ(q.asInteger("QDE"), 2);
    q.close();
}

TEST_F(DataModuleTest, FiveHundredKeysInOneList)
{
    QStringList rows;
    for (int i = 0; i < 300; ++i)
        rows << QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values ('S', 'LAB%1')").arg(i * 2);
    suite().loadMain(rows);
    QVariantList keys;
    QStringList marks;
    for (int i = 0; i < 500; ++i) {
        keys << QStringLiteral("LAB%1").arg(i);
        marks << QStringLiteral("?");
    }
    Query q(dm->sqlcon1, QStringLiteral("ListQuery"));
    q.setSql(QStringLiteral("select count(*) QDE from TABLAB where LABORATORIO in (%1)").arg(marks.join(u',')), keys);
    q.open();
    EXPECT_EQ(q.asInteger("QDE"), 250); // LAB0, LAB2 ... LAB498
    q.close();
}

// A reader's own query and the window's SQLQuery1 on one connection: each keeps its own result.
TEST_F(DataModuleTest, OwnQueryLeavesTheWindowsQueryWhereItWas)
{
    suite().loadMain({"insert into TABLAB (LOJA, LABORATORIO) values ('1', 'A')",
                      "insert into TABLAB (LOJA, LABORATORIO) values ('2', 'B')",
                      "insert into TABLAB (LOJA, LABORATORIO) values ('3', 'C')"});
    dm->SQLQuery1.setSql("select LOJA from TABLAB order by LOJA");
    dm->SQLQuery1.open();
    EXPECT_EQ(dm->SQLQuery1.asString("LOJA"), QString("1"));
    {
        Query own(dm->sqlcon1, QStringLiteral("OwnQuery"));
        own.setSql("select LABORATORIO from TABLAB where LOJA = ?", {QStringLiteral("3")});
        own.open();
        EXPECT_EQ(own.asString("LABORATORIO"), QString("C"));
    }
    dm->SQLQuery1.next();
    EXPECT_EQ(dm->SQLQuery1.asString("LOJA"), QString("2"));
    dm->SQLQuery1.close();
}
