// The map's records against the import layout's own examples, the checker's refusals, and the
// writer's refusals of values that do not fit.
#include "siproquim/map_checker.h"
#include "siproquim/map_fields.h"
#include "siproquim/map_writer.h"

#include <gtest/gtest.h>

using namespace livros::siproquim;

namespace {

// The layout's examples. Their free text is in capitals without accents, as the newer layout
// requires of every text field; the quantities carry the blanks of their 15 columns, which the
// manual's text form lost (it shows " 999.999,999" where the field is "    999.999,999").
const QString kEm = QStringLiteral("EM98765432000198JUN201711100001");
const QString kPr = QStringLiteral("PRTPN12881067(111111111111111111111111111111111111111111111111111111111111HG111111)07727,23");
const QString kMvn = QStringLiteral("MVNSST09439030000173NOMERAZAOSOCIALFORNECEDORNOMERAZAOSOCIALFORNECEDORNOMERAZAOSOCIALFORN1212121909"
                                    "28/01/2017FT");
const QString kMm = QStringLiteral("MMPRTPN1335110803123,23    999.999,999K");
const QString kUc = QStringLiteral("UCPRTPN1335110803123,23    999.999,999K1(DESCRICAO DO CONSUMODESCRICAO DO CONSUMODESCRICAO DO CONSUMO)13/01/2017");

bool hasProblemAt(const QList<MapProblem>& problems, int column)
{
    for (const MapProblem& p : problems) {
        if (p.column == column)
            return true;
    }
    return false;
}

QString problemsText(const QList<MapProblem>& problems)
{
    QStringList out;
    for (const MapProblem& p : problems)
        out << QStringLiteral("%1:%2 %3").arg(p.line).arg(p.column).arg(p.text);
    return out.join(u'\n');
}

MapContent sampleContent()
{
    MapContent c;
    c.cnpj = QStringLiteral("11222333000181");
    c.year = 2026;
    c.month = 11;
    c.products = {{QStringLiteral("TPN29141100"), QStringLiteral("Acetona"), 100, 0.79, u'L'},
                  {QStringLiteral("TPN28416100"), QStringLiteral("Permanganato de potássio"), 100, 2.7, u'K'}};
    c.invoices = {{QStringLiteral("12ABC34501DE35"), QStringLiteral("TPN Química"), QStringLiteral("65420"), QDate(2026, 11, 18),
                   {{QStringLiteral("TPN29141100"), 5}, {QStringLiteral("TPN28416100"), 0.25}}}};
    c.consumptions = {{QStringLiteral("TPN29141100"), 0.1, kConsumptionProduction, QStringLiteral("Processo produtivo: 2 fórmulas"), QDate(2026, 11, 20)},
                      {QStringLiteral("TPN28416100"), 0.0126, kConsumptionOther, QStringLiteral("Quebra de frasco"), QDate(2026, 11, 21)}};
    return c;
}

} // namespace

