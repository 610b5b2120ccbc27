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

    // Builds the store's SIPROQUIM book and writes its map of the month `start` begins; expects the
    // map to pass the checker and its totals per chemical to equal the book's entries and exits
    // with losses. Returns the map's movement lines.
    int expectMapMatchesBook(const QString& store, const QDate& start, const QDate& end)
    {
        // Catalogue code -> Polícia Federal code.
        QHash<QString, QString> codeOf;
        for (const QString& row : suite().rowsMain(
                 QStringLiteral("select CODIGO, FORNECEDOR from COMPONEN where FORNECEDOR starting with 'TPN'")))
            codeOf.insert(row.section(u'|', 0, 0), row.section(u'|', 1, 1));

        livros::testing::RecordingRevisedView view;
        const auto built = revised::RevisedBookBuilder(*m_dm, view).build(revised::RevisedMode::Siproquim, store, start, end);
        EXPECT_EQ(built.outcome, revised::RevisedBuildOutcome::Built) << view.messages.join(u'\n').toStdString();
        Totals book;
        // The book counts grams and millilitres: these chemicals are catalogued in g or ml.
        for (const QString& row : suite().rowsMain(QStringLiteral("select CODIGO, OPERACAO, sum(QUANTIDADE) from "
                                                                  "LIVROREVCONTR where CNPJ = '%1' group by 1, 2")
                                                       .arg(store))) {
            const QStringList cells = row.split(u'|');
            const double kilos = cells[2].toDouble() / 1000.0;
            if (cells[1] == u"E")
                book.entries[codeOf.value(cells[0])] += kilos;
            else if (cells[1] == u"S" || cells[1] == u"P")
                book.consumed[codeOf.value(cells[0])] += kilos;
        }

        const MapFileResult written = writeMonthMap(*m_dm, store, MapMonth{start.year(), start.month()}, m_out.path());
        EXPECT_TRUE(written.problems.isEmpty()) << written.problems.join(u'\n').toStdString();
        EXPECT_EQ(QFileInfo(written.path).fileName(),
                  QStringLiteral("M%1%2%3.txt").arg(start.year()).arg(monthAbbreviation(start.month()), store));
        m_lastMap = written.path;
        const QByteArray map = readAll(written.path);
        const MapCheck check = checkMap(map);
        EXPECT_TRUE(check.ok()) << checkReport(check).toStdString();

        const Totals fromMap = mapTotals(map);
        const double tolerance = 0.0005 * (fromMap.lines + 1);
        for (QHash<QString, double> Totals::*side : {&Totals::entries, &Totals::consumed}) {
            QStringList codes = (book.*side).keys() + (fromMap.*side).keys();
            codes.removeDuplicates();
            for (const QString& code : codes)
                EXPECT_NEAR((fromMap.*side).value(code), (book.*side).value(code), tolerance)
                    << store.toStdString() << ' ' << code.toStdString();
        }
        return fromMap.lines;
    }

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
    QString m_lastMap; // the map expectMapMatchesBook wrote last
};

TEST_F(MonthMapTest, DemoMonthsMatchTheSiproquimReportAndPassTheChecker)
{
    cli::DemoOptions options;
    options.firstDay = QDate(2025, 12, 1);
    const cli::DemoData demo = cli::generateDemoData(options);
    suite().loadMain(demo.mainStatements);

    int linesSeen = 0;
    for (const QString& store : demo.storeCnpjs)
        linesSeen += expectMapMatchesBook(store, demo.periodStart, demo.periodEnd);
    EXPECT_GT(linesSeen, 10); // the demo's chemicals move every month
}

