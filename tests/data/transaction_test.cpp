// The transaction that a book build holds, on a real embedded Firebird: what runs in it, what its
// end keeps, the prepared statement's values, and table reservations between two attachments.
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "shared_suite_test.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace livros::data;

class TransactionTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        dm = suite().makeDataModule();
    }
    QString count(const QString& table) { return suite().scalarMain("select count(*) from " + table); }
    std::unique_ptr<TDM> dm;
};

TEST_F(TransactionTest, EverythingOnTheConnectionRunsInItAndOnlyCommitKeepsIt)
{
    suite().execMain("insert into TABLAB (LOJA, LABORATORIO) values ('1', 'A')");
    {
        Transaction transaction(dm->sqlcon1);
        dm->sqlcon1.execute("delete from TABLAB");
        transaction.execute("insert into TABLAB (LOJA, LABORATORIO) values ('2', 'B')");
        dm->SQLQuery1.setSql("select LOJA from TABLAB");
        dm->SQLQuery1.open(); // sees the transaction's own rows
        EXPECT_EQ(dm->SQLQuery1.asString("LOJA"), QString("2"));
        EXPECT_EQ(count("TABLAB"), QString("1")); // others see the old row meanwhile
        EXPECT_EQ(suite().scalarMain("select LOJA from TABLAB"), QString("1"));
        // A failed statement is undone alone; the transaction goes on.
        EXPECT_THROW(dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('1234567890123456789012345')"), DbError);
    } // destroyed with the query still open: rolled back
    dm->SQLQuery1.close();
    EXPECT_EQ(suite().scalarMain("select LOJA from TABLAB"), QString("1"));

    Transaction transaction(dm->sqlcon1);
    dm->sqlcon1.execute("delete from TABLAB");
    transaction.commit();
    EXPECT_EQ(count("TABLAB"), QString("0"));
    // After the end, statements commit one by one again.
    dm->sqlcon1.execute("insert into TABLAB (LOJA) values ('3')");
    EXPECT_EQ(count("TABLAB"), QString("1"));
}

TEST_F(TransactionTest, PreparedStatementStoresTheValuesExactly)
{
    Transaction transaction(dm->sqlcon1);
    PreparedStatement insert(transaction, "insert into LIVROCONTR (ID, CNPJ, ESTOQUEINICIAL, DATA, HISTORICO, SALDO) "
                                          "values (?, ?, ?, ?, ?, ?)");
    ASSERT_EQ(insert.parameterCount(), 6);
    const char* const decimals[] = {"12.3457", "-0.0001", "0.0000", "123456789.1234"};
    for (int i = 0; i < 4; ++i) {
        insert.setInteger(0, i + 1);
        insert.setText(1, i == 1 ? QString("D'ÁGUA") : QString("12345678000199"));
        insert.setDecimal(2, decimals[i]);
        insert.setDate(3, QDate(2024, 5, 31 - i));
        if (i == 2)
            insert.setNull(4);
        else
            insert.setText(4, QString("Lote %1").arg(i));
        insert.setDecimal(5, "1.23456789"); // more decimals than the column: rounded
        insert.execute();
    }
    // A text longer than its column fails at the server as it would in the statement's text.
    insert.setInteger(0, 9);
    insert.setText(4, QString(91, QChar('x')));
    EXPECT_THROW(insert.execute(), DbError);
    transaction.commit();
    EXPECT_EQ(suite().rowsMain("select ID, CNPJ, ESTOQUEINICIAL, DATA, HISTORICO, SALDO from LIVROCONTR order by ID"),
              (QStringList{"1|12345678000199|12.3457|2024-05-31|Lote 0|1.234568",
                           "2|D'ÁGUA|-0.0001|2024-05-30|Lote 1|1.234568",
                           "3|12345678000199|0|2024-05-29|NULL|1.234568",
                           "4|12345678000199|123456789.1234|2024-05-28|Lote 3|1.234568"}));
}

// A second workstation (here a second connection) that reserves a table held by the first is told
// at once, then waits; a wait that outlasts LIVROS_LOCK_TIMEOUT ends with LockTimeout, and no
// wait on a row lock lasts longer either.
TEST_F(TransactionTest, ReservedTableMakesOthersWaitUpToTheLockTimeout)
{
    qputenv("LIVROS_LOCK_TIMEOUT", "2"); // the server counts whole seconds: a wait of 1 to 2 s
    auto other = suite().makeDataModule();
    Transaction first(dm->sqlcon1, {"LIVROCONTR"});
    first.execute("insert into LIVROCONTR (ID) values (1)");

    int told = 0;
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(Transaction(other->sqlcon1, {"LIVROCONTR"}, [&] { ++told; }), LockTimeout);
    EXPECT_EQ(told, 1);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_THROW(other->sqlcon1.execute("insert into LIVROCONTR (ID) values (2)"), LockTimeout); // no reservation: same wait
    other->SQLQuery1.setSql("select count(*) QDE from LIVROCONTR"); // reading is allowed
    other->SQLQuery1.open();
    EXPECT_EQ(other->SQLQuery1.asInteger("QDE"), 0);
    other->SQLQuery1.close();

    first.commit();
    Transaction second(other->sqlcon1, {"LIVROCONTR"}, [&] { ++told; });
    EXPECT_EQ(told, 1); // free again: no wait
    qunsetenv("LIVROS_LOCK_TIMEOUT");
    EXPECT_EQ(lockTimeoutSeconds(), 60);
}

// The server's refusals reach the user in Portuguese: the lines Firebird writes around the cause
// and the common causes, names and values kept.
TEST_F(TransactionTest, TheServersRefusalsAreInPortuguese)
{
    const auto messageOf = [&](const QString& sql) {
        try {
            dm->sqlcon1.execute(sql);
        } catch (const DbError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(messageOf("delete from NO_SUCH_TABLE"),
              QString::fromUtf8("Erro no comando SQL\n-código de erro SQL = -204\n-tabela desconhecida\n-NO_SUCH_TABLE\n"
                                "-na linha 1, coluna 13"));
    const QString tooLong = messageOf("insert into TABLAB (LOJA) values ('1234567890123456789012345')");
    EXPECT_TRUE(tooLong.startsWith(QString::fromUtf8("exceção aritmética, número fora do intervalo ou texto truncado\n"
                                                     "-texto maior que a coluna")))
        << tooLong.toStdString();
    EXPECT_FALSE(messageOf("selct 1 from RDB$DATABASE").contains(QLatin1String("Token unknown")));
}