TEST(MapFieldsTest, LayoutExamplesReadFieldByField)
{
    const ReadRecord em = readRecord(kEm);
    EXPECT_TRUE(em.problems.isEmpty()) << problemsText(em.problems).toStdString();
    EXPECT_EQ(em.field("CNPJ"), u"98765432000198");
    EXPECT_EQ(em.field("Mês"), u"JUN");
    EXPECT_EQ(em.field("Ano"), u"2017");
    EXPECT_EQ(em.field("Comercialização nacional") + em.field("Produção") + em.field("Consumo") + em.field("Armazenamento"), u"1101");

    const ReadRecord pr = readRecord(kPr);
    EXPECT_TRUE(pr.problems.isEmpty()) << problemsText(pr.problems).toStdString();
    EXPECT_EQ(pr.field("Código do produto"), u"TPN12881067");
    EXPECT_EQ(pr.field("Nome comercial").size(), 70);
    EXPECT_EQ(pr.field("Concentração"), u"077");
    EXPECT_EQ(pr.field("Densidade"), u"27,23");

    const ReadRecord mvn = readRecord(kMvn);
    EXPECT_TRUE(mvn.problems.isEmpty()) << problemsText(mvn.problems).toStdString();
    EXPECT_EQ(mvn.field("Entrada-saída") + mvn.field("Operação"), u"SST");
    EXPECT_EQ(mvn.field("CNPJ"), u"09439030000173");
    EXPECT_TRUE(mvn.field("Razão social").endsWith(u"SOCIALFORN"));
    EXPECT_EQ(mvn.field("Número da NF"), u"1212121909");
    EXPECT_EQ(mvn.field("Data da NF"), u"28/01/2017");
    EXPECT_EQ(mvn.field("Armazenagem") + mvn.field("Transporte"), u"FT");

    const ReadRecord mm = readRecord(kMm);
    EXPECT_TRUE(mm.problems.isEmpty()) << problemsText(mm.problems).toStdString();
    EXPECT_EQ(mm.field("Produto"), u"PRTPN13351108");
    EXPECT_EQ(mm.field("Concentração"), u"031");
    EXPECT_EQ(mm.field("Densidade"), u"23,23");
    EXPECT_DOUBLE_EQ(readQuantity(mm.field("Quantidade")).value(), 999999.999);
    EXPECT_EQ(mm.field("Unidade"), u"K");

    const ReadRecord uc = readRecord(kUc);
    EXPECT_TRUE(uc.problems.isEmpty()) << problemsText(uc.problems).toStdString();
    EXPECT_EQ(uc.field("Código do consumo"), u"1");
    EXPECT_EQ(uc.field("Observação").size(), 62);
    EXPECT_EQ(uc.field("Data do consumo"), u"13/01/2017");
}

TEST(MapFieldsTest, MangledCopiesAreRefusedAtTheirColumn)
{
    QString missingBlank = kMm;
    missingBlank.remove(23, 1); // one blank less before the quantity
    EXPECT_TRUE(hasProblemAt(readRecord(missingBlank).problems, 24));

    QString shifted = kPr;
    shifted.remove(82, 1).append(u' '); // the name one short: concentration and density move left
    const QList<MapProblem> shiftedProblems = readRecord(shifted).problems;
    EXPECT_TRUE(hasProblemAt(shiftedProblems, 84)) << problemsText(shiftedProblems).toStdString();
    EXPECT_TRUE(hasProblemAt(shiftedProblems, 87));

    QString lower = kEm;
    lower.replace(16, 3, QStringLiteral("jun"));
    EXPECT_TRUE(hasProblemAt(readRecord(lower).problems, 17));
    QString lowerName = kMvn;
    lowerName[24] = u'r';
    const QList<MapProblem> lowerNameProblems = readRecord(lowerName).problems;
    ASSERT_EQ(lowerNameProblems.size(), 1);
    EXPECT_EQ(lowerNameProblems.first().column, 25);

    QString accent = kUc;
    accent[47] = QChar(u'Ç');
    const QList<MapProblem> accentProblems = readRecord(accent).problems;
    ASSERT_EQ(accentProblems.size(), 1);
    EXPECT_EQ(accentProblems.first().column, 48);

    QString badCnpj = kEm;
    badCnpj[15] = u'9'; // wrong check digit
    EXPECT_TRUE(hasProblemAt(readRecord(badCnpj).problems, 3));
    EXPECT_TRUE(hasProblemAt(readRecord(kMm + u' ').problems, 40));
}

TEST(MapFieldsTest, ValueForms)
{
    EXPECT_EQ(quantityText(1234.5).value(), u"      1.234,500");
    EXPECT_EQ(quantityText(999999999.999).value(), u"999.999.999,999");
    EXPECT_FALSE(quantityText(1e9));
    EXPECT_FALSE(quantityText(-1));
    EXPECT_EQ(densityText(0.79).value(), u"00,79");
    EXPECT_FALSE(densityText(0.004));
    EXPECT_FALSE(densityText(100));
    EXPECT_EQ(mapText(QStringLiteral("  Éter   etílico nº 2 ")), u"ETER ETILICO NO 2");
    QStringList bad;
    mapText(QStringLiteral("Ácido β"), &bad);
    EXPECT_EQ(bad, QStringList{QStringLiteral("β")});
}

