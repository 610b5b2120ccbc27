// The monthly map from a real database: the demo's months against the SIPROQUIM report, the
// data that cannot be declared, a month without movement, and the command's exit codes.
#include "book/revised/revised_book_builder.h"
#include "recording_revised_view.h"
#include "cli/cli_options.h"
#include "cli/demo_data.h"
#include "cli/siproquim_map_command.h"
#include "data/data_module.h"
#include "platform/user_messages.h"
#include "siproquim/map_checker.h"
#include "siproquim/map_fields.h"
#include "siproquim/month_map_file.h"
#include "tests/support/firebird_fixture.h"
#include "tests/support/shared_suite_test.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace livros;
using namespace livros::siproquim;

namespace {

const QString kStore = QStringLiteral("11222333000181");

class CapturedMessages : public UserMessages {
public:
    QStringList errors;
    void inform(const QString& text) override { errors << text; }
    void showError(const QString& text) override { errors << text; }
    void beep() override {}
    void terminate(int) override {}
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Map totals per product code: entries (MM) and consumption (UC).
struct Totals {
    QHash<QString, double> entries, consumed;
    int lines = 0;
};

Totals mapTotals(const QByteArray& map)
{
    Totals t;
    for (QString line : QString::fromLatin1(map).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const ReadRecord r = readRecord(line);
        if (r.type != u"MM" && r.type != u"UC")
            continue;
        ++t.lines;
        const double q = readQuantity(r.field(QStringLiteral("Quantidade"))).value_or(-1);
        (r.type == u"MM" ? t.entries : t.consumed)[r.field(QStringLiteral("Produto")).mid(2)] += q;
    }
    return t;
}

class MonthMapTest : public livros::testing::SharedSuiteTest<> {
protected:
    void SetUp() override
    {
        suite().clearAllTables();
        m_dm = suite().makeDataModule();
        m_messages.errors.clear();
        m_previous = setUserMessages(&m_messages);
    }
    void TearDown() override
    {
        setUserMessages(m_previous);
        m_dm.reset();
        data::DM = nullptr;
    }
    void exec(const QString& sql) { suite().execMain(sql); }

    int command(const QStringList& arguments)
    {
        static const QList<cli::CommandSpec> commands = {
            {QStringLiteral("siproquim-map"), {"--cnpj", "--month", "--out", "--check"}}};
        const cli::CliOptions options = cli::parseCliOptions(arguments, commands);
        return cli::runSiproquimMapCommand(options, [this] { return suite().makeDataModule(); });
    }

