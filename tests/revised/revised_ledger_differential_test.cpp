// The revised books computed from the ledger against the per-product statements that built them
// before (reference_statement.cpp), on the demo data of every store and mode: the same lines,
// except where a mended fault changes them (listed in normalised()).
#include "book/revised/revised_book_builder.h"
#include "cli/demo_data.h"
#include "data/data_module.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "recording_revised_view.h"
#include "reference_statement.h"
#include "tests/support/firebird_fixture.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>

using namespace livros::revised;
namespace data = livros::data;
namespace cli = livros::cli;
namespace reference = livros::revised::testing;
using livros::testing::EmbeddedSuite;

namespace {

// One product's book: its lines without their ID, sorted, and its closing stock.
struct ProductBook {
    QStringList lines;
    QString closing;
};

const QString kColumns = QStringLiteral(
    "CODIGO, cast(DATA as varchar(10)) D, HISTORICO, LOTE, OPERACAO, cast(QUANTIDADE as varchar(24)) Q, "
    "OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, PERIODO, LISTA, cast(ESTOQUE as varchar(24)) E, ID");

// The reference's texts as the mended rules write them: a product without an inventory opens
// on the period's first day rather than 2001-01-01, and the densities use a decimal comma.
QString normalised(QString line, const QDate& start)
{
    static const QRegularExpression density(QStringLiteral("(Densidade|Corr\\.): (-?\\d+)\\.(\\d\\d)"));
    line.replace(QStringLiteral("|2001-01-01|"), QLatin1Char('|') + start.toString(Qt::ISODate) + QLatin1Char('|'));
    line.replace(density, QStringLiteral("\\1: \\2,\\3"));
    return line;
}

// The store's lines by product. The stock column is left out of the compared line: within one date
// and kind the reference's order is the server's, so intermediate stocks may be in another order;
// the closing stock (the reference's last line in its own order) must be the same.
std::map<QString, ProductBook> storeBook(EmbeddedSuite& suite, const QString& cnpj, const QDate& start,
                                         bool reference)
{
    const QString order = reference ? QStringLiteral("DATA, position(OPERACAO in 'IEPS'), "
                                                     "case when OPERACAO in ('S', 'P') then -ESTOQUE else ESTOQUE end")
                                    : QStringLiteral("ORDEM");
    std::map<QString, ProductBook> books;
    for (const QString& row : suite.rowsMain(QStringLiteral("select %1 from LIVROREVCONTR where CNPJ = '%2' order by "
                                                            "CODIGO, %3").arg(kColumns, cnpj, order))) {
        QStringList cells = row.split(QLatin1Char('|'));
        cells.removeLast(); // ID: numbered by product in both, compared apart
        const QString stock = cells.takeLast();
        ProductBook& book = books[cells.first()];
        book.lines << normalised(cells.join(QLatin1Char('|')), start);
        book.closing = stock;
    }
    for (auto& [code, book] : books)
        book.lines.sort();
    return books;
}

void buildWithStatements(data::TDM& dm, RevisedMode mode, const QString& cnpj, const QDate& start, const QDate& end)
{
    data::Transaction build(dm.sqlcon1, {QStringLiteral("LIVROREVCONTR")});
    build.execute(deleteStoreBook(cnpj));
    MovementValues values;
    values.cnpj = cnpj;
    dm.SQLQuery1.setSql(QStringLiteral("select first 1 LABORATORIO from TABLAB where LOJA = '%1'").arg(cnpj));
    dm.SQLQuery1.open();
    values.lab = dm.SQLQuery1.asString(QStringLiteral("LABORATORIO"));
    dm.SQLQuery1.close();
    values.start = start;
    values.end = end;
    for (const ComponentRow& row : readComponentRows(dm.SQLQuery1, mode)) {
        build.execute(reference::composeMovementStatement(mode, reference::forComponent(values, row)));
        reference::resetRunningStock(dm.SQLQuery1, row.codigo);
    }
    build.commit();
}

void expectSameBooks(EmbeddedSuite& suite, data::TDM& dm, RevisedMode mode, const QString& cnpj,
                     const QDate& start, const QDate& end)
{
    SCOPED_TRACE(QStringLiteral("%1 %2 %3 a %4").arg(keyword(mode), cnpj, start.toString(Qt::ISODate),
                                                    end.toString(Qt::ISODate)).toStdString());
    buildWithStatements(dm, mode, cnpj, start, end);
    const auto expected = storeBook(suite, cnpj, start, true);
    livros::testing::RecordingRevisedView view;
    const RevisedBuildResult result = RevisedBookBuilder(dm, view).build(mode, cnpj, start, end);
    ASSERT_EQ(result.outcome, RevisedBuildOutcome::Built) << view.messages.join(u'\n').toStdString();
    const auto built = storeBook(suite, cnpj, start, false);
    ASSERT_EQ(built.size(), expected.size());
    for (const auto& [code, book] : expected) {
        const auto found = built.find(code);
        ASSERT_NE(found, built.end()) << code.toStdString();
        EXPECT_EQ(found->second.lines.join(u'\n').toStdString(), book.lines.join(u'\n').toStdString());
        EXPECT_EQ(found->second.closing, book.closing) << code.toStdString();
    }
    // Every line of a product shares one ID, one product after another.
    EXPECT_EQ(suite.scalarMain(QStringLiteral("select count(*) from (select CODIGO from LIVROREVCONTR where CNPJ = "
                                              "'%1' group by CODIGO having count(distinct ID) > 1)").arg(cnpj)),
              QStringLiteral("0"));
}

class RevisedDifferential : public ::testing::Test {
protected:
    void load(int scale)
    {
        cli::DemoOptions options;
        options.scale = scale;
        options.firstDay = QDate(2025, 1, 1);
        demo = cli::generateDemoData(options);
        firstDay = options.firstDay;
        suite.loadMain(demo.mainStatements);
        suite.loadInterface(demo.interfaceStatements);
        QFile file(livros::testing::sourceDir() + QStringLiteral("/db/suite_indexes.sql"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QString& sql : data::splitSqlScript(QString::fromUtf8(file.readAll())))
            suite.execMain(sql);
        dm = suite.makeDataModule();
    }

    EmbeddedSuite suite;
    cli::DemoData demo;
    QDate firstDay;
    std::unique_ptr<data::TDM> dm;
};

} // namespace

TEST_F(RevisedDifferential, ScaleOneEveryStoreAndModeForAMonthAndAYear)
{
    load(1);
    for (const RevisedMode mode : {RevisedMode::Drogaria, RevisedMode::InsumosCompleto, RevisedMode::Siproquim}) {
        for (const QString& store : demo.storeCnpjs)
            expectSameBooks(suite, *dm, mode, store, demo.periodStart, demo.periodEnd);
        expectSameBooks(suite, *dm, mode, demo.storeCnpjs.first(), firstDay, firstDay.addYears(1).addDays(-1));
    }
}

TEST_F(RevisedDifferential, ScaleEightEveryModeForAMonth)
{
    load(8);
    for (const RevisedMode mode : {RevisedMode::Drogaria, RevisedMode::InsumosCompleto, RevisedMode::Siproquim})
        expectSameBooks(suite, *dm, mode, demo.storeCnpjs.first(), demo.periodStart, demo.periodEnd);
}