TEST(MapWriterTest, WrittenMapPassesTheCheckerAtTheLayoutsPositions)
{
    const ComposedMap map = composeMap(sampleContent());
    ASSERT_TRUE(map.problems.isEmpty()) << map.problems.join(u'\n').toStdString();
    EXPECT_EQ(mapFileName(sampleContent()), u"M2026NOV11222333000181.txt");
    EXPECT_FALSE(map.bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromLatin1(map.bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], u"EM11222333000181NOV202600001000");
    EXPECT_EQ(lines[1], u"DG");
    EXPECT_EQ(lines[2], QStringLiteral("PRTPN29141100") + QStringLiteral("ACETONA").leftJustified(70) + QStringLiteral("10000,79"));
    EXPECT_EQ(lines[4].left(20), u"MVNEEC12ABC34501DE35");
    EXPECT_EQ(lines[4].mid(99), u"18/11/2026NF");
    EXPECT_EQ(lines[6], u"MMPRTPN2841610010002,70          0,250K");
    EXPECT_EQ(lines[8].mid(23, 17), u"          0,013K3"); // 12.6 g to the gram
    EXPECT_EQ(lines[8].mid(40, 62).trimmed(), u"QUEBRA DE FRASCO");
    EXPECT_EQ(lines[8].mid(102), u"21/11/2026");
    const MapCheck check = checkMap(map.bytes);
    EXPECT_TRUE(check.ok()) << checkReport(check).toStdString();
    EXPECT_EQ(checkReport(check), u"ok: EM 1, DG 1, PR 2, MVN 1, MM 2, UC 2\n");

    MapContent quiet = sampleContent();
    quiet.products.clear();
    quiet.invoices.clear();
    quiet.consumptions.clear();
    EXPECT_EQ(composeMap(quiet).bytes, QByteArray("EM11222333000181NOV202600001000\r\n"));
}

