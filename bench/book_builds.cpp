// What a book costs: the classic book of the largest list group for a month and for a year, each
// revised book, and the PDF export of each, through the embedded engine and a loopback server,
// beside the floor: for each book, the ledger's own period queries for its products run alone;
// for the exports, reading the book's lines back. Each revised build is also set beside the sum
// of the per-product movement statements that built the revised books before the ledger
// ("statements"), each run alone.
//
//   bench_books [--scale N] [--server|--embedded] [--indexes] [--skip-year] [--classic-only] [--day-walk]
//               [--no-statements] [--out FILE]
// --skip-year builds every book for the last month only; --classic-only leaves out the revised
// books and the exports (for the larger databases); --day-walk also builds each classic book with
// its movements read one day, product and kind at a time (the tests' reference walk), as the
// book was built before; --no-statements leaves out the per-product statements (minutes on the
// larger databases).
#include "book/classic/classic_preparation.h"
#include "book/classic/classic_sql.h"
#include "book/classic/component_lists.h"
#include "book/classic/period_movements.h"
#include "book/ledger/ledger.h"
#include "book/revised/report_selection.h"
#include "book/revised/revised_book_builder.h"
#include "book/revised/revised_build_view.h"
#include "reference_statement.h"
#include "cli/demo_data.h"
#include "data/data_module.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "day_walk_reference.h"
#include "firebird_fixture.h"
#include "message_recorder.h"
#include "recording_revised_view.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "report/report_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <functional>

using namespace livros;

