// The walk over the period read at once against the reference that reads every day apart: the
// same LIVROCONTR rows and the same listing, on the demo data and on odd rows.
#include "book/classic/classic_book_builder.h"
#include "book/classic/classic_sql.h"
#include "book/classic/component_lists.h"
#include "classic_test_data.h"
#include "classic_test_view.h"
#include "cli/demo_data.h"
#include "data/data_module.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "day_walk_reference.h"
#include "firebird_fixture.h"
#include "shared_suite_test.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::classic;
using namespace livros::classic::testing;

namespace {

struct Walked {
    bool built = false;
    QStringList rows;     // LIVROCONTR in ID order, every column
    QStringList listing;
    QStringList messages;
};

// Builds one group's book in a transaction of its own, as the preparation does, with the
// movements of `reference` when one is given.
Walked walk(livros::testing::EmbeddedSuite& suite, data::TDM& dm, const ComponentLists& lists, const QString& store,
            int group, const QDate& from, const QDate& to, MovementSource* reference = nullptr)
{
    Walked walked;
    RecordingView view;
    {
        data::Transaction build(dm.sqlcon1, {QStringLiteral("LIVROCONTR")});
        build.execute(QLatin1String(kDeleteBookSql));
        ClassicBookBuilder builder(dm, build, view, store, from, to);
        if (reference)
            builder.readMovementsFrom(*reference);
        walked.built = builder.buildGroup(group, lists);
        dm.SQLQuery1.close();
        dm.SQLQuery2.close();
        build.commit();
    }
    walked.rows = suite.rowsMain(QStringLiteral("select * from LIVROCONTR order by ID"));
    walked.listing = view.listing;
    walked.messages = view.messages;
    return walked;
}

void expectSameWalk(livros::testing::EmbeddedSuite& suite, data::TDM& dm, const ComponentLists& lists,
                    const QString& store, int group, const QDate& from, const QDate& to)
{
    SCOPED_TRACE(QStringLiteral("store %1, group %2, %3 to %4")
                     .arg(store)
                     .arg(group)
                     .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate))
                     .toStdString());
    const Walked period = walk(suite, dm, lists, store, group, from, to);
    DayByDayMovements days;
    const Walked reference = walk(suite, dm, lists, store, group, from, to, &days);
    EXPECT_TRUE(period.built);
    EXPECT_EQ(period.messages, reference.messages);
    EXPECT_EQ(period.rows, reference.rows);
    EXPECT_EQ(period.listing, reference.listing);
}