TEST(MapWriterTest, ValuesThatDoNotFitAreAllListedAndNothingIsWritten)
{
    MapContent c = sampleContent();
    c.products[0].name = QString(71, u'A');
    c.products[1].code = c.invoices[0].items[1].code = c.consumptions[1].code = QStringLiteral("TPN Química");
    c.invoices[0].supplierCnpj = QString();
    c.invoices[0].supplierName = QString(70, u'B');
    c.invoices[0].items[0].quantity = 1e9;
    c.consumptions[0].observation = QString(63, u'C');
    MapInvoice second = c.invoices[0];
    second.supplierName = QStringLiteral("Outro");
    second.supplierCnpj = QStringLiteral("11.222.333/0001-82");
    MapInvoice third = second;
    third.supplierCnpj = QStringLiteral("12ABC34501DE36");
    c.invoices << second << third;

    const ComposedMap map = composeMap(c);
    EXPECT_TRUE(map.bytes.isEmpty());
    const QString all = map.problems.join(u'\n');
    for (const char* expected : {": Nome comercial \"AAA", "71 caracteres",
                                 "Produto TPN Química Permanganato de potássio: código da Polícia Federal", "CNPJ do fornecedor não cadastrado",
                                 "Razão social", "70 caracteres", "Quantidade 1000000000.000 L não cabe",
                                 "Consumo de 20/11/2026, produto TPN29141100: Observação", "\"11.222.333/0001-82\" inválido",
                                 "\"12ABC34501DE36\" inválido"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected << "\n" << all.toStdString();
}

TEST(MapCheckerTest, OrderAndDeclarations)
{
    const QByteArray good = composeMap(sampleContent()).bytes;
    QList<QByteArray> lines = good.split('\n');
    // MM before its MVN, a product not declared, and a map without its EM.
    QList<QByteArray> swapped = lines;
    swapped.swapItemsAt(4, 5);
    const MapCheck order = checkMap(swapped.join('\n'));
    EXPECT_TRUE(hasProblemAt(order.problems, 1)) << checkReport(order).toStdString();
    EXPECT_EQ(order.problems.first().line, 5);

    QByteArray undeclared = good;
    undeclared.replace("PRTPN28416100PERMANGANATO", "PRTPN28416199PERMANGANATO");
    const MapCheck declared = checkMap(undeclared);
    ASSERT_FALSE(declared.ok());
    EXPECT_EQ(declared.problems.first().line, 7);
    EXPECT_EQ(declared.problems.first().column, 3);

    const MapCheck bom = checkMap("\xEF\xBB\xBF" + good);
    ASSERT_EQ(bom.problems.size(), 1);
    EXPECT_EQ(bom.problems.first().line, 1);
    EXPECT_FALSE(checkMap(good.mid(good.indexOf('\n') + 1)).ok());
    EXPECT_FALSE(checkMap(QByteArray()).ok());
}

namespace {

// A map of June 2017 made of the manual's own examples: the products, compound products (PC with
// their SC) and residues (RC, RS with their RB) of its DG section, and an invoice that moves each
// of them. The examples' names are padded to their 70 columns.
QStringList manualExampleMap()
{
    const auto name = [](const char* text) { return QString::fromLatin1(text).leftJustified(70, u' ', true); };
    return {kEm,
            QStringLiteral("DG"),
            kPr,
            QStringLiteral("PC2323.23.66") + name("(1111111111111Nome comercial Produto11111111111111111111111111111111g)") + QStringLiteral("32,32"),
            QStringLiteral("SCTPN1322109623"),
            QStringLiteral("SCTPN1323109723"),
            QStringLiteral("RCTPN13351108") + name("(111111111111111111111111111111111111111111111111111111111111HG111111)") + QStringLiteral("03123,23"),
            QStringLiteral("RS2325.23.66") + name("(1111111111111Nome comercial Produto11111111111111111111111111111111g)") + QStringLiteral("32,32"),
            QStringLiteral("RBTPN1358112823"),
            QStringLiteral("RBTPN1363113323"),
            QString(kMvn).replace(QStringLiteral("28/01/2017"), QStringLiteral("28/06/2017")),
            QStringLiteral("MMPRTPN1288106707727,23    999.999,999K"),
            QStringLiteral("MMPC2323.23.66    32,32    999.999,999K"),
            QStringLiteral("MMRCTPN1335110803123,23    999.999,999K"),
            QStringLiteral("MMRS2325.23.66    32,32    999.999,999K"),
            QStringLiteral("MT04689982000121") + name("Transportadora Exemplo"),
            QStringLiteral("UCPC2323.23.66    32,32          1,500K1") + name("CONSUMO DO COMPOSTO").left(62) + QStringLiteral("13/06/2017")};
}

QByteArray crlf(const QStringList& lines) { return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(); }

} // namespace

TEST(MapCheckerTest, EveryDeclarationOfTheManualIsKnown)
{
    const MapCheck check = checkMap(crlf(manualExampleMap()));
    EXPECT_TRUE(check.ok()) << checkReport(check).toStdString();
    EXPECT_EQ(checkReport(check), u"ok: EM 1, DG 1, PR 1, MVN 1, MM 4, UC 1, PC 1, SC 2, RC 1, RS 1, RB 2, MT 1\n");

    // A substance without its compound, a compound moved with a concentration, a compound left
    // without substances, and a compound that was never declared.
    QStringList lines = manualExampleMap();
    lines.move(4, 3); // SC before its PC
    lines[12] = QStringLiteral("MMPC2323.23.66 05  32,32    999.999,999K");
    lines.removeAt(9); // the last RB: RS still has one
    lines << QStringLiteral("UCPC2915.90.90    32,32          1,500K1") + QString(62, u' ') + QStringLiteral("13/06/2017");
    const MapCheck bad = checkMap(crlf(lines));
    const QString report = checkReport(bad);
    EXPECT_TRUE(report.contains(u"linha 4, coluna 1: SC logo abaixo do seu PC")) << report.toStdString();
    EXPECT_TRUE(report.contains(u"Concentração de produto composto fica em branco")) << report.toStdString();
    EXPECT_TRUE(report.contains(u"produto PC2915.90.90 não declarado no DG antes do uso")) << report.toStdString();
}

TEST(MapCheckerTest, LinesEndInCrLf)
{
    const QByteArray good = crlf(manualExampleMap());
    QByteArray bare = good;
    bare.replace("\r\n", "\n");
    const MapCheck check = checkMap(bare);
    ASSERT_FALSE(check.ok());
    EXPECT_EQ(check.problems.first().line, 1);
    EXPECT_TRUE(check.problems.first().text.contains(u"CR LF")) << checkReport(check).toStdString();
    EXPECT_TRUE(check.problems.first().text.contains(QString::number(manualExampleMap().size())));
    // One line without its CR, and a last line without an end.
    QByteArray oneBare = good;
    oneBare.replace(oneBare.indexOf("\r\nDG"), 1, "");
    EXPECT_EQ(checkMap(oneBare).problems.first().line, 1);
    const MapCheck unfinished = checkMap(good.chopped(2));
    ASSERT_FALSE(unfinished.ok());
    EXPECT_TRUE(unfinished.problems.last().text.contains(u"última linha"));
}

namespace {

QString padded(const char* text, int width) { return QString::fromLatin1(text).leftJustified(width, u' ', true); }
const QString kQuantity = QStringLiteral("    999.999,999K");

// The sections of the other activities, from the manual's examples (accents removed, texts
// padded to their columns, the dates moved into the map's month where they must lie in it).
QStringList otherActivitiesExampleLines()
{
    const QString cpf = padded("01337593184", 14);
    const QString name = padded("NOMERAZAOSOCIALFORNECEDORNOMERAZAOSOCIALFORNECEDOR", 70);
    const QString address = name + padded("Endereco armazenadora", 70) + QStringLiteral("70.070-93523582complementocompleme2")
                            + padded("Bairro local de entrega bairro", 30) + QStringLiteral("DF5300108");
    return {
        QStringLiteral("MVIC022") + padded("OMERAZAOSOCIALFORNECEDORNOMERAZAOSOCIALFORNECEDOR", 69)
            + QStringLiteral("67/5675675-602/01/201702/01/201719BR012345678-902/01/201799/9999999-902/01/2017TTI"),
        QStringLiteral("TRA") + cpf + name,
        QStringLiteral("TRI") + name,
        QStringLiteral("AMZ") + cpf + address,
        QStringLiteral("TER") + cpf + address,
        QStringLiteral("ADQ") + cpf + address,
        QStringLiteral("NF101020101011/01/2017E"),
        QStringLiteral("NF121020101011/01/2017S"),
        QStringLiteral("PC2323.23.66    32,32") + kQuantity,
        QStringLiteral("RCTPN1335110803123,23") + kQuantity,
        QStringLiteral("UPPRTPN1288106707727,23") + kQuantity,
        QStringLiteral("UFPC2323.23.66    32,32") + kQuantity + padded("(DESCRICAO DA PRODUCAO)", 200) + QStringLiteral("18/06/2017"),
        QStringLiteral("UTPRTPN1288106707727,23") + kQuantity + QStringLiteral("21/06/2017"),
        QStringLiteral("UZPC2323.23.66    32,32") + kQuantity + QStringLiteral("21/06/2017") + padded("(REACAO QUIMICA)", 200),
        QStringLiteral("FBRCTPN1335110803123,23") + kQuantity + QStringLiteral("06/06/2017"),
        QStringLiteral("TN") + cpf + name + QStringLiteral("451232563828/01/2017") + cpf + name + QStringLiteral("PA"),
        QStringLiteral("CC11111111110/10/201810/10/2018") + padded("ResponsavelRecebimento", 70) + QStringLiteral("RO"),
        QStringLiteral("CC11111111110/10/201810/10/2018") + padded("ResponsavelRecebimento", 70) + QStringLiteral("ROAE"),
        QStringLiteral("LR") + cpf + address,
        QStringLiteral("LE") + cpf + address,
        QStringLiteral("TMPC2323.23.66    32,32") + kQuantity,
        QStringLiteral("TIEO451232563828/01/2017") + cpf + name + QStringLiteral("A"),
        QStringLiteral("LR") + cpf + address,
        QStringLiteral("PI") + padded("NOMEPESSOAINTERNACIONAL", 70) + QStringLiteral("016") + padded("ENDERECOINTERNACIONAL", 70),
        QStringLiteral("TZPRTPN1288106707727,23") + kQuantity,
        QStringLiteral("AR05981967000115") + padded("(NOME CONTRATANTE)", 72) + QStringLiteral("123412433323/01/201723/06/2017E"),
        QStringLiteral("PAPC2323.23.66    32,32") + kQuantity,
    };
}

} // namespace

TEST(MapCheckerTest, EveryOtherActivitysSectionIsReadFieldByField)
{
    const QStringList good = manualExampleMap() + otherActivitiesExampleLines();
    const MapCheck check = checkMap(crlf(good));
    EXPECT_TRUE(check.ok()) << checkReport(check).toStdString();
    const QString report = checkReport(check);
    for (const char* count : {"MVI 1", "NF 2", "produtos de NF 2", "UF 1", "CC 2", "LR 2", "PI 1", "AR 1", "PA 1"})
        EXPECT_TRUE(report.contains(QLatin1String(count))) << count << " in " << report.toStdString();

    // One broken field per kind of record: the message names the line, the column and the field.
    const int first = int(manualExampleMap().size());
    struct Break { int line; int column; const char* text; const char* field; };
    const Break breaks[] = {
        {0, 4, "X", "Operação"},                {1, 4, "01337593185", "CPF/CNPJ da transportadora"},
        {2, 4, " ", "Razão social da transportadora"}, {3, 158, "70070935", "CEP"},
        {4, 223, "df", "UF"},                   {5, 225, "X3001", "Município"},
        {6, 13, "31/02/2017", "Data da NF"},    {8, 37, "G", "Unidade"},
        {10, 24, "    999.999,99X", "Quantidade"}, {11, 240, "18/07/2017", "Data da produção"},
        {12, 40, "2106/2017", "Data da transformação"}, {13, 50, " ", "Reação química"},
        {14, 19, "0,5 1", "Densidade"},         {15, 191, "X", "Local de retirada"},
        {16, 102, "RX", "Modal de transporte"}, {18, 3, "1337593184 ", "CPF/CNPJ do local de retirada"},
        {19, 222, "D1", "UF"},                  {20, 16, "200", "Concentração"},
        {21, 3, "X", "Operação"},               {23, 73, "AB ", "País"},
        {24, 3, "PRTPN1288106X", "Produto"},    {25, 119, "X", "Entrada-saída"},
        {26, 39, "G", "Unidade"},               {0, 158, " ", "Local de entrega"},
    };
    for (const Break& b : breaks) {
        QStringList lines = good;
        QString& line = lines[first + b.line];
        line.replace(b.column - 1, int(qstrlen(b.text)), QLatin1String(b.text));
        const QString broken = checkReport(checkMap(crlf(lines)));
        const QString expected = QStringLiteral("linha %1, coluna %2: %3").arg(first + b.line + 1).arg(b.column).arg(QString::fromUtf8(b.field));
        EXPECT_TRUE(broken.contains(expected)) << expected.toStdString() << "\n" << broken.toStdString();
    }

    // A subsection out of its section, an invoice without products and an undeclared product.
    QStringList misplaced = good;
    misplaced.move(first + 16, first + 1); // CC under the MVI
    misplaced.removeAt(first + 9);         // the NF's last product, then the other: the second NF is left bare
    misplaced.removeAt(first + 9);
    misplaced[first + 9] = QStringLiteral("UPPRTPN9999999907727,23") + kQuantity;
    const QString wrong = checkReport(checkMap(crlf(misplaced)));
    EXPECT_TRUE(wrong.contains(QStringLiteral("CC fora de uma seção TN"))) << wrong.toStdString();
    EXPECT_TRUE(wrong.contains(QStringLiteral("linha %1, coluna 1: nota fiscal (NF) sem produtos").arg(first + 9))) << wrong.toStdString();
    EXPECT_TRUE(wrong.contains(QStringLiteral("produto PRTPN99999999 não declarado no DG antes do uso"))) << wrong.toStdString();
}