namespace {

class NullClassicView : public classic::ClassicPreparationView {
public:
    void appendListingLine(const QString&) override { ++lines; }
    void showMessage(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void setGaugeMaximum(int) override {}
    void setGaugePosition(int) override {}
    void setStatusText(const QString&) override {}
    void processEvents() override {}
    void clearListing() override {}
    void setListingVisible(bool) override {}
    void setCloseButtonVisible(bool) override {}
    void showPeriodPanel() override {}
    void hidePeriodPanel() override {}
    void focusInitialDate() override {}
    void focusFinalDate() override {}
    void showBookButtons() override {}
    void setGaugeVisible(bool) override {}
    void setStatusVisible(bool) override {}
    int lines = 0;
};

double seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// The per-product movement statements that built a revised book before the ledger, each run
// alone in a transaction of its own that is then rolled back: the sum of their times.
double revisedStatementsAlone(data::TDM& dm, revised::RevisedMode mode, const QString& cnpj, const QDate& from,
                              const QDate& to)
{
    revised::MovementValues values;
    values.cnpj = cnpj;
    values.lab = ledger::readStoreScope(dm.SQLQuery1, cnpj).laboratories.value(0);
    values.start = from;
    values.end = to;
    double total = 0;
    for (const revised::ComponentRow& row : revised::readComponentRows(dm.SQLQuery1, mode)) {
        const QString statement =
            revised::testing::composeMovementStatement(mode, revised::testing::forComponent(values, row));
        data::Transaction alone(dm.sqlcon1);
        total += seconds([&] { alone.execute(statement); });
    }
    return total;
}

// The floor of a book: the ledger's period queries for its products, run alone.
double ledgerAlone(data::TDM& dm, const std::vector<ledger::LedgerProduct>& products, const QString& cnpj,
                   const QDate& from, const QDate& to, const ledger::LedgerRequest& request)
{
    const ledger::StoreScope scope = ledger::readStoreScope(dm.SQLQuery1, cnpj);
    ledger::Ledger ledger;
    return seconds([&] { ledger.read(dm.SQLQuery1, scope, products, from, to, request); });
}

std::vector<ledger::LedgerProduct> revisedProducts(data::TDM& dm, revised::RevisedMode mode)
{
    std::vector<ledger::LedgerProduct> products;
    for (const revised::ComponentRow& row : revised::readComponentRows(dm.SQLQuery1, mode))
        products.push_back({row.codigo, row.name, row.dcb, row.unid});
    return products;
}

// Reads every row of a query: the floor of a book that needs the same rows.
int readAll(data::TDM& dm, const QString& sql)
{
    data::Query& q = dm.SQLQuery1;
    q.close();
    q.setSql(sql);
    q.open();
    int rows = 0;
    const QStringList names = q.fieldNames();
    while (!q.eof()) {
        for (const QString& n : names)
            q.value(n);
        ++rows;
        q.next();
    }
    q.close();
    return rows;
}

struct Row {
    QString book;
    QString engine;
    int products = 0;
    int days = 0;
    double time = 0;
    long queries = 0;
    double floor = 0;
    int lines = 0;
};

QString formatRow(const Row& r)
{
    const double qps = r.queries > 0 && r.time > 0 ? r.queries / r.time : 0;
    return QString::asprintf("%-34s %-9s %8d %5d %9.2f %10.0f %9.3f %9.0f %8d", qPrintable(r.book), qPrintable(r.engine),
                             r.products, r.days, r.time, qps, r.floor, r.floor > 0 ? r.time / r.floor : 0.0, r.lines);
}

struct Options {
    int scale = 1;
    bool indexes = false;
    bool year = true;
    bool classicOnly = false;
    bool dayWalk = false;
    bool statements = true;
};

// The classic book of one group built with the day-by-day reading, in a transaction of its own.
void buildWithDayWalk(data::TDM& dm, const classic::ComponentLists& lists, const QString& cnpj, int group,
                      const QDate& from, const QDate& to)
{
    NullClassicView view;
    classic::testing::DayByDayMovements days;
    data::Transaction build(dm.sqlcon1, {QStringLiteral("LIVROCONTR")});
    build.execute(QLatin1String(classic::kDeleteBookSql));
    classic::ClassicBookBuilder builder(dm, build, view, cnpj, from, to);
    builder.readMovementsFrom(days);
    builder.buildGroup(group, lists);
    dm.SQLQuery1.close();
    dm.SQLQuery2.close();
    build.commit();
}

void runAll(testing::EmbeddedSuite& suite, const QString& engine, const Options& o, QList<Row>& rows)
{
    cli::DemoOptions options;
    options.scale = o.scale;
    options.seed = 1;
    const cli::DemoData demo = cli::generateDemoData(options);
    suite.loadMain(demo.mainStatements);
    suite.loadInterface(demo.interfaceStatements);
    if (o.indexes) {
        QFile f(testing::sourceDir() + QStringLiteral("/db/suite_indexes.sql"));
        f.open(QIODevice::ReadOnly);
        for (const QString& sql : data::splitSqlScript(QString::fromUtf8(f.readAll())))
            suite.execMain(sql);
    }
    QDir().mkpath(suite.folder() + QStringLiteral("rpt"));
    for (const QString& name : QDir(testing::sourceDir() + QStringLiteral("/rpt")).entryList(QDir::Files))
        QFile::copy(testing::sourceDir() + QStringLiteral("/rpt/") + name, suite.folder() + QStringLiteral("rpt/") + name);

    auto dm = suite.makeDataModule();
    const QString cnpj = demo.storeCnpjs.first();
    const classic::ComponentLists lists = classic::loadComponentLists(*dm);
    int group = 1;
    for (int g = 2; g <= classic::kListGroupCount; ++g)
        if (lists.group(g)->count() > lists.group(group)->count())
            group = g;
    const classic::ListGroupTable& table = *lists.group(group);

    struct Period { QString name; QDate from; QDate to; };
    QList<Period> periods = {{QStringLiteral("month"), demo.periodStart, demo.periodEnd}};
    if (o.year)
        periods.append({QStringLiteral("year"), options.firstDay, options.firstDay.addYears(1).addDays(-1)});

    for (const Period& p : periods) {
        NullClassicView view;
        classic::ClassicPreparationRequest request;
        request.initialDateText = dateText(p.from);
        request.finalDateText = dateText(p.to);
        request.storeCnpj = cnpj;
        request.selectedGroup = group;
        request.lists = &lists;
        request.programFolder = suite.folder();
        request.startStockProgram = false;
        Row r;
        r.book = QStringLiteral("classic group %1, %2").arg(group).arg(p.name);
        r.engine = engine;
        r.products = table.count();
        r.days = int(p.from.daysTo(p.to)) + 1;
        r.time = seconds([&] { classic::prepareClassicBook(*dm, view, request); });
        // The store's inventory, its laboratory, the group's opening inventories, one per kind.
        r.queries = 1 + 1 + 1 + 3;
        r.floor = ledgerAlone(*dm, classic::ledgerProducts(table), cnpj, p.from, p.to, {});
        r.lines = suite.scalarMain(QStringLiteral("select count(*) from LIVROCONTR")).toInt();
        rows << r;
        std::fprintf(stderr, "%s\n", qPrintable(formatRow(r)));
        if (o.dayWalk) {
            Row d = r;
            d.book = QStringLiteral("classic group %1, %2, per day").arg(group).arg(p.name);
            d.queries = 1 + 1 + 2L * r.products + 3L * r.products * r.days;
            d.time = seconds([&] { buildWithDayWalk(*dm, lists, cnpj, group, p.from, p.to); });
            d.lines = suite.scalarMain(QStringLiteral("select count(*) from LIVROCONTR")).toInt();
            rows << d;
            std::fprintf(stderr, "%s\n", qPrintable(formatRow(d)));
        }
        if (p.name == QLatin1String("month") && !o.classicOnly) {
            Row e = r;
            e.book = QStringLiteral("classic PDF export");
            e.queries = 0;
            e.time = seconds([&] {
                report::exportReportToPdf(*dm, suite.folder() + QStringLiteral("rpt\\RelLivros.rav"), QStringLiteral("LivroContr"),
                                          suite.folder() + QStringLiteral("classic.pdf"));
            });
            e.floor = seconds([&] { readAll(*dm, data::livroContrSelect()); });
            rows << e;
            std::fprintf(stderr, "%s\n", qPrintable(formatRow(e)));
        }
    }

    if (o.classicOnly)
        return;
    for (const Period& revisedPeriod : periods)
    for (revised::RevisedMode mode : {revised::RevisedMode::Drogaria, revised::RevisedMode::InsumosCompleto,
                                      revised::RevisedMode::Siproquim}) {
        testing::RecordingRevisedView view;
        revised::RevisedBookBuilder builder(*dm, view);
        Row r;
        r.book = QStringLiteral("revised %1, %2").arg(revised::keyword(mode), revisedPeriod.name);
        r.engine = engine;
        r.days = int(revisedPeriod.from.daysTo(revisedPeriod.to)) + 1;
        // The build's first statement, the delete of the store's previous lines, run alone first.
        double deleteAlone = 0;
        {
            data::Transaction alone(dm->sqlcon1);
            deleteAlone = seconds([&] { alone.execute(revised::deleteStoreBook(cnpj)); });
        }
        r.time = seconds([&] { builder.build(mode, cnpj, revisedPeriod.from, revisedPeriod.to); });
        for (const QString& message : view.messages)
            std::fprintf(stderr, "message: %s\n", qPrintable(message));
        r.products = view.products;
        r.queries = 9;
        ledger::LedgerRequest request;
        request.drugstoreItems = mode == revised::RevisedMode::Drogaria;
        request.whenOneStore = ledger::StoreScope::OneStore::StoreLaboratories;
        r.floor = ledgerAlone(*dm, revisedProducts(*dm, mode), cnpj, revisedPeriod.from, revisedPeriod.to, request);
        const QString selection = revised::revisedBookSelection(mode, cnpj);
        r.lines = readAll(*dm, selection);
        rows << r;
        std::fprintf(stderr, "%s\n", qPrintable(formatRow(r)));
        if (o.statements) {
            Row alone = r;
            alone.book = QStringLiteral("revised %1, %2, statements").arg(revised::keyword(mode), revisedPeriod.name);
            alone.queries = r.products;
            alone.time = deleteAlone + revisedStatementsAlone(*dm, mode, cnpj, revisedPeriod.from, revisedPeriod.to);
            rows << alone;
            std::fprintf(stderr, "%s  (build %.2f times)\n", qPrintable(formatRow(alone)), r.time / alone.time);
        }
        if (revisedPeriod.name != QLatin1String("month"))
            continue;
        Row e = r;
        e.book = QStringLiteral("revised %1 PDF export").arg(revised::keyword(mode));
        e.queries = 0;
        dm->setRevisedBookSelection(selection);
        e.time = seconds([&] {
            report::exportReportToPdf(*dm, suite.folder() + revised::revisedProjectFile(mode), QStringLiteral("LivroContr"),
                                      suite.folder() + QStringLiteral("revised.pdf"));
        });
        rows << e;
        std::fprintf(stderr, "%s\n", qPrintable(formatRow(e)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    testing::MessageRecorder messages;
    const QStringList args = app.arguments();
    Options o;
    QString out;
    o.indexes = args.contains(QStringLiteral("--indexes"));
    o.year = !args.contains(QStringLiteral("--skip-year"));
    o.classicOnly = args.contains(QStringLiteral("--classic-only"));
    o.dayWalk = args.contains(QStringLiteral("--day-walk"));
    o.statements = !args.contains(QStringLiteral("--no-statements"));
    bool embedded = !args.contains(QStringLiteral("--server"));
    bool server = !args.contains(QStringLiteral("--embedded"));
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--scale"))
            o.scale = args[i + 1].toInt();
        if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
    }
    QList<Row> rows;
    if (embedded) {
        testing::EmbeddedSuite suite;
        runAll(suite, QStringLiteral("embedded"), o, rows);
    }
    if (server) {
        testing::ServerSuite suite;
        runAll(suite, QStringLiteral("server"), o, rows);
    }
    QString table = QString::asprintf("scale %d, %s\n", o.scale, o.indexes ? "with the suite's optional indexes" : "no date indexes");
    table += QString::asprintf("%-34s %-9s %8s %5s %9s %10s %9s %9s %8s\n", "book", "engine", "products", "days", "time s",
                               "queries/s", "floor s", "ratio", "lines");
    for (const Row& r : rows)
        table += formatRow(r) + QLatin1Char('\n');
    std::fputs(qPrintable(table), stdout);
    if (!out.isEmpty()) {
        QFile f(out);
        if (f.open(QIODevice::Append))
            f.write(table.toUtf8() + "\n");
    }
    return 0;
}
