#include "cli/demo_data.h"

#include "firebird_fixture.h"
#include "platform/cnpj.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

using livros::checkCnpj;
using livros::CnpjCheck;
using livros::cli::DemoData;
using livros::cli::DemoOptions;
using livros::cli::generateDemoData;

namespace {

// --- the column definitions of db/main.sql ------------------------------------------------------

struct ColumnType {
    QString kind;  // VARCHAR, CHAR, NUMERIC, INTEGER, DATE, TIMESTAMP, DOUBLE, BLOB, TIME
    int width = 0;  // text width or numeric precision
    int scale = 0;
    bool required = false;
    bool hasDefault = false;
};
using Schema = QHash<QString, QMap<QString, ColumnType>>;

Schema readSchema()
{
    QFile file(livros::testing::sourceDir() + QStringLiteral("/db/main.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("db/main.sql not found");
    const QString script = QString::fromLatin1(file.readAll());
    Schema schema;
    static const QRegularExpression table(QStringLiteral(R"(CREATE TABLE (\w+) \((.*?)\n\);)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression column(
        QStringLiteral(R"(^\s*(\w+)\s+(VARCHAR|CHAR|NUMERIC|INTEGER|DATE|TIMESTAMP|DOUBLE|BLOB|TIME)(?:\((\d+)(?:,(\d+))?\))?(.*)$)"));
    for (auto t = table.globalMatch(script); t.hasNext();) {
        const auto tm = t.next();
        for (const QString& line : tm.captured(2).split(u'\n')) {
            const auto cm = column.match(line);
            if (!cm.hasMatch() || cm.captured(1) == u"CONSTRAINT")
                continue;
            ColumnType type;
            type.kind = cm.captured(2);
            type.width = cm.captured(3).toInt();
            type.scale = cm.captured(4).toInt();
            type.required = cm.captured(5).contains(QStringLiteral("NOT NULL"));
            type.hasDefault = cm.captured(5).contains(QStringLiteral("DEFAULT"));
            schema[tm.captured(1)][cm.captured(1)] = type;
        }
    }
    return schema;
}

// --- the generated INSERT statements -----------------------------------------------------------

struct Value {
    bool null = false;
    bool quoted = false;
    QString text;
};

struct Row {
    QString table;
    QMap<QString, Value> values;
    QString get(const char* column) const { return values.value(QString::fromLatin1(column)).text; }
};

Row parseInsert(const QString& sql)
{
    static const QRegularExpression shape(QStringLiteral(R"(^INSERT INTO (\w+) \(([^)]*)\) VALUES \((.*)\)$)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const auto m = shape.match(sql);
    if (!m.hasMatch())
        throw std::runtime_error(("not an INSERT: " + sql).toStdString());
    Row row;
    row.table = m.captured(1);
    const QStringList columns = m.captured(2).split(QStringLiteral(", "));
    const QString values = m.captured(3);
    QList<Value> parsed;
    qsizetype i = 0;
    while (i < values.size()) {
        Value v;
        if (values[i] == u'\'') {
            v.quoted = true;
            ++i;
            while (true) {
                if (i >= values.size())
                    throw std::runtime_error(("unterminated literal: " + sql).toStdString());
                if (values[i] == u'\'') {
                    if (i + 1 < values.size() && values[i + 1] == u'\'') {
                        v.text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v.text += values[i++];
            }
        } else {
            const qsizetype end = values.indexOf(u',', i);
            v.text = values.mid(i, end < 0 ? -1 : end - i).trimmed();
            v.null = v.text == u"NULL";
            i = end < 0 ? values.size() : end;
        }
        parsed << v;
        while (i < values.size() && (values[i] == u',' || values[i] == u' '))
            ++i;
    }
    if (parsed.size() != columns.size())
        throw std::runtime_error(("column and value counts differ: " + sql).toStdString());
    for (int c = 0; c < columns.size(); ++c)
        row.values[columns[c]] = parsed[c];
    return row;
}

QList<Row> parseAll(const QStringList& statements)
{
    QList<Row> rows;
    for (const QString& s : statements)
        rows << parseInsert(s);
    return rows;
}

QList<Row> rowsOf(const QList<Row>& rows, const char* table)
{
    QList<Row> out;
    for (const Row& r : rows)
        if (r.table == QLatin1String(table))
            out << r;
    return out;
}

// Why a value does not fit its column; empty when it does.
QString misfit(const ColumnType& type, const Value& v)
{
    if (v.null)
        return type.required && !type.hasDefault ? QStringLiteral("NULL in a required column") : QString();
    if (type.kind == u"VARCHAR" || type.kind == u"CHAR") {
        if (!v.quoted)
            return QStringLiteral("text column without a text literal");
        if (v.text.size() > type.width)
            return QStringLiteral("%1 characters in a column of %2").arg(v.text.size()).arg(type.width);
        for (QChar c : v.text)
            if (!livros::representableInCp1252(c))
                return QStringLiteral("character outside code page 1252");
        return QString();
    }
    if (type.kind == u"DATE")
        return v.quoted && QDate::fromString(v.text, QStringLiteral("yyyy-MM-dd")).isValid()
                   ? QString() : QStringLiteral("not a yyyy-mm-dd date");
    if (v.quoted)
        return QStringLiteral("number written as text");
    static const QRegularExpression number(QStringLiteral(R"(^-?(\d+)(?:\.(\d+))?$)"));
    const auto m = number.match(v.text);
    if (!m.hasMatch())
        return QStringLiteral("not a number");
    if (type.kind == u"INTEGER")
        return m.captured(2).isEmpty() && std::llabs(v.text.toLongLong()) <= 2147483647LL
                   ? QString() : QStringLiteral("not an integer");
    if (type.kind == u"NUMERIC") {
        if (m.captured(1).size() > type.width - type.scale)
            return QStringLiteral("too many integer digits");
        if (m.captured(2).size() > type.scale)
            return QStringLiteral("too many decimals");
    }
    return QString();
}

void expectAllFit(const QStringList& statements, const Schema& schema)
{
    int problems = 0;
    for (const Row& row : parseAll(statements)) {
        ASSERT_TRUE(schema.contains(row.table)) << row.table.toStdString();
        const auto& columns = schema[row.table];
        for (auto it = row.values.cbegin(); it != row.values.cend(); ++it) {
            ASSERT_TRUE(columns.contains(it.key())) << row.table.toStdString() << "." << it.key().toStdString();
            const QString why = misfit(columns[it.key()], it.value());
            if (!why.isEmpty() && ++problems <= 10)
                ADD_FAILURE() << row.table.toStdString() << "." << it.key().toStdString() << " = '"
                              << it.value().text.toStdString() << "': " << why.toStdString();
        }
        for (auto it = columns.cbegin(); it != columns.cend(); ++it)
            if (it.value().required && !it.value().hasDefault && !row.values.contains(it.key()) && ++problems <= 10)
                ADD_FAILURE() << row.table.toStdString() << "." << it.key().toStdString() << " missing";
    }
    EXPECT_EQ(problems, 0);
}

bool validCnpj(const QString& cnpj) { return checkCnpj(cnpj) == CnpjCheck::Valid; }

DemoOptions optionsFrom(QDate first, quint32 seed = 1, int scale = 1)
{
    DemoOptions o;
    o.firstDay = first;
    o.seed = seed;
    o.scale = scale;
    return o;
}

const QDate kFirst(2024, 5, 1);

} // namespace

TEST(DemoDataTest, SameSeedGivesSameStatementsAndAnotherSeedOthers)
{
    const DemoData a = generateDemoData(optionsFrom(kFirst, 7));
    const DemoData b = generateDemoData(optionsFrom(kFirst, 7));
    const DemoData c = generateDemoData(optionsFrom(kFirst, 8));
    EXPECT_EQ(a.mainStatements, b.mainStatements);
    EXPECT_EQ(a.interfaceStatements, b.interfaceStatements);
    EXPECT_NE(a.mainStatements, c.mainStatements);
    EXPECT_NE(a.storeCnpjs, c.storeCnpjs);
}

TEST(DemoDataTest, CnpjsCarryValidCheckDigits)
{
    for (quint32 seed : {1u, 2u, 3u}) {
        const DemoData data = generateDemoData(optionsFrom(kFirst, seed));
        const QList<Row> rows = parseAll(data.mainStatements);
        ASSERT_EQ(data.storeCnpjs.size(), 3);
        QSet<QString> stores;
        for (const Row& r : rowsOf(rows, "TABLAB")) {
            EXPECT_TRUE(validCnpj(r.get("LOJA"))) << r.get("LOJA").toStdString();
            stores << r.get("LOJA");
        }
        EXPECT_EQ(stores, QSet<QString>(data.storeCnpjs.cbegin(), data.storeCnpjs.cend()));
        // One branch has an alphanumeric CNPJ, the others are numeric.
        const auto alphanumeric = [](const QString& c) { return c.contains(QRegularExpression(QStringLiteral("[A-Z]"))); };
        EXPECT_EQ(std::count_if(data.storeCnpjs.cbegin(), data.storeCnpjs.cend(), alphanumeric), 1);
        const QList<Row> company = rowsOf(rows, "DADOSGER");
        ASSERT_EQ(company.size(), 1);
        EXPECT_EQ(company.first().get("CNPJ"), data.storeCnpjs.first());
        const QList<Row> suppliers = rowsOf(rows, "FORNECED");
        EXPECT_GE(suppliers.size(), 3);
        for (const Row& r : suppliers)
            EXPECT_TRUE(validCnpj(r.get("CNPJ"))) << r.get("CNPJ").toStdString();
    }
}

TEST(DemoDataTest, SingleStoreGivesOneStoreRow)
{
    DemoOptions o = optionsFrom(kFirst);
    o.singleStore = true;
    const DemoData data = generateDemoData(o);
    const QList<Row> rows = parseAll(data.mainStatements);
    ASSERT_EQ(rowsOf(rows, "TABLAB").size(), 1);
    EXPECT_EQ(rowsOf(rows, "TABLAB").first().get("LOJA"), rowsOf(rows, "DADOSGER").first().get("CNPJ"));
    for (const Row& r : rowsOf(rows, "BALANCOS"))
        ASSERT_EQ(r.get("LOJA"), data.storeCnpjs.first());
}

TEST(DemoDataTest, CatalogueCoversEveryBook)
{
    const QList<Row> rows = parseAll(generateDemoData(optionsFrom(kFirst)).mainStatements);
    QSet<QString> compoundingLists;
    QSet<QString> drugstoreNames;
    int chemicals = 0;
    for (const Row& r : rowsOf(rows, "COMPONEN")) {
        const bool drugstore = r.get("GRUPO").left(3).toUpper() == u"REV";
        const bool controlled = r.get("CONTROLADA") == u"Sim";
        if (controlled && !drugstore) {
            compoundingLists << r.get("LISTA");
            EXPECT_FALSE(r.get("DCB").isEmpty()) << r.get("COMPONENTE").toStdString();
        }
        if (controlled && drugstore) {
            drugstoreNames << r.get("COMPONENTE");
            EXPECT_FALSE(r.get("REGMSMEDICAM").isEmpty()) << r.get("COMPONENTE").toStdString();
        }
        if (!drugstore && r.get("FORNECEDOR").left(3).toUpper() == u"TPN") {
            ++chemicals;
            // The SIPROQUIM report writes this text into a column of 15 characters and needs a DCB.
            EXPECT_LE(r.get("FORNECEDOR").size(), 15);
            EXPECT_FALSE(r.get("DCB").isEmpty());
        }
    }
    for (const char* list : {"A1", "A2", "A3", "B1", "B2", "C1", "C2", "C3", "C4", "C5"})
        EXPECT_TRUE(compoundingLists.contains(QString::fromLatin1(list))) << list;
    EXPECT_GE(drugstoreNames.size(), 10);
    EXPECT_GE(chemicals, 3);

    // Drugstore sales are matched with the catalogue by name, formulas by code.
    QSet<QString> codes;
    for (const Row& r : rowsOf(rows, "COMPONEN"))
        codes << r.get("CODIGO");
    const QList<Row> items = rowsOf(rows, "ITENS");
    EXPECT_GT(items.size(), 100);
    for (const Row& r : items)
        ASSERT_TRUE(drugstoreNames.contains(r.get("DESCRICAO"))) << r.get("DESCRICAO").toStdString();
    for (const Row& r : rowsOf(rows, "COMPEDID"))
        ASSERT_TRUE(codes.contains(r.get("CODIGOCOMP")));
    for (const Row& r : rowsOf(rows, "COMPRAS"))
        ASSERT_TRUE(codes.contains(r.get("CODIGO")));

    QSet<QString> units;
    for (const Row& r : rowsOf(rows, "COMPRAS"))
        units << r.get("UNIDADE");
    EXPECT_TRUE(units.contains(QStringLiteral("KG")));
    EXPECT_TRUE(units.contains(QStringLiteral("L")));
}

// The cases the books must handle: a 30-character lot, a prescriber without CRM, a supplier with
// two FORNECED rows, an invoice with two identical item lines, chemicals under their Polícia
// Federal code ("TPN" and 8 digits).
TEST(DemoDataTest, HoldsTheCasesTheBooksMustHandle)
{
    const QList<Row> rows = parseAll(generateDemoData(optionsFrom(kFirst)).mainStatements);
    int longLots = 0;
    QHash<QString, int> itemLines;
    for (const Row& r : rowsOf(rows, "COMPRAS")) {
        longLots += r.get("LOTE").size() == 30;
        ++itemLines[QStringList{r.get("NOTAFISCAL"), r.get("FORNECEDOR"), r.get("CODIGO"), r.get("LOTE"),
                                r.get("QUANTIDADE")}.join(u'|')];
    }
    EXPECT_GT(longLots, 0);
    EXPECT_GT(std::count_if(itemLines.cbegin(), itemLines.cend(), [](int n) { return n == 2; }), 0);

    int withoutCrm = 0;
    for (const Row& r : rowsOf(rows, "PEDIDOS"))
        withoutCrm += r.values.value(QStringLiteral("CRM")).null;
    EXPECT_GT(withoutCrm, 0);

    QHash<QString, int> suppliers;
    for (const Row& r : rowsOf(rows, "FORNECED"))
        ++suppliers[r.get("NOMEFANTASIA")];
    EXPECT_EQ(std::count(suppliers.cbegin(), suppliers.cend(), 2), 1);

    const QRegularExpression policeCode(QStringLiteral("^TPN[0-9]{8}$"));
    int chemicals = 0;
    for (const Row& r : rowsOf(rows, "COMPONEN"))
        if (r.get("GRUPO") == u"QUI") {
            ++chemicals;
            EXPECT_TRUE(policeCode.match(r.get("FORNECEDOR")).hasMatch()) << r.get("FORNECEDOR").toStdString();
        }
    EXPECT_GT(chemicals, 0);
}

TEST(DemoDataTest, ValuesFitTheColumnsOfTheMainDatabase)
{
    const Schema schema = readSchema();
    ASSERT_EQ(schema.value(QStringLiteral("COMPONEN")).size(), 63);
    ASSERT_EQ(schema.value(QStringLiteral("DADOSGER")).size(), 45);
    expectAllFit(generateDemoData(optionsFrom(kFirst, 1)).mainStatements, schema);
    expectAllFit(generateDemoData(optionsFrom(QDate(2023, 11, 17), 99, 2)).mainStatements, schema);
}

TEST(DemoDataTest, LargeScaleKeepsEachListGroupWithinTheClassicBook)
{
    const QList<Row> rows = parseAll(generateDemoData(optionsFrom(kFirst, 1, 10)).mainStatements);
    QHash<QString, int> group{{"A1", 1}, {"A2", 1}, {"A3", 2}, {"B1", 2}, {"B2", 2},
                              {"C1", 3}, {"C2", 3}, {"C4", 3}, {"C5", 3}, {"C3", 4}};
    QHash<int, int> perGroup;
    QSet<QString> codes;
    QSet<QString> names;  // losses and drugstore sales find their product by name
    for (const Row& r : rowsOf(rows, "COMPONEN")) {
        EXPECT_FALSE(codes.contains(r.get("CODIGO"))) << r.get("CODIGO").toStdString();
        EXPECT_FALSE(names.contains(r.get("COMPONENTE"))) << r.get("COMPONENTE").toStdString();
        codes << r.get("CODIGO");
        names << r.get("COMPONENTE");
        if (r.get("GRUPO") != u"REV" && r.get("CONTROLADA") == u"Sim")
            ++perGroup[group.value(r.get("LISTA"))];
    }
    for (int g = 1; g <= 4; ++g) {
        EXPECT_GT(perGroup.value(g), 0) << g;
        EXPECT_LE(perGroup.value(g), 100) << g;
    }
    EXPECT_EQ(perGroup.value(3), 100);  // group 3 alone outgrows the book at this scale
}

TEST(DemoDataTest, PeriodIsTheLastMonthAndCountsOpenEveryMonth)
{
    EXPECT_EQ(livros::cli::defaultDemoFirstDay(QDate(2026, 3, 17)), QDate(2025, 3, 1));
    EXPECT_EQ(livros::cli::defaultDemoFirstDay(QDate(2024, 1, 31)), QDate(2023, 1, 1));

    const DemoData data = generateDemoData(optionsFrom(kFirst));
    EXPECT_EQ(data.periodStart, QDate(2025, 4, 1));
    EXPECT_EQ(data.periodEnd, QDate(2025, 4, 30));
    const QList<Row> period = parseAll(data.interfaceStatements);
    ASSERT_EQ(period.size(), 1);
    EXPECT_EQ(period.first().table, QStringLiteral("PERIODO"));
    EXPECT_EQ(period.first().get("DATAINICIAL"), QStringLiteral("2025-04-01"));
    EXPECT_EQ(period.first().get("DATAFINAL"), QStringLiteral("2025-04-30"));

    const QList<Row> rows = parseAll(data.mainStatements);
    QHash<QString, int> countsPerDay;
    for (const Row& r : rowsOf(rows, "BALANCOS"))
        ++countsPerDay[r.get("DATABALANCO")];
    ASSERT_EQ(countsPerDay.size(), 12);
    for (int m = 0; m < 12; ++m)
        EXPECT_EQ(countsPerDay.value(kFirst.addMonths(m).toString(QStringLiteral("yyyy-MM-dd"))),
                  countsPerDay.value(QStringLiteral("2024-05-01")));
    EXPECT_GT(countsPerDay.value(QStringLiteral("2024-05-01")), 3 * 40);

    // A start in the middle of a month: the period is the last whole month of the data.
    const DemoData mid = generateDemoData(optionsFrom(QDate(2023, 11, 17)));
    EXPECT_EQ(mid.periodStart, QDate(2024, 10, 1));
    EXPECT_EQ(mid.periodEnd, QDate(2024, 10, 31));
}

TEST(DemoDataTest, BadOptionsAreRefused)
{
    EXPECT_THROW(generateDemoData(optionsFrom(kFirst, 1, 0)), std::invalid_argument);
    EXPECT_THROW(generateDemoData(optionsFrom(QDate())), std::invalid_argument);
}

TEST(DemoDataTest, IniFileAsTheMigrationToolWritesIt)
{
    const QByteArray empty = livros::cli::quilmaraIniContent();
    EXPECT_EQ(empty, QByteArray("IP DO SERVIDOR CENTRAL.........................: \r\n"));
    EXPECT_EQ(empty.indexOf(':'), 47);  // the key fills columns 1 to 48

    const QByteArray named = livros::cli::quilmaraIniContent(QStringLiteral("192.168.0.10/3050"));
    EXPECT_EQ(named.mid(49), QByteArray("192.168.0.10/3050\r\n"));  // the value from column 50

    EXPECT_THROW(livros::cli::quilmaraIniContent(QString(61, u'1')), std::invalid_argument);
    EXPECT_THROW(livros::cli::quilmaraIniContent(QStringLiteral(" 10.0.0.1")), std::invalid_argument);
    EXPECT_THROW(livros::cli::quilmaraIniContent(QStringLiteral("10.0.0.1\r\nX")), std::invalid_argument);
}

// --- in a real database ------------------------------------------------------------------------

class DemoDatabaseTest : public ::testing::Test {
protected:
    // Created lazily in SetUp, so that a failing set-up fails the tests instead of skipping them.
    void SetUp() override
    {
        if (suite)
            return;
        suite = new livros::testing::EmbeddedSuite;
        data = new DemoData(generateDemoData(optionsFrom(kFirst, 5)));
        suite->loadMain(data->mainStatements);
        suite->loadInterface(data->interfaceStatements);
    }
    static void TearDownTestSuite()
    {
        delete suite;
        delete data;
        suite = nullptr;
        data = nullptr;
    }
    static livros::testing::EmbeddedSuite* suite;
    static DemoData* data;
};
livros::testing::EmbeddedSuite* DemoDatabaseTest::suite = nullptr;
DemoData* DemoDatabaseTest::data = nullptr;

TEST_F(DemoDatabaseTest, EveryRowIsStoredWithItsText)
{
    QHash<QString, int> expected;
    for (const Row& r : parseAll(data->mainStatements))
        ++expected[r.table];
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(suite->scalarMain(QStringLiteral("select count(*) from ") + it.key()).toInt(), it.value())
            << it.key().toStdString();
    EXPECT_EQ(suite->scalarInterface(QStringLiteral("select count(*) from PERIODO")), QStringLiteral("1"));
    EXPECT_EQ(suite->scalarInterface(QStringLiteral("select DATAINICIAL from PERIODO")), QStringLiteral("2025-04-01"));

    // Accented names come back as they were written.
    EXPECT_EQ(suite->scalarMain(QStringLiteral("select COMPONENTE from COMPONEN where DCB = '05167' and GRUPO = 'MP'")),
              QStringLiteral("Isotretinoína"));
    EXPECT_EQ(suite->scalarMain(QStringLiteral("select count(*) from FORNECED where NOMEFANTASIA = 'Sant''Ana Distribuidora de Insumos'")),
              QStringLiteral("1"));

    // Every invoice item belongs to an invoice of a store, as the books join them.
    EXPECT_EQ(suite->scalarMain(QStringLiteral(
                  "select count(*) from COMPRAS c where not exists (select 1 from NFISCAL n "
                  "where n.NOTAFISCAL = c.NOTAFISCAL and n.FORNECEDOR = c.FORNECEDOR "
                  "and n.LOJA in (select LOJA from TABLAB))")),
              QStringLiteral("0"));
    EXPECT_EQ(suite->scalarMain(QStringLiteral(
                  "select count(*) from COMPRAS c where not exists (select 1 from FORNECED f "
                  "where f.NOMEFANTASIA = c.FORNECEDOR)")),
              QStringLiteral("0"));
}

// Between two stock counts of a store, the counts differ by exactly the movements: entries (in
// kilograms or litres as thousands), formula components and drugstore items of the store's
// laboratory, and the store's losses.
TEST_F(DemoDatabaseTest, StockCountsAgreeWithTheMovements)
{
    QHash<QString, QString> storeOfLab;
    for (const QString& row : suite->rowsMain(QStringLiteral("select LABORATORIO, LOJA from TABLAB"))) {
        const QStringList c = row.split(u'|');
        storeOfLab[c[0]] = c[1];
    }
    // (store|code) -> date -> change
    QHash<QString, QMap<QDate, double>> change;
    auto add = [&](const QString& store, const QString& code, const QString& day, double amount) {
        change[store + u'|' + code][QDate::fromString(day, QStringLiteral("yyyy-MM-dd"))] += amount;
    };
    for (const QString& row : suite->rowsMain(QStringLiteral(
             "select n.LOJA, c.CODIGO, n.DATARECEBIM, c.QUANTIDADE, upper(c.UNIDADE) from NFISCAL n "
             "join COMPRAS c on c.NOTAFISCAL = n.NOTAFISCAL and c.FORNECEDOR = n.FORNECEDOR"))) {
        const QStringList c = row.split(u'|');
        add(c[0], c[1], c[2], c[3].toDouble() * (c[4] == u"KG" || c[4] == u"L" ? 1000 : 1));
    }
    for (const QString& row : suite->rowsMain(QStringLiteral(
             "select f.LABORATORIO, c.CODIGOCOMP, p.DATAPEDIDO, c.QDEESTOQUE from PEDIDOS p "
             "join PEDIFORM f on f.ESTACAO = p.ESTACAO and f.NPEDIDO = p.NPEDIDO "
             "join COMPEDID c on c.ESTACAO = f.ESTACAO and c.NPEDIDO = f.NPEDIDO and c.NFORMULA = f.NFORMULA "
             "where p.TIPOPEDIDO in ('Pedido', 'Repos')"))) {
        const QStringList c = row.split(u'|');
        add(storeOfLab.value(c[0]), c[1], c[2], -c[3].toDouble());
    }
    for (const QString& row : suite->rowsMain(QStringLiteral(
             "select i.LABORATORIO, i.CODPROD, p.DATAPEDIDO, i.QDE from PEDIDOS p "
             "join ITENS i on i.ESTACAO = p.ESTACAO and i.NPEDIDO = p.NPEDIDO "
             "where p.TIPOPEDIDO = 'Pedido'"))) {
        const QStringList c = row.split(u'|');
        add(storeOfLab.value(c[0]), c[1], c[2], -c[3].toDouble());
    }
    for (const QString& row : suite->rowsMain(QStringLiteral(
             "select l.LOJA, c.CODIGO, l.DATA, l.QUANTIDADE from PERDAS l "
             "join COMPONEN c on c.COMPONENTE = l.COMPONENTE"))) {
        const QStringList c = row.split(u'|');
        add(c[0], c[1], c[2], -c[3].toDouble());
    }

    QHash<QString, QMap<QDate, double>> counts;
    for (const QString& row : suite->rowsMain(QStringLiteral("select LOJA, CODIGO, DATABALANCO, QDE from BALANCOS"))) {
        const QStringList c = row.split(u'|');
        counts[c[0] + u'|' + c[1]][QDate::fromString(c[2], QStringLiteral("yyyy-MM-dd"))] = c[3].toDouble();
    }
    ASSERT_FALSE(counts.isEmpty());
    int checked = 0;
    int moved = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QMap<QDate, double>& byDay = it.value();
        const QMap<QDate, double> movements = change.value(it.key());
        for (auto c = byDay.cbegin(); std::next(c) != byDay.cend(); ++c) {
            const auto next = std::next(c);
            double expected = c.value();
            for (auto m = movements.lowerBound(c.key()); m != movements.cend() && m.key() < next.key(); ++m) {
                expected += m.value();
                ++moved;
            }
            ASSERT_NEAR(next.value(), expected, 1e-6) << it.key().toStdString() << " "
                                                     << next.key().toString().toStdString();
            ASSERT_GE(next.value(), 0.0);
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
    EXPECT_GT(moved, 1000);
}