// Rows the map once read on its own and the SIPROQUIM book reads by the ledger: a formula of the
// store's second laboratory, a loss that names one of two chemicals of the same name by its DCB,
// a loss whose name is not its product's but whose DCB is, another store's formula.
TEST_F(MonthMapTest, MapCountsWhatTheSiproquimBookCounts)
{
    for (const char* row : {"'11222333000181', 'LAB1'", "'11222333000181', 'LAB2'", "'99888777000166', 'LAB3'"})
        exec(QStringLiteral("insert into TABLAB (LOJA, LABORATORIO) values (%1)").arg(QLatin1String(row)));
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q1', 'Acetona', 'QUI', 'ml', 'TPN29141100', 0.79, 'D1')");
    exec("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID, FORNECEDOR, DENSIDADE, DCB) values "
         "('Q2', 'Acetona', 'QUI', 'g', 'TPN29141200', 1.05, 'D2')");
    exec("insert into FORNECED (NOMEFANTASIA, CNPJ) values ('Quimica Sul', '33000167000101')");
    for (const char* row : {"'Q1', 1000, 'ml'", "'Q2', 500, 'g'"})
        exec(QStringLiteral("insert into BALANCOS (DATABALANCO, CODIGO, QDE, UNID, LOJA) values ('2026-11-01', %1, "
                            "'11222333000181')").arg(QLatin1String(row)));
    exec("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('77', 'Quimica Sul', '2026-11-03', "
         "'11222333000181')");
    for (const char* item : {"'Q1', 2, 'L'", "'Q2', 0.5, 'KG'"})
        exec(QStringLiteral("insert into COMPRAS (NOTAFISCAL, FORNECEDOR, CODIGO, QUANTIDADE, UNIDADE) values ('77', "
                            "'Quimica Sul', %1)").arg(QLatin1String(item)));
    for (const char* order : {"1, 'LAB2', 100", "2, 'LAB3', 50"}) {
        const QStringList v = QString::fromLatin1(order).split(QStringLiteral(", "));
        exec(QStringLiteral("insert into PEDIDOS (ESTACAO, NPEDIDO, DATAPEDIDO, TIPOPEDIDO) values ('01', %1, "
                            "'2026-11-10', 'Pedido')").arg(v[0]));
        exec(QStringLiteral("insert into PEDIFORM (ESTACAO, NPEDIDO, NFORMULA, LABORATORIO) values ('01', %1, 1, %2)")
                 .arg(v[0], v[1]));
        exec(QStringLiteral("insert into COMPEDID (ESTACAO, NPEDIDO, NFORMULA, COMPONENTE, CODIGOCOMP, QDEESTOQUE, "
                            "UNID) values ('01', %1, 1, 'Acetona', 'Q1', %2, 'ml')").arg(v[0], v[2]));
    }
    exec("insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values "
         "('11222333000181', '2026-11-12', 'D1', 'Acetona', 'Quimica Sul', 'L1', 10, 'ml', 'Frasco quebrado')");
    exec("insert into PERDAS (LOJA, DATA, DCB, COMPONENTE, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO) values "
         "('11222333000181', '2026-11-13', 'D2', 'Acetona PA', 'Quimica Sul', 'L2', 20, 'g', NULL)");

    const QDate start(2026, 11, 1), end(2026, 11, 30);
    EXPECT_EQ(expectMapMatchesBook(kStore, start, end), 5);
    const Totals map = mapTotals(readAll(m_lastMap));
    EXPECT_NEAR(map.entries.value(QStringLiteral("TPN29141100")), 2.0, 1e-9);
    EXPECT_NEAR(map.entries.value(QStringLiteral("TPN29141200")), 0.5, 1e-9);
    EXPECT_NEAR(map.consumed.value(QStringLiteral("TPN29141100")), 0.11, 1e-9);
    EXPECT_NEAR(map.consumed.value(QStringLiteral("TPN29141200")), 0.02, 1e-9);

    // Kilograms into a chemical counted in millilitres: the book refuses it, so does the map,
    // even with the density that would cross from mass to volume.
    exec("insert into COMPRAS (NOTAFISCAL, FORNECEDOR, CODIGO, QUANTIDADE, UNIDADE) values ('77', 'Quimica Sul', "
         "'Q1', 1, 'KG')");
    livros::testing::RecordingRevisedView view;
    EXPECT_EQ(revised::RevisedBookBuilder(*m_dm, view).build(revised::RevisedMode::Siproquim, kStore, start, end).outcome,
              revised::RevisedBuildOutcome::Refused);
    const MapFileResult refused = writeMonthMap(*m_dm, kStore, MapMonth{2026, 11}, m_out.path());
    EXPECT_TRUE(refused.path.isEmpty());
    ASSERT_EQ(refused.problems.size(), 1) << refused.problems.join(u'\n').toStdString();
    EXPECT_TRUE(refused.problems.first().contains(
        QStringLiteral("do produto \"Acetona\" (código Q1): a unidade \"KG\" não se converte na unidade do produto "
                       "(\"ml\")")))
        << refused.problems.first().toStdString();
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
    exec("insert into BALANCOS (DATABALANCO, CODIGO, QDE, LOJA) values ('2026-11-01', 'Q3', 100, '11222333000181')");
    exec("insert into NFISCAL (NOTAFISCAL, FORNECEDOR, DATARECEBIM, LOJA) values ('501', 'Sem Cadastro', '2026-11-05', '11222333000181')");
    for (const char* item : {"'Q1', 2, 'L'", "'Q2', 3, 'FR'", "'Q3', 1, 'KG'"})
        exec(QStringLiteral("insert into COMPRAS (NOTAFISCAL, FORNECEDOR, CODIGO, QUANTIDADE, UNIDADE) values ('501', 'Sem Cadastro', %1)")
                 .arg(QLatin1String(item)));

    EXPECT_EQ(command({"siproquim-map", "--month", "11/2026", "--cnpj", kStore, "--out", m_out.path()}), cli::Precondition);
    ASSERT_EQ(m_messages.errors.size(), 1);
    const QString message = m_messages.errors.first();
    for (const char* expected : {"Produto TPN QUIMICA Acetona: código da Polícia Federal \"TPN QUIMICA\" não é", "Produto Q2 Eter: unidade \"FR\" do cadastro", "Produto TPN29031300 Cloroformio: densidade não cadastrada",
                                 "do produto \"Cloroformio\" (código Q3): a unidade \"KG\" não se converte na unidade do produto (\"ml\")",
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
    // The map reads through its own query: the window's, open on another result, stays on its row.
    m_dm->SQLQuery1.setSql(QStringLiteral("select LOJA from TABLAB"));
    m_dm->SQLQuery1.open();
    const MapFileResult empty = writeMonthMap(*m_dm, kStore, MapMonth{2026, 10}, m_out.path());
    EXPECT_EQ(readAll(empty.path), "EM11222333000181OUT202600001000\r\n");
    ASSERT_TRUE(m_dm->SQLQuery1.active());
    EXPECT_EQ(m_dm->SQLQuery1.asString(QStringLiteral("LOJA")), kStore);
    m_dm->SQLQuery1.close();

    EXPECT_EQ(command({"siproquim-map", "--check", stocked.path}), cli::Done);
    QFile mangled(m_out.filePath(QStringLiteral("mangled.txt")));
    ASSERT_TRUE(mangled.open(QIODevice::WriteOnly));
    mangled.write(readAll(stocked.path).replace("098", "98 "));
    mangled.close();
    EXPECT_EQ(command({"siproquim-map", "--check", mangled.fileName()}), cli::Precondition);
    EXPECT_EQ(command({"siproquim-map", "--check", m_out.filePath(QStringLiteral("none.txt"))}), cli::Failure);
}

} // namespace