void createOptionalIndexes(livros::testing::EmbeddedSuite& suite)
{
    QFile file(livros::testing::sourceDir() + QStringLiteral("/db/suite_indexes.sql"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    for (const QString& sql : data::splitSqlScript(QString::fromUtf8(file.readAll())))
        suite.execMain(sql);
}

// The demo installation of one scale, with a fixed year so that every run walks the same days.
class DemoWalks : public ::testing::Test {
protected:
    void load(int scale, bool indexes)
    {
        cli::DemoOptions options;
        options.scale = scale;
        options.firstDay = QDate(2025, 1, 1);
        demo = cli::generateDemoData(options);
        yearEnd = options.firstDay.addYears(1).addDays(-1);
        firstDay = options.firstDay;
        suite.loadMain(demo.mainStatements);
        suite.loadInterface(demo.interfaceStatements);
        if (indexes)
            createOptionalIndexes(suite);
        dm = suite.makeDataModule();
        lists = loadComponentLists(*dm);
    }

    livros::testing::EmbeddedSuite suite;
    cli::DemoData demo;
    QDate firstDay;
    QDate yearEnd;
    std::unique_ptr<data::TDM> dm;
    ComponentLists lists;
};

} // namespace

// On the tables as the suite ships them (no optional index): every store and list group for the
// PERIODO month, and every group of the first store for the whole year (the reference's year of
// day queries costs about 15 s a store here).
TEST_F(DemoWalks, ScaleOneEveryStoreAndGroupForAMonthAndTheFirstStoreForAYear)
{
    load(1, false);
    for (int group = 1; group <= kListGroupCount; ++group) {
        for (const QString& store : demo.storeCnpjs)
            expectSameWalk(suite, *dm, lists, store, group, demo.periodStart, demo.periodEnd);
        expectSameWalk(suite, *dm, lists, demo.storeCnpjs.first(), group, firstDay, yearEnd);
    }
}

// Scale 8 with the optional indexes (the reference's day queries are slow without them): every
// store and group for the month; the year for the first store's largest group.
TEST_F(DemoWalks, ScaleEightEveryStoreAndGroupForAMonthAndTheLargestGroupForAYear)
{
    load(8, true);
    int largest = 1;
    for (int group = 1; group <= kListGroupCount; ++group) {
        if (lists.group(group)->count() > lists.group(largest)->count())
            largest = group;
        for (const QString& store : demo.storeCnpjs)
            expectSameWalk(suite, *dm, lists, store, group, demo.periodStart, demo.periodEnd);
    }
    expectSameWalk(suite, *dm, lists, demo.storeCnpjs.first(), largest, firstDay, yearEnd);
}

// Rows the demo never makes: equal rows on one day, kinds out of their order of insertion, codes with trailing blanks and quotes, purchases in kilograms, null quantities,
// formulas of other laboratories, and movements just outside the period.
TEST(OddRowsWalk, SameAsTheDayByDayReference)
{
    livros::testing::EmbeddedSuite suite;
    TestData data{suite};
    data.component("C001", "Morfina", "G", "A1", "D1");
    data.component("C002", "Codeina", "ML", "A1", "D2");
    data.component("C'3", "Aspas", "G", "A2", "D'3");
    data.component("C004  ", "Brancos", "G", "A1", "D4");
    data.component("C005", "Sem inventario", "G", "A1", "D5");
    data.component("LONGCODE0123456789AB", "Codigo longo", "G", "A1", "D6");
    data.inventory("2024-05-01", "C001", 10, "G");
    data.inventory("2024-05-01", "C002", 5, "ML");
    data.inventory("2024-05-01", "C'3", 1, "KG");  // another unit than the catalogue's
    data.inventory("2024-05-01", "C004", 3, "G");  // the catalogue's code has trailing blanks

    data.store(kStore, "LAB1");
    data.store(kOtherStore, "LAB2");
    data.exitLaboratory = QStringLiteral("LAB1");
    for (const QString& day : {QStringLiteral("2024-04-30"), QStringLiteral("2024-05-01"),
                               QStringLiteral("2024-05-03"), QStringLiteral("2024-06-01")}) {
        data.loss(day, "D1", 0.5, "G", "Quebra");
        data.loss(day, "D1", 0.5, "G", "Quebra");  // an equal row: both count
        data.exit(day, "C001", 2, "G", "L9");
        data.exit(day, "C001", 1, "G", "L2");
        data.entry(day, "C001", 3, "G", "L5", "ZZZ");
        data.entry(day, "C001", 3, "G", "L5", "AAA");
        data.entry(day, "C001", 0.25, "KG");
        data.entry(day, "C002", 0.1, "L");
        data.entry(day, "C'3", 7, "G", "L'7");
        data.exit(day, "C'3", 1, "G");
        data.loss(day, "D'3", 2, "G", "Vencido");
        data.entry(day, "C004", 4, "G");       // the catalogue's code has trailing blanks
        data.entry(day, "C004   ", 1, "G");
        data.exit(day, "C005", 1, "G", "L1", "ABC", "Repos");
        data.exit(day, "C005", 9, "G", "L1", "ABC", "Orcamento");  // not an order: no exit
        data.entry(day, "C005", 2, "G", "L1", "ABC", kOtherStore);  // another store's purchase
    }
    data.exitLaboratory = QStringLiteral("LAB2");
    data.exit("2024-05-02", "C001", 5, "G");  // the other store's formula
    suite.execMain("insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, UNID) "
                   "select ESTACAO, NPEDIDO, NFORMULA, 'Y', CODIGOCOMP, UNID from COMPEDID where CODIGOCOMP = 'C001' "
                   "and LOTE = 'L2'");  // null quantities
    suite.execMain("insert into PERDAS (LOJA, DATA, DCB, FORNECEDOR, LOTE, UNIDADE, MOTIVO) values ('"
                   + kStore + "', '2024-05-02', 'D1', 'ABC', 'L0', 'G', 'Sem quantidade')");

    // A day whose rows were written against their keys' order.
    data.exitLaboratory = QStringLiteral("LAB1");
    data.m_nextKey = 900;
    data.entry("2024-05-04", "C001", 1, "G", "E1");
    data.exit("2024-05-04", "C001", 1, "G", "S1");
    data.loss("2024-05-04", "D1", 1, "G", "Quebra");
    data.m_nextKey = 800;
    data.loss("2024-05-04", "D1", 1, "G", "Avaria");
    data.exit("2024-05-04", "C001", 1, "G", "S2");
    data.entry("2024-05-04", "C001", 1, "G", "E2");

    const auto dm = suite.makeDataModule();
    const ComponentLists lists = loadComponentLists(*dm);
    for (int group = 1; group <= 2; ++group) {
        expectSameWalk(suite, *dm, lists, kStore, group, QDate(2024, 5, 1), QDate(2024, 5, 31));
        expectSameWalk(suite, *dm, lists, kStore, group, QDate(2024, 5, 2), QDate(2024, 5, 2));
    }
    // A code with trailing blanks opens with its inventory and takes its movements.
    const QStringList firstDay = walk(suite, *dm, lists, kStore, 1, QDate(2024, 5, 1), QDate(2024, 5, 1)).listing;
    EXPECT_TRUE(firstDay.contains(" BRANCOS    DCB: D4    SALDO INICIAL: 3,0000 G"));
    EXPECT_EQ(firstDay.filter("| Entrada   |        7,00000 | Compra").size(), 1);

    // Within a day: entries by invoice, then exits by order, then losses by supplier, lot, reason.
    const Walked walked = walk(suite, *dm, lists, kStore, 1, QDate(2024, 5, 4), QDate(2024, 5, 4));
    QStringList day = walked.listing.filter("04/05/24 |");
    ASSERT_GE(day.size(), 6);
    day = day.mid(day.size() - 6);  // Morfina's
    const QStringList expected = {"Lote: E2", "Lote: E1", "Lote: S2", "Lote: S1", "Avaria", "Quebra"};
    for (int line = 0; line < 6; ++line)
        EXPECT_TRUE(day[line].contains(expected[line])) << day[line].toStdString();
}

// A group larger than one query's list of products: the products of the second batch open with
// their inventory and take their movements like those of the first.
TEST(LargeGroupWalk, ProductsBeyondTheFirstBatchOfCodes)
{
    livros::testing::EmbeddedSuite suite;
    QStringList statements;
    for (int n = 1; n <= 520; ++n)
        statements << QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, UNID, LISTA, DCB, GRUPO, CONTROLADA) "
                                     "values ('P%1', 'Produto %1', 'G', 'A1', 'D%1', 'MAN', 'Sim')")
                          .arg(n, 4, 10, QLatin1Char('0'));
    suite.loadMain(statements);
    TestData data{suite};
    for (const QString& code : {QStringLiteral("0001"), QStringLiteral("0520")}) {
        data.inventory("2024-05-01", "P" + code, 10, "G");
        data.entry("2024-05-02", "P" + code, 5, "G");
        data.loss("2024-05-03", "D" + code, 1, "G", "Quebra");
    }
    const auto dm = suite.makeDataModule();
    const ComponentLists lists = loadComponentLists(*dm);
    ASSERT_EQ(lists.group(1)->count(), 520);
    const Walked walked = walk(suite, *dm, lists, kStore, 1, QDate(2024, 5, 1), QDate(2024, 5, 31));
    EXPECT_EQ(suite.rowsMain("select CODIGO || ':' || cast(SALDO as varchar(30)) from LIVROCONTR order by ID"),
              (QStringList{"P0001:15.000000", "P0001:14.000000", "P0520:15.000000", "P0520:14.000000"}));
    EXPECT_TRUE(walked.listing.contains(" PRODUTO 0520    DCB: D0520    SALDO INICIAL: 10,0000 G"));
}