    std::unique_ptr<data::TDM> m_dm;
    CapturedMessages m_messages;
    UserMessages* m_previous = nullptr;
    QTemporaryDir m_out;
};

TEST_F(MonthMapTest, DemoMonthsMatchTheSiproquimReportAndPassTheChecker)
{
    cli::DemoOptions options;
    options.firstDay = QDate(2025, 12, 1);
    const cli::DemoData demo = cli::generateDemoData(options);
    suite().loadMain(demo.mainStatements);
    const QDate start = demo.periodStart;
    const QDate end = demo.periodEnd;

    // Catalogue code -> Polícia Federal code, and the factor of its unit to kilograms or litres.
    QHash<QString, QString> codeOf;
    for (const QString& row : suite().rowsMain(QStringLiteral("select CODIGO, FORNECEDOR from COMPONEN where FORNECEDOR starting with 'TPN'")))
        codeOf.insert(row.section(u'|', 0, 0), row.section(u'|', 1, 1));

    int linesSeen = 0;
    for (const QString& store : demo.storeCnpjs) {
        livros::testing::RecordingRevisedView view;
        revised::RevisedBookBuilder(*m_dm, view).build(revised::RevisedMode::Siproquim, store, start, end);
        Totals report;
        // The report counts grams and millilitres: the demo's chemicals are recorded in g or ml.
        for (const QString& row : suite().rowsMain(QStringLiteral("select CODIGO, OPERACAO, sum(QUANTIDADE) from LIVROREVCONTR "
                                                                  "where CNPJ = '%1' group by 1, 2").arg(store))) {
            const QStringList cells = row.split(u'|');
            const double kilos = cells[2].toDouble() / 1000.0;
            if (cells[1] == u"E")
                report.entries[codeOf.value(cells[0])] += kilos;
            else if (cells[1] == u"S" || cells[1] == u"P")
                report.consumed[codeOf.value(cells[0])] += kilos;
        }

        const MapFileResult written = writeMonthMap(*m_dm, store, MapMonth{start.year(), start.month()}, m_out.path());
        ASSERT_TRUE(written.problems.isEmpty()) << written.problems.join(u'\n').toStdString();
        EXPECT_EQ(QFileInfo(written.path).fileName(),
                  QStringLiteral("M%1%2%3.txt").arg(start.year()).arg(monthAbbreviation(start.month()), store));
        const QByteArray map = readAll(written.path);
        const MapCheck check = checkMap(map);
        EXPECT_TRUE(check.ok()) << checkReport(check).toStdString();

        const Totals fromMap = mapTotals(map);
        linesSeen += fromMap.lines;
        const double tolerance = 0.0005 * (fromMap.lines + 1);
        for (QHash<QString, double> Totals::*side : {&Totals::entries, &Totals::consumed}) {
            QStringList codes = (report.*side).keys() + (fromMap.*side).keys();
            codes.removeDuplicates();
            for (const QString& code : codes)
                EXPECT_NEAR((fromMap.*side).value(code), (report.*side).value(code), tolerance) << store.toStdString() << ' ' << code.toStdString();
        }
    }
    EXPECT_GT(linesSeen, 10); // the demo's chemicals move every month
}

TEST_F(MonthMapTest, DataThatCannotBeDeclaredIsListedAndNothingWritten)
{
    exec("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB1')");
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q1', 'Acetona', 'QUI', 'ml', 'TPN Quimica', 0.79, '1')");
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q2', 'Eter', 'QUI', 'FR', 'TPN29091100', 0.71, '2')");
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q3', 'Cloroformio', 'QUI', 'ml', 'TPN29031300', NULL, '3')");
    exec("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('501', 'Sem Cadastro', '2026-11-05', '11222333000181')");
    for (const char* item : {"'Q1', 2, 'L'", "'Q2', 3, 'FR'", "'Q3', 1, 'KG'"})
        exec(QStringLiteral("insert into COMPRAS (NOTAFISCAL, FORNECEDOR, CODIGO, QUANTIDADE, UNIDADE) values ('501', 'Sem Cadastro', %1)")
                 .arg(QLatin1String(item)));

    EXPECT_EQ(command({"siproquim-map", "--month", "11/2026", "--cnpj", kStore, "--out", m_out.path()}), cli::Precondition);
    ASSERT_EQ(m_messages.errors.size(), 1);
    const QString message = m_messages.errors.first();
    for (const char* expected : {"Produto TPN QUIMICA Acetona: código da Polícia Federal \"TPN QUIMICA\" não é", "Produto Q2 Eter: unidade \"FR\" do cadastro", "Produto TPN29031300 Cloroformio: densidade não cadastrada",
                                 "Nota fiscal 501 de Sem Cadastro (05/11/2026), produto Q3 Cloroformio: quantidade em KG e produto em ml, sem densidade",
                                 "Nota fiscal 501 de Sem Cadastro (05/11/2026): CNPJ do fornecedor não cadastrado"})
        EXPECT_TRUE(message.contains(QString::fromUtf8(expected))) << expected << '\n' << message.toStdString();
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());
    EXPECT_EQ(command({"siproquim-map", "--month", "13/2026"}), cli::Usage);
}

TEST_F(MonthMapTest, MonthWithoutMovementDeclaresTheCompanyAndTheStockAndChecksBack)
{
    exec("insert into TABLAB (LOJA, LABORATORIO) values ('11222333000181', 'LAB1')");
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q1', 'Acido sulfurico 98%', 'QUI', 'ml', 'TPN28070010', 1.84, '1')");
    exec("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('2026-11-01', 'Q1', 500, '11222333000181')");

    const MapFileResult stocked = writeMonthMap(*m_dm, kStore, MapMonth{2026, 11}, m_out.path());
    ASSERT_TRUE(stocked.problems.isEmpty()) << stocked.problems.join(u'\n').toStdString();
    EXPECT_EQ(readAll(stocked.path), "EM11222333000181NOV202600001000\r\nDG\r\nPRTPN28070010" + QByteArray("ACIDO SULFURICO 98%").leftJustified(70)
                                         + "09801,84\r\n");
    const MapFileResult empty = writeMonthMap(*m_dm, kStore, MapMonth{2026, 10}, m_out.path());
    EXPECT_EQ(readAll(empty.path), "EM11222333000181OUT202600001000\r\n");

    EXPECT_EQ(command({"siproquim-map", "--check", stocked.path}), cli::Done);
    QFile mangled(m_out.filePath(QStringLiteral("mangled.txt")));
    ASSERT_TRUE(mangled.open(QIODevice::WriteOnly));
    mangled.write(readAll(stocked.path).replace("098", "98 "));
    mangled.close();
    EXPECT_EQ(command({"siproquim-map", "--check", mangled.fileName()}), cli::Precondition);
    EXPECT_EQ(command({"siproquim-map", "--check", m_out.filePath(QStringLiteral("none.txt"))}), cli::Failure);
}

} // namespace
