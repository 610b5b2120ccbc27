#include "cli/demo_data.h"

#include "platform/cnpj.h"
#include "platform/cp1252.h"
#include "platform/sql_literal.h"

#include <QHash>
#include <QList>
#include <QMap>

#include <cmath>
#include <random>
#include <stdexcept>

namespace livros::cli {
namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers. The std:: distributions differ between standard libraries, so the numbers are
// drawn from the engine's raw output (which the standard fixes) to keep a seed's data the same
// on every platform.
class Random {
public:
    explicit Random(quint32 seed) : m_engine(seed) {}

    int between(int low, int high)  // both ends included
    {
        const quint64 span = quint64(qint64(high) - low + 1);
        return low + int((quint64(m_engine()) * span) >> 32);
    }
    double unit() { return m_engine() / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    template <class List> const auto& pick(const List& list)
    {
        return list[between(0, int(std::size(list)) - 1)];
    }
    QString digits(int count)
    {
        QString out;
        for (int i = 0; i < count; ++i)
            out += QChar(u'0' + between(0, 9));
        return out;
    }

private:
    std::mt19937 m_engine;
};

QString u8(const char* text) { return QString::fromUtf8(text); }

QString completeCnpj(const QString& firstTwelve) { return firstTwelve + cnpjCheckDigits(firstTwelve).value_or(QString()); }

// The same root with its third to fifth digits as capital letters (0 gives A, 9 gives J): the
// form of the alphanumeric CNPJs issued since July 2026.
QString alphanumericRoot(QString root)
{
    for (int i = 2; i < 5; ++i)
        root[i] = QChar(u'A' + root.at(i).digitValue());
    return root;
}

// EAN-13 with the Brazilian prefix 789, as on the boxes of the drugstore medicines.
QString ean13(Random& random)
{
    QString code = QStringLiteral("789") + random.digits(9);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += code[i].digitValue() * (i % 2 ? 3 : 1);
    code += QChar(u'0' + (10 - sum % 10) % 10);
    return code;
}

// ---------------------------------------------------------------------------------------------
// SQL values. Quantities are kept in thousandths of the product's unit so that the stock counts
// add up exactly with the movements.
const QString kNull = QStringLiteral("NULL");

QString text(const QString& value) { return value.isNull() ? kNull : sqlLiteral(value); }
QString date(const QDate& value)
{
    return value.isValid() ? sqlLiteral(value.toString(QStringLiteral("yyyy-MM-dd"))) : kNull;
}
QString integer(qint64 value) { return QString::number(value); }
QString decimal(double value, int decimals) { return QString::number(value, 'f', decimals); }
QString milli(qint64 thousandths)
{
    const QString sign = thousandths < 0 ? QStringLiteral("-") : QString();
    const qint64 a = std::llabs(thousandths);
    return sign + QString::number(a / 1000) + u'.' +
           QStringLiteral("%1").arg(a % 1000, 3, 10, QLatin1Char('0'));
}

struct Column {
    const char* name;
    QString value;
};

QString insert(const char* table, std::initializer_list<Column> columns)
{
    QStringList names;
    QStringList values;
    for (const Column& c : columns) {
        names << QString::fromLatin1(c.name);
        values << c.value;
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QString::fromLatin1(table), names.join(QStringLiteral(", ")),
             values.join(QStringLiteral(", ")));
}

// ---------------------------------------------------------------------------------------------
// What a Brazilian compounding pharmacy keeps. DCB numbers are five-digit codes in the form of
// the Denominações Comuns Brasileiras list.

struct InputDef {
    const char* name;
    const char* list;
    const char* dcb;
    const char* unit;        // "g", "mg" or "ml"
    double doseLow, doseHigh;  // thousandths of the unit (mg of a gram...) per capsule or dose
    int countLow, countHigh;   // capsules per formula; 1 for a topical preparation
    const char* family;
    const char* scientific;
    double correction;         // salt to base correction factor
};

constexpr InputDef kInputs[] = {
    {"Sulfato de morfina", "A1", "06112", "g", 10, 30, 30, 60, "Analgésicos opioides", "Morphine sulfate", 1.33},
    {"Cloridrato de metadona", "A1", "05803", "g", 5, 10, 30, 60, "Analgésicos opioides", "Methadone hydrochloride", 1.12},
    {"Cloridrato de oxicodona", "A1", "06594", "g", 10, 20, 30, 30, "Analgésicos opioides", "Oxycodone hydrochloride", 1.12},
    {"Cloridrato de petidina", "A1", "06871", "g", 50, 100, 20, 30, "Analgésicos opioides", "Pethidine hydrochloride", 1.15},
    {"Fosfato de codeína", "A2", "02457", "g", 30, 60, 20, 30, "Analgésicos opioides", "Codeine phosphate", 1.33},
    {"Cloridrato de tramadol", "A2", "08672", "g", 50, 100, 30, 60, "Analgésicos opioides", "Tramadol hydrochloride", 1.14},
    {"Cloridrato de metilfenidato", "A3", "05856", "g", 10, 20, 30, 60, "Estimulantes do SNC", "Methylphenidate hydrochloride", 1.16},
    {"Dimesilato de lisdexanfetamina", "A3", "10486", "g", 30, 70, 28, 30, "Estimulantes do SNC", "Lisdexamfetamine dimesylate", 1.0},
    {"Diazepam", "B1", "03060", "g", 5, 10, 30, 60, "Ansiolíticos", "Diazepam", 1.0},
    {"Clonazepam", "B1", "02401", "mg", 0.5, 2, 30, 60, "Ansiolíticos", "Clonazepam", 1.0},
    {"Alprazolam", "B1", "00433", "mg", 0.25, 1, 30, 60, "Ansiolíticos", "Alprazolam", 1.0},
    {"Lorazepam", "B1", "05437", "mg", 1, 2, 30, 30, "Ansiolíticos", "Lorazepam", 1.0},
    {"Bromazepam", "B1", "01360", "g", 3, 6, 30, 60, "Ansiolíticos", "Bromazepam", 1.0},
    {"Hemitartarato de zolpidem", "B1", "09223", "g", 5, 10, 30, 30, "Hipnóticos", "Zolpidem tartrate", 1.24},
    {"Fenobarbital", "B1", "03872", "g", 50, 100, 30, 60, "Anticonvulsivantes", "Phenobarbital", 1.0},
    {"Maleato de midazolam", "B1", "05991", "g", 7.5, 15, 20, 30, "Hipnóticos", "Midazolam maleate", 1.36},
    {"Cloridrato de sibutramina", "B2", "07943", "g", 10, 15, 30, 60, "Anorexígenos", "Sibutramine hydrochloride", 1.19},
    {"Cloridrato de anfepramona", "B2", "00695", "g", 25, 75, 30, 60, "Anorexígenos", "Amfepramone hydrochloride", 1.18},
    {"Femproporex", "B2", "03838", "g", 25, 25, 30, 60, "Anorexígenos", "Fenproporex", 1.0},
    {"Mazindol", "B2", "05595", "mg", 1, 2, 30, 60, "Anorexígenos", "Mazindol", 1.0},
    {"Cloridrato de fluoxetina", "C1", "04067", "g", 10, 40, 30, 60, "Antidepressivos", "Fluoxetine hydrochloride", 1.12},
    {"Cloridrato de sertralina", "C1", "07885", "g", 25, 100, 30, 60, "Antidepressivos", "Sertraline hydrochloride", 1.12},
    {"Cloridrato de amitriptilina", "C1", "00605", "g", 10, 25, 30, 60, "Antidepressivos", "Amitriptyline hydrochloride", 1.13},
    {"Topiramato", "C1", "08601", "g", 25, 100, 30, 60, "Anticonvulsivantes", "Topiramate", 1.0},
    {"Carbamazepina", "C1", "01727", "g", 200, 200, 30, 60, "Anticonvulsivantes", "Carbamazepine", 1.0},
    {"Cloridrato de bupropiona", "C1", "01424", "g", 150, 150, 30, 60, "Antidepressivos", "Bupropion hydrochloride", 1.13},
    {"Oxalato de escitalopram", "C1", "09781", "g", 10, 20, 30, 30, "Antidepressivos", "Escitalopram oxalate", 1.28},
    {"Cloridrato de venlafaxina", "C1", "08974", "g", 37.5, 75, 30, 60, "Antidepressivos", "Venlafaxine hydrochloride", 1.13},
    {"Cloridrato de trazodona", "C1", "08712", "g", 50, 100, 30, 30, "Antidepressivos", "Trazodone hydrochloride", 1.1},
    {"Gabapentina", "C1", "04246", "g", 300, 300, 30, 60, "Anticonvulsivantes", "Gabapentin", 1.0},
    // Kept in millilitres (doses in thousandths of a millilitre) and bought by the litre.
    {"Canabidiol solução oleosa 200 mg/ml", "C1", "11064", "ml", 100, 300, 30, 60, "Canabinoides", "Cannabidiol", 1.0},
    {"Isotretinoína", "C2", "05167", "g", 10, 20, 30, 60, "Retinoides", "Isotretinoin", 1.0},
    {"Acitretina", "C2", "00157", "g", 10, 25, 30, 30, "Retinoides", "Acitretin", 1.0},
    {"Tretinoína", "C2", "08728", "g", 15, 30, 1, 1, "Retinoides", "Tretinoin", 1.0},
    {"Talidomida", "C3", "08336", "g", 100, 100, 30, 30, "Imunossupressores", "Thalidomide", 1.0},
    {"Lenalidomida", "C3", "10301", "g", 10, 25, 21, 21, "Imunossupressores", "Lenalidomide", 1.0},
    {"Zidovudina", "C4", "09197", "g", 100, 300, 30, 60, "Antirretrovirais", "Zidovudine", 1.0},
    {"Lamivudina", "C4", "05223", "g", 150, 150, 30, 60, "Antirretrovirais", "Lamivudine", 1.0},
    {"Oxandrolona", "C5", "06565", "g", 2.5, 10, 30, 60, "Anabolizantes", "Oxandrolone", 1.0},
    {"Decanoato de nandrolona", "C5", "06232", "g", 25, 50, 30, 30, "Anabolizantes", "Nandrolone decanoate", 1.45},
    {"Cipionato de testosterona", "C5", "08398", "g", 25, 50, 30, 30, "Anabolizantes", "Testosterone cypionate", 1.44},
    {"Estanozolol", "C5", "03413", "g", 5, 10, 30, 60, "Anabolizantes", "Stanozolol", 1.0},
};

// Names of further catalogue entries of one substance (diluted stock forms, other grades).
constexpr const char* kInputVariants[] = {
    "", " diluído 1:10", " diluído 1:100", " micronizado", " (pellets)", " base"};

struct MedicineDef {
    const char* name;
    const char* list;
    const char* group;   // REV or REV01: both make the drugstore book
    const char* unit;    // CX, COMP, FR, AMP
    int packLow, packHigh;  // units per purchase
};

constexpr MedicineDef kMedicines[] = {
    {"Clonazepam 2 mg 30 comprimidos", "B1", "REV", "CX", 10, 20},
    {"Clonazepam 2,5 mg/ml solução oral gotas 20 ml", "B1", "REV", "FR", 6, 12},
    {"Alprazolam 0,5 mg 30 comprimidos", "B1", "REV", "CX", 10, 20},
    {"Diazepam 10 mg 30 comprimidos", "B1", "REV", "CX", 10, 20},
    {"Hemitartarato de zolpidem 10 mg 20 comprimidos", "B1", "REV01", "CX", 6, 12},
    {"Cloridrato de metilfenidato 10 mg 30 comprimidos", "A3", "REV", "CX", 5, 10},
    {"Cloridrato de tramadol 50 mg 10 cápsulas", "A2", "REV", "CX", 10, 20},
    {"Fosfato de codeína 30 mg 12 comprimidos", "A2", "REV", "CX", 6, 12},
    {"Sulfato de morfina 10 mg 50 comprimidos", "A1", "REV", "CX", 3, 6},
    {"Cloridrato de fluoxetina 20 mg 30 cápsulas", "C1", "REV01", "CX", 10, 20},
    {"Cloridrato de sertralina 50 mg 30 comprimidos", "C1", "REV", "CX", 10, 20},
    {"Cloridrato de amitriptilina 25 mg comprimido", "C1", "REV01", "COMP", 200, 400},
    {"Carbamazepina 200 mg 20 comprimidos", "C1", "REV", "CX", 10, 20},
    {"Isotretinoína 20 mg 30 cápsulas", "C2", "REV", "CX", 5, 10},
    {"Cloridrato de sibutramina 15 mg 30 cápsulas", "B2", "REV", "CX", 6, 12},
    {"Decanoato de nandrolona 50 mg/ml 1 ampola", "C5", "REV", "AMP", 10, 20},
};

constexpr const char* kManufacturers[] = {
    "EMS", "Medley", "Eurofarma", "Germed", "Teuto", "Prati-Donaduzzi", "Neo Química", "Cristália"};

struct ChemicalDef {
    const char* name;
    const char* dcb;
    const char* unit;  // "ml" or "g"
    double density;
    int doseLow, doseHigh;  // ml or g per preparation
    // The catalogue's supplier text of a chemical: its Polícia Federal product code, "TPN" and 8
    // digits, which the SIPROQUIM report prints and the monthly map declares. (Demo codes.)
    const char* policeCode;
};

// Chemicals under the federal police's control (SIPROQUIM), bought from the TPN distributor.
constexpr ChemicalDef kChemicals[] = {
    {"Acetona", "00084", "ml", 0.79, 50, 100, "TPN29141100"},
    {"Ácido clorídrico 37%", "00118", "ml", 1.19, 5, 20, "TPN28061020"},
    {"Éter etílico", "03624", "ml", 0.71, 20, 50, "TPN29091100"},
    {"Ácido sulfúrico 98%", "00148", "ml", 1.84, 5, 10, "TPN28070010"},
    {"Permanganato de potássio", "06868", "g", 2.70, 1, 5, "TPN28416100"},
    {"Clorofórmio", "02181", "ml", 1.48, 10, 30, "TPN29031300"},
};

struct ExcipientDef {
    const char* name;
    const char* dcb;
    bool topical;
};

constexpr ExcipientDef kExcipients[] = {
    {"Amido de milho", "00624", false},
    {"Lactose monoidratada", "05184", false},
    {"Celulose microcristalina", "01940", false},
    {"Estearato de magnésio", "03482", false},
    {"Talco farmacêutico", "08280", false},
    {"Creme base Lanette", "", true},
    {"Gel de carbopol", "", true},
};

struct SupplierDef {
    const char* name;  // trade name, at most 35 characters (formula components keep 35)
    int kind;          // 0 compounding inputs, 1 medicines, 2 chemicals
    const char* lotPrefix;  // followed by yyMM and 3 digits
};

constexpr SupplierDef kSuppliers[] = {
    {"Ipê Insumos Farmacêuticos", 0, "IP"},
    {"Sant'Ana Distribuidora de Insumos", 0, "SA"},
    {"Pharmavale Insumos", 0, "PHARMAVALE-INSUMOS-LOT-"},  // lots of 30 characters
    {"Jequitibá Distribuidora", 1, "JQ"},
    {"Drogaminas Distribuidora", 1, "DM"},
    {"TPN Química", 2, "TP"},
};

// The supplier recorded twice in FORNECED (head office and branch).
constexpr int kSupplierWithBranch = 0;

constexpr const char* kLossReasons[] = {
    "Vencimento do prazo de validade",
    "Quebra de frasco",
    "Derramamento durante a pesagem",
    "Contaminação do lote",
    "Avaria no transporte",
    "Recolhimento pelo fabricante (desvio de qualidade)",
    "Erro de manipulação",
    "Produto empedrado por umidade",
};

struct CityDef {
    const char* city;
    const char* uf;
    const char* state;
    const char* ddd;
    const char* cep;     // first five digits
    const char* region;
    const char* streets[3];
    const char* districts[3];
};

constexpr CityDef kCities[] = {
    {"Campinas", "SP", "São Paulo", "19", "13010", "DRS VII - Campinas",
     {"Rua Barão de Jaguara", "Avenida Norte-Sul", "Rua José Paulino"},
     {"Centro", "Cambuí", "Taquaral"}},
    {"Belo Horizonte", "MG", "Minas Gerais", "31", "30130", "SRS Belo Horizonte",
     {"Rua da Bahia", "Avenida Afonso Pena", "Rua Padre Eustáquio"},
     {"Centro", "Savassi", "Padre Eustáquio"}},
    {"Curitiba", "PR", "Paraná", "41", "80020", "2ª RS Metropolitana",
     {"Rua XV de Novembro", "Avenida Sete de Setembro", "Rua Padre Anchieta"},
     {"Centro", "Batel", "Bigorrilho"}},
    {"Recife", "PE", "Pernambuco", "81", "50050", "I GERES",
     {"Rua da Aurora", "Avenida Conselheiro Aguiar", "Rua do Futuro"},
     {"Boa Vista", "Boa Viagem", "Aflitos"}},
    {"Porto Alegre", "RS", "Rio Grande do Sul", "51", "90010", "1ª CRS",
     {"Rua dos Andradas", "Avenida Protásio Alves", "Rua Padre Chagas"},
     {"Centro Histórico", "Petrópolis", "Moinhos de Vento"}},
};

constexpr const char* kPharmacyNames[] = {
    "Farmácia Flor de Ipê", "Farmácia Vida Natural", "Botica Santa Luzia",
    "Farmácia São Lucas de Manipulação"};

constexpr const char* kFirstNames[] = {
    "Ana", "Maria", "João", "José", "Antônio", "Francisca", "Luiz", "Paulo", "Márcia", "Carlos",
    "Juliana", "Sebastião", "Conceição", "Fábio", "Letícia", "Gabriel", "Beatriz", "Raimundo",
    "Cláudia", "Otávio", "Lúcia", "Rafael", "Patrícia", "Henrique", "Simone", "Vinícius",
    "Débora", "Rodrigo", "Aline", "Thiago"};
constexpr const char* kSurnames[] = {
    "Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira", "Lima",
    "Gomes", "Ribeiro", "Carvalho", "Araújo", "Gonçalves", "Barbosa", "Rocha", "Mendes",
    "Magalhães", "Fonseca", "D'Ávila", "Nascimento", "Brandão"};
constexpr const char* kOtherUfs[] = {"SP", "RJ", "MG", "PR", "SC", "RS", "BA", "GO", "DF", "PE"};
constexpr const char* kMonths[] = {"janeiro", "fevereiro", "março", "abril", "maio", "junho",
                                   "julho", "agosto", "setembro", "outubro", "novembro",
                                   "dezembro"};

// ---------------------------------------------------------------------------------------------
// The generated world.

enum class Kind { Input, Medicine, Chemical, Excipient };

struct Product {
    Kind kind = Kind::Input;
    QString code, name, group, family, unit, list, dcb, regms, catalogueSupplier, manufacturer;
    QString scientific;
    bool controlled = false;
    bool topical = false;
    double doseLow = 0, doseHigh = 0;  // per unit of the formula
    int countLow = 1, countHigh = 1;
    qint64 doseToMilli = 1;  // thousandths of the product's unit per unit of dose
    double density = 0, correction = 1, unitCost = 0;
    int supplier = 0;
    qint64 pack = 0;          // purchase size, thousandths of the unit
    QString purchaseUnit;     // as written on the invoice item
    qint64 purchaseDivisor = 1;  // thousandths of the unit per thousandth of the purchase unit
    int weight = 1;           // how often formulas or sales take it
};

struct Store {
    QString cnpj, laboratory, district, street, number;
    QStringList stations;
    QString notificationPrefix;
    qint64 nextNotification = 0;
    QStringList patients;
};

struct Prescriber {
    QString name, council, number, uf;
};

struct Lot {
    QString code;
    int supplier = 0;
    QDate expiry;
};

struct Invoice {
    int store = 0, supplier = 0;
    QDate received;
    QString number;
    QList<int> products;
};

QString listClass(const QString& list)
{
    if (list.startsWith(u'A'))
        return list == u"A3" ? u8("Psicotrópico") : u8("Entorpecente");
    if (list == u"B1")
        return u8("Psicotrópico");
    if (list == u"B2")
        return u8("Psicotrópico anorex.");
    if (list == u"C2")
        return u8("Retinoide");
    if (list == u"C3")
        return u8("Imunossupressor");
    if (list == u"C4")
        return u8("Antirretroviral");
    if (list == u"C5")
        return u8("Anabolizante");
    return u8("Controle especial");
}

QString prescriptionType(const QString& list)
{
    if (list.startsWith(u'A'))
        return QStringLiteral("A");
    if (list == u"B1")
        return QStringLiteral("B");
    if (list == u"B2" || list == u"C2" || list == u"C3")
        return list;
    return QStringLiteral("C");
}

// Lists whose prescriptions come with a numbered notification form.
bool needsNotification(const QString& list)
{
    return list.startsWith(u'A') || list.startsWith(u'B') || list == u"C2" || list == u"C3";
}

// The classic book's list group of a list code (0: none).
int listGroup(const QString& list)
{
    if (list == u"A1" || list == u"A2")
        return 1;
    if (list == u"A3" || list == u"B1" || list == u"B2")
        return 2;
    if (list == u"C1" || list == u"C2" || list == u"C4" || list == u"C5")
        return 3;
    if (list == u"C3")
        return 4;
    return 0;
}

// The classic book holds at most this many products per list group.
constexpr int kMaxPerListGroup = 100;

class Generator {
public:
    Generator(const DemoOptions& options) : m_options(options), m_random(options.seed) {}

    DemoData run()
    {
        m_first = m_options.firstDay;
        m_end = m_first.addMonths(12).addDays(-1);
        makeCompany();
        makeCatalogue();
        makeSuppliers();
        makePrescribers();
        simulate();

        DemoData data;
        data.mainStatements << m_tablab << m_dadosger << m_componen << m_forneced << m_balancos
                            << m_nfiscal << m_compras << m_pedidos << m_pediform << m_compedid
                            << m_itens << m_perdas;
        data.periodEnd = m_end.day() == m_end.daysInMonth()
                             ? m_end
                             : QDate(m_end.year(), m_end.month(), 1).addDays(-1);
        data.periodStart = QDate(data.periodEnd.year(), data.periodEnd.month(), 1);
        data.interfaceStatements << insert("PERIODO", {{"DATAINICIAL", date(data.periodStart)},
                                                       {"DATAFINAL", date(data.periodEnd)}});
        for (const Store& s : m_stores)
            data.storeCnpjs << s.cnpj;
        return data;
    }

private:
    // --- company and stores ----------------------------------------------------------------
    void makeCompany()
    {
        const CityDef& city = m_random.pick(kCities);
        m_city = &city;
        const QString root = QString::number(m_random.between(1, 9)) + m_random.digits(7);
        const int storeCount = m_options.singleStore ? 1 : 3;
        for (int i = 0; i < storeCount; ++i) {
            Store s;
            // The third store, a recent branch, has an alphanumeric CNPJ.
            const QString storeRoot = i == 2 ? alphanumericRoot(root) : root;
            s.cnpj = completeCnpj(storeRoot + QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')));
            s.laboratory = QStringLiteral("LAB%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            s.district = u8(city.districts[i]);
            s.street = u8(city.streets[i]);
            s.number = QString::number(m_random.between(12, 2400));
            s.stations = {QStringLiteral("%1").arg(2 * i + 1, 2, 10, QLatin1Char('0')),
                          QStringLiteral("%1").arg(2 * i + 2, 2, 10, QLatin1Char('0'))};
            s.notificationPrefix = u8(city.uf);
            s.nextNotification = m_random.between(1000000, 4000000);
            m_stores << s;
            m_tablab << insert("TABLAB", {{"LOJA", text(s.cnpj)}, {"LABORATORIO", text(s.laboratory)}});
        }
        for (int st = 0; st < m_stores.size(); ++st)
            for (const QString& station : m_stores[st].stations)
                m_nextOrder[station] = m_random.between(10000, 30000);

        const QString pharmacy = u8(m_random.pick(kPharmacyNames));
        const QString pharmacist = QStringLiteral("%1 %2 %3")
                                       .arg(u8(m_random.pick(kFirstNames)),
                                            u8(m_random.pick(kSurnames)),
                                            u8(m_random.pick(kSurnames)));
        const QString crf = QStringLiteral("CRF-%1 %2").arg(u8(city.uf)).arg(m_random.between(10000, 99999));
        const Store& head = m_stores.first();
        const QString phone = QStringLiteral("(%1) 3%2-%3")
                                  .arg(u8(city.ddd), m_random.digits(3), m_random.digits(4));
        const QString month = u8(kMonths[m_first.month() - 1]);
        const QString cityName = u8(city.city);
        m_dadosger << insert("DADOSGER", {
            {"CODIGOLIVRO", text(QStringLiteral("001"))},
            {"CODIGOLIVROSC", text(QStringLiteral("002"))},
            {"NUMEROINICIAL", integer(1)},
            {"NUMEROINICIALSC", integer(1)},
            {"QDEFOLHAS", integer(200)},
            {"QDEFOLHASSC", integer(200)},
            {"REGISTRO", text(u8("Livro de Registro Específico nº 1"))},
            {"REGISTROSC", text(u8("Livro de Registro Específico nº 2"))},
            {"FIRMA", text(pharmacy + QStringLiteral(" Ltda"))},
            {"FARMACIA", text(pharmacy)},
            {"FARMACEUTICO", text(pharmacist)},
            {"ENDERECO", text(head.street)},
            {"NUMERO", text(head.number)},
            {"CIDADE", text(cityName)},
            {"ESTADO", text(u8(city.uf))},
            {"NUMEROJUNTA", text(m_random.digits(11))},
            {"ESTADOEXT", text(u8(city.state))},
            {"INSCRICAOEST", text(m_random.digits(3) + u'.' + m_random.digits(3) + u'.' +
                                  m_random.digits(3) + u'.' + m_random.digits(3))},
            {"CGC", text(formatCnpj(head.cnpj))},
            {"DIADESPACHO", integer(m_first.day())},
            {"MESDESPACHO", text(month)},
            {"ANODESPACHO", integer(m_first.year())},
            {"CID", text(cityName)},
            {"DIA", integer(m_first.day())},
            {"MES", text(month)},
            {"ANO", integer(m_first.year())},
            {"NAUTORIZACAO", text(QStringLiteral("7.%1-%2").arg(m_random.digits(5), m_random.digits(1)))},
            {"TELEFONE", text(phone)},
            {"FAX", text(phone)},
            {"EXERCICIO", text(QString::number(m_end.year()))},
            {"ANUALTRIMESTRAL", text(QStringLiteral("Anual"))},
            {"TRIMESTRE", text(u8("4º"))},
            {"PORTARIABSPO", text(QStringLiteral("Portaria 344/98"))},
            {"QDEFOLHASBSPO", integer(100)},
            {"PREENCHIDOPORBSPO", text(pharmacist)},
            {"CRF_Q", text(crf)},
            {"REGIAO", text(u8(city.region))},
            {"DATABSPO", date(m_first)},
            {"CNPJ", text(head.cnpj)},
            {"NLICENCA_FUNC", text(QStringLiteral("LF %1/%2").arg(m_first.year()).arg(m_random.digits(6)))},
            {"SECRETARIA_SAUDE", text(u8("Secretaria Municipal de Saúde de ") + cityName)},
            {"AUTORIDADE_SANITARIA", text(u8("Vigilância Sanitária Municipal de ") + cityName)},
            {"CEP", text(u8(city.cep) + u'-' + m_random.digits(3))},
            {"BAIRRO", text(head.district)},
            {"COMPLEMENTO", text(QStringLiteral("Loja 1"))},
        });
    }

    // --- catalogue ---------------------------------------------------------------------------
    int supplierOfKind(int kind)
    {
        QList<int> candidates;
        for (int i = 0; i < int(std::size(kSuppliers)); ++i)
            if (kSuppliers[i].kind == kind)
                candidates << i;
        return m_random.pick(candidates);
    }

    // The smallest usual package that covers `target` thousandths of the unit.
    static qint64 packageFor(qint64 target, const QList<qint64>& sizes)
    {
        for (qint64 s : sizes)
            if (s * 1000 >= target)
                return s * 1000;
        return sizes.last() * 1000;
    }

    bool roomInListGroup(const QString& group, const QString& list)
    {
        if (group == u"REV")
            return true;  // the classic lists leave out this group
        const int g = listGroup(list);
        if (g == 0)
            return true;
        if (m_listGroupCount[g] >= kMaxPerListGroup)
            return false;
        ++m_listGroupCount[g];
        return true;
    }

    void makeCatalogue()
    {
        const int scale = m_options.scale;
        int inputCode = 10001;
        for (int v = 0; v < scale; ++v) {
            for (const InputDef& def : kInputs) {
                if (!roomInListGroup(QStringLiteral("MP"), u8(def.list)))
                    continue;
                Product p;
                p.kind = Kind::Input;
                p.code = QString::number(inputCode++);
                p.name = u8(def.name) + variantSuffix(v);
                p.group = QStringLiteral("MP");
                p.family = u8(def.family);
                p.unit = u8(def.unit);
                p.list = u8(def.list);
                p.dcb = u8(def.dcb);
                p.scientific = u8(def.scientific);
                p.controlled = true;
                p.doseLow = def.doseLow;
                p.doseHigh = def.doseHigh;
                p.countLow = def.countLow;
                p.countHigh = def.countHigh;
                p.topical = def.countHigh == 1;
                p.doseToMilli = p.unit == u"mg" ? 1000 : 1;
                p.correction = def.correction;
                p.supplier = supplierOfKind(0);
                p.catalogueSupplier = u8(kSuppliers[p.supplier].name);
                p.manufacturer = p.catalogueSupplier;
                const QString& l = p.list;
                p.weight = l == u"C1" ? 4 : l == u"B1" ? 3 : (l == u"B2" || l == u"C2" || l == u"A3") ? 2 : 1;
                // Some suppliers sell by the kilogram, from 100 g up; liquids go by the litre.
                const bool byKilogram = p.unit == u"g" && m_random.chance(0.3);
                const bool byLitre = p.unit == u"ml";
                const QList<qint64> sizes = p.unit == u"mg"
                    ? QList<qint64>{100, 250, 500, 1000, 2500, 5000, 10000, 25000}
                    : byKilogram || byLitre ? QList<qint64>{100, 250, 500, 1000}
                                            : QList<qint64>{1, 2, 5, 10, 25, 50, 100, 250, 500, 1000};
                p.pack = packageFor(averageUsage(p) * m_random.between(3, 8), sizes);
                p.purchaseUnit = byKilogram ? QStringLiteral("KG") : byLitre ? QStringLiteral("L") : p.unit;
                p.purchaseDivisor = byKilogram || byLitre ? 1000 : 1;
                p.unitCost = m_random.between(50, 4000) / 100.0;
                m_products << p;
            }
        }
        for (int v = 0; v < scale; ++v) {
            for (const MedicineDef& def : kMedicines) {
                if (!roomInListGroup(u8(def.group), u8(def.list)))
                    continue;
                Product p;
                p.kind = Kind::Medicine;
                p.code = ean13(m_random);
                // The same medicine from further manufacturers: "... (EMS)", "... (EMS 2)".
                constexpr int makers = int(std::size(kManufacturers));
                const int maker = v == 0 ? int(&def - kMedicines) % makers : (v - 1) % makers;
                p.manufacturer = u8(kManufacturers[maker]);
                if (v > 0)
                    p.name = u8(def.name) + QStringLiteral(" (") + p.manufacturer +
                             (v > makers ? QStringLiteral(" %1").arg((v - 1) / makers + 1) : QString()) + u')';
                else
                    p.name = u8(def.name);
                p.group = u8(def.group);
                p.family = u8("Medicamentos controlados");
                p.unit = u8(def.unit);
                p.list = u8(def.list);
                p.regms = QStringLiteral("1") + m_random.digits(12);
                p.controlled = true;
                p.doseLow = p.unit == u"COMP" ? 10 : 1;
                p.doseHigh = p.unit == u"COMP" ? 60 : p.unit == u"AMP" ? 4 : 2;
                p.doseToMilli = 1000;
                p.supplier = supplierOfKind(1);
                p.catalogueSupplier = u8(kSuppliers[p.supplier].name);
                p.pack = qint64(m_random.between(def.packLow, def.packHigh)) * 1000;
                p.purchaseUnit = p.unit.left(3);
                p.weight = p.list == u"C1" || p.list == u"B1" ? 3 : 1;
                p.unitCost = m_random.between(800, 12000) / 100.0;
                m_products << p;
            }
        }
        int chemicalCode = 30001;
        for (int v = 0; v < scale; ++v) {
            for (const ChemicalDef& def : kChemicals) {
                Product p;
                p.kind = Kind::Chemical;
                p.code = QString::number(chemicalCode++);
                p.name = u8(def.name) + (v == 0 ? QString() : QStringLiteral(" - %1").arg(v + 1));
                p.group = QStringLiteral("QUI");
                p.family = u8("Produtos químicos");
                p.unit = u8(def.unit);
                p.dcb = u8(def.dcb);
                p.density = def.density;
                p.doseLow = def.doseLow;
                p.doseHigh = def.doseHigh;
                p.doseToMilli = 1000;
                p.topical = true;
                p.supplier = supplierOfKind(2);
                p.catalogueSupplier = QString::fromLatin1(def.policeCode);
                p.manufacturer = u8(kSuppliers[p.supplier].name);
                // Liquids mostly by the litre, solids by the kilogram.
                const bool byThousand = m_random.chance(0.6);
                p.pack = packageFor(averageUsage(p) * m_random.between(3, 8),
                                    byThousand ? QList<qint64>{1000, 2000, 5000}
                                               : QList<qint64>{250, 500, 1000, 2000, 5000});
                p.purchaseUnit = !byThousand ? p.unit
                                 : p.unit == u"ml" ? QStringLiteral("L") : QStringLiteral("KG");
                p.purchaseDivisor = byThousand ? 1000 : 1;
                p.unitCost = m_random.between(5, 90) / 100.0;
                m_products << p;
            }
        }
        int excipientCode = 20001;
        for (const ExcipientDef& def : kExcipients) {
            Product p;
            p.kind = Kind::Excipient;
            p.code = QString::number(excipientCode++);
            p.name = u8(def.name);
            p.group = QStringLiteral("EXC");
            p.family = u8("Excipientes");
            p.unit = QStringLiteral("g");
            p.dcb = u8(def.dcb);
            p.topical = def.topical;
            p.supplier = supplierOfKind(0);
            p.catalogueSupplier = u8(kSuppliers[p.supplier].name);
            p.unitCost = m_random.between(2, 30) / 100.0;
            m_products << p;
        }
        // Two medicines that are not controlled: never in a book.
        for (const char* name : {"Dipirona sódica 500 mg 10 comprimidos", "Paracetamol 750 mg 20 comprimidos"}) {
            Product p;
            p.kind = Kind::Excipient;  // no stock kept, no movements
            p.code = ean13(m_random);
            p.name = u8(name);
            p.group = QStringLiteral("REV");
            p.family = u8("Analgésicos");
            p.unit = QStringLiteral("CX");
            p.regms = QStringLiteral("1") + m_random.digits(12);
            p.supplier = supplierOfKind(1);
            p.catalogueSupplier = u8(kSuppliers[p.supplier].name);
            p.manufacturer = u8(m_random.pick(kManufacturers));
            p.unitCost = m_random.between(150, 900) / 100.0;
            m_products << p;
        }
    }

    static QString variantSuffix(int v)
    {
        if (v < int(std::size(kInputVariants)))
            return u8(kInputVariants[v]);
        return QStringLiteral(" (%1)").arg(v + 1);
    }

    static qint64 averageUsage(const Product& p)
    {
        return qint64(std::llround((p.doseLow + p.doseHigh) / 2 * (p.countLow + p.countHigh) / 2 *
                                   double(p.doseToMilli)));
    }

    bool stockKept(const Product& p) const { return p.kind != Kind::Excipient; }

    void writeCatalogue(const QList<qint64>& totalStock)
    {
        for (int i = 0; i < m_products.size(); ++i) {
            const Product& p = m_products[i];
            const bool medicine = p.kind == Kind::Medicine || !p.regms.isEmpty();
            const QString storage = p.kind == Kind::Chemical
                ? u8("Manter em armário de produtos químicos, ventilado, longe de calor.")
                : u8("Conservar em temperatura ambiente (15 a 30 °C), protegido da luz e umidade.");
            const double price = p.unitCost * (medicine ? 1.6 : 3.5);
            m_componen << insert("COMPONEN", {
                {"CODIGO", text(p.code)},
                {"COMPONENTE", text(p.name)},
                {"GRUPO", text(p.group)},
                {"FAMILIA", text(p.family)},
                {"UNID", text(p.unit)},
                {"CONTROLADA", text(p.controlled ? QStringLiteral("Sim") : u8("Não"))},
                {"CUSTOUNITR", decimal(p.unitCost, 4)},
                {"MULTIPLICADOR", decimal(1, 2)},
                {"DIVISORUNID", decimal(1, 2)},
                {"PRECOR", decimal(price, 4)},
                {"QDEESTOQUE", stockKept(p) ? milli(totalStock[i]) : QStringLiteral("0")},
                {"ESTOQUECRITICO", stockKept(p) ? milli(p.pack / 2) : QStringLiteral("0")},
                {"ESTOQUEMAXIMO", stockKept(p) ? milli(p.pack * 3) : QStringLiteral("0")},
                {"TRIBUTACAO", text(QStringLiteral("T"))},
                {"ICMS", decimal(18, 2)},
                {"FABRICANTE", text(p.manufacturer)},
                {"FORNECEDOR", text(p.catalogueSupplier)},
                {"FATORCORRECAO", decimal(p.correction, 4)},
                {"DENSIDADE", p.density > 0 ? decimal(p.density, 4) : kNull},
                {"USAEXCIPIENTE", text(p.kind == Kind::Input && !p.topical ? QStringLiteral("S") : QStringLiteral("N"))},
                {"DOSAGEMMIN", p.kind == Kind::Input ? decimal(p.doseLow, 4) : kNull},
                {"DOSAGEMMAX", p.kind == Kind::Input ? decimal(p.doseHigh * 2, 4) : kNull},
                {"DCB", p.dcb.isEmpty() ? kNull : text(p.dcb)},
                {"LISTA", p.list.isEmpty() ? kNull : text(p.list)},
                {"USOCONTINUO", text(p.controlled ? QStringLiteral("S") : QStringLiteral("N"))},
                {"VALIDADEPRODMANIP", p.kind == Kind::Input ? decimal(90, 0) : kNull},
                {"TIPORECEITA", p.list.isEmpty() ? kNull : text(prescriptionType(p.list))},
                {"REGMSMEDICAM", p.regms.isEmpty() ? kNull : text(p.regms)},
                {"CLASSE", text(p.kind == Kind::Chemical ? u8("Produto químico")
                                : p.list.isEmpty() ? u8("Livre") : listClass(p.list))},
                {"CONDARMAZENA", text(storage)},
                {"NOMECIENTIFICO", p.scientific.isEmpty() ? kNull : text(p.scientific)},
                {"UNID_VENDA", text(p.unit)},
            });
        }
    }

    void makeSuppliers()
    {
        for (int i = 0; i < int(std::size(kSuppliers)); ++i) {
            const QString root = QString::number(m_random.between(1, 9)) + m_random.digits(7);
            m_forneced << insert("FORNECED", {{"NOMEFANTASIA", text(u8(kSuppliers[i].name))},
                                              {"CNPJ", text(completeCnpj(root + QStringLiteral("0001")))}});
            // The first supplier has a branch too: two rows of one trade name.
            if (i == kSupplierWithBranch)
                m_forneced << insert("FORNECED", {{"NOMEFANTASIA", text(u8(kSuppliers[i].name))},
                                                  {"CNPJ", text(completeCnpj(root + QStringLiteral("0002")))}});
            m_nextInvoice << m_random.between(10000, 90000);
        }
    }

    QString personName()
    {
        QString name = u8(m_random.pick(kFirstNames)) + u' ' + u8(m_random.pick(kSurnames));
        const QString second = u8(m_random.pick(kSurnames));
        if (!name.endsWith(second))
            name += u' ' + second;
        return name;
    }

    void makePrescribers()
    {
        const int count = 25 * m_options.scale;
        for (int i = 0; i < count; ++i) {
            Prescriber d;
            const double kind = m_random.unit();
            d.council = kind < 0.9 ? QStringLiteral("CRM") : kind < 0.97 ? QStringLiteral("CRO")
                                                                         : QStringLiteral("CRMV");
            d.name = QStringLiteral("Dr") + (m_random.chance(0.5) ? QStringLiteral("a. ") : QStringLiteral(". ")) +
                     u8(m_random.pick(kFirstNames)) + u' ' + u8(m_random.pick(kSurnames));
            d.number = QString::number(m_random.between(1000, 250000));
            d.uf = m_random.chance(0.9) ? u8(m_city->uf) : u8(m_random.pick(kOtherUfs));
            if (i == 0)
                d.number = QString();  // a prescriber recorded without registration (NULL CRM)
            m_prescribers << d;
        }
        for (Store& s : m_stores)
            for (int i = 0; i < 60 * m_options.scale; ++i)
                s.patients << personName();
    }

    // --- movements ---------------------------------------------------------------------------
    qint64& stock(int store, int product) { return m_stock[store * m_products.size() + product]; }
    Lot& lot(int store, int product) { return m_lots[store * m_products.size() + product]; }

    QString newLotCode(int supplier, const QDate& day)
    {
        return QString::fromLatin1(kSuppliers[supplier].lotPrefix) + day.toString(QStringLiteral("yyMM")) +
               m_random.digits(3);
    }

    void simulate()
    {
        const qsizetype cells = m_stores.size() * m_products.size();
        m_stock = QList<qint64>(cells, 0);
        m_lots = QList<Lot>(cells);
        m_pending = QList<QDate>(cells);
        for (int s = 0; s < m_stores.size(); ++s)
            for (int p = 0; p < m_products.size(); ++p) {
                const Product& prod = m_products[p];
                const QDate bought = m_first.addDays(-m_random.between(10, 120));
                lot(s, p) = {newLotCode(prod.supplier, bought), prod.supplier,
                             bought.addMonths(m_random.between(18, 36))};
                if (stockKept(prod))
                    stock(s, p) = prod.pack / 1000 * m_random.between(300, 1500);
                if (prod.kind == Kind::Medicine)  // whole boxes, tablets, ampoules
                    stock(s, p) = stock(s, p) / 1000 * 1000;
            }

        QList<int> sellable;   // formulas
        QList<int> medicines;  // drugstore counter
        for (int p = 0; p < m_products.size(); ++p) {
            const Product& prod = m_products[p];
            for (int w = 0; w < prod.weight; ++w) {
                if (prod.kind == Kind::Input)
                    sellable << p;
                else if (prod.kind == Kind::Medicine)
                    medicines << p;
            }
            if (prod.kind == Kind::Chemical)
                m_chemicals << p;
            else if (prod.kind == Kind::Excipient && prod.regms.isEmpty())
                (prod.topical ? m_topicalBases : m_capsuleBases) << p;
        }

        for (QDate day = m_first; day <= m_end; day = day.addDays(1)) {
            if (day == m_first || day.day() == 1)
                countStock(day);
            for (int s = 0; s < m_stores.size(); ++s)
                for (int p = 0; p < m_products.size(); ++p)
                    if (m_pending[s * m_products.size() + p] == day) {
                        m_pending[s * m_products.size() + p] = QDate();
                        purchase(s, p, day);
                    }
            const int weekday = day.dayOfWeek();
            if (weekday == 7)
                continue;
            const double busy = weekday == 6 ? 0.5 : 1.0;
            for (int s = 0; s < m_stores.size(); ++s) {
                const int formulas = m_random.between(0, int(std::lround(3.0 * busy * m_options.scale)));
                for (int i = 0; i < formulas; ++i)
                    formulaOrder(s, day, sellable);
                const int sales = m_random.between(0, int(std::lround(2.0 * busy * m_options.scale)));
                for (int i = 0; i < sales; ++i)
                    drugstoreOrder(s, day, medicines);
                if (m_random.chance(m_options.scale / 26.0))
                    loss(s, day);
            }
        }

        QList<qint64> total(m_products.size(), 0);
        for (int s = 0; s < m_stores.size(); ++s)
            for (int p = 0; p < m_products.size(); ++p)
                total[p] += stock(s, p);
        writeCatalogue(total);
    }

    void countStock(const QDate& day)
    {
        for (int s = 0; s < m_stores.size(); ++s)
            for (int p = 0; p < m_products.size(); ++p) {
                if (!stockKept(m_products[p]))
                    continue;
                m_balancos << insert("BALANCOS", {{"DATABALANCO", date(day)},
                                                  {"CODIGO", text(m_products[p].code)},
                                                  {"QDE", milli(stock(s, p))},
                                                  {"UNID", text(m_products[p].unit)},
                                                  {"LOJA", text(m_stores[s].cnpj)}});
            }
    }

    // One package of the product received by the store on `day`, on an invoice of the
    // product's supplier: the day's invoice of that supplier to that store when it does not
    // hold the product yet, else a new one.
    void purchase(int s, int p, const QDate& day)
    {
        const Product& prod = m_products[p];
        Invoice* invoice = nullptr;
        for (int index : m_invoicesOfDay.value(day)) {
            Invoice& candidate = m_invoices[index];
            if (candidate.store == s && candidate.supplier == prod.supplier &&
                !candidate.products.contains(p)) {
                invoice = &candidate;
                break;
            }
        }
        if (!invoice) {
            Invoice fresh;
            fresh.store = s;
            fresh.supplier = prod.supplier;
            fresh.received = day;
            fresh.number = QString::number(m_nextInvoice[prod.supplier]++);
            m_invoicesOfDay[day] << int(m_invoices.size());
            m_invoices << fresh;
            invoice = &m_invoices.last();
            m_nfiscal << insert("NFISCAL", {{"NOTAFISCAL", text(fresh.number)},
                                            {"FORNECEDOR", text(u8(kSuppliers[prod.supplier].name))},
                                            {"DATARECEBIM", date(day)},
                                            {"LOJA", text(m_stores[s].cnpj)}});
        }
        invoice->products << p;

        Lot fresh{newLotCode(prod.supplier, day), prod.supplier,
                  day.addMonths(prod.kind == Kind::Medicine ? m_random.between(18, 36)
                                                            : m_random.between(12, 36))};
        const bool chemical = prod.kind == Kind::Chemical;
        const QDate itemDate = day.addDays(-m_random.between(1, 3));
        const qint64 quantity = prod.pack / prod.purchaseDivisor;
        // Now and then an input's package comes as two bottles of one lot, on two identical lines.
        const bool twoLines = prod.kind == Kind::Input && ++m_inputPurchases % 25 == 0 && quantity % 2 == 0;
        for (int line = 0; line < (twoLines ? 2 : 1); ++line) {
            m_compras << insert("COMPRAS", {
                {"ESTACAO", text(m_stores[s].stations.first())},
                {"CODCOMPRA", integer(++m_purchaseItems)},
                {"DATA", date(itemDate)},
                {"NOTAFISCAL", text(invoice->number)},
                {"CODIGO", text(prod.code)},
                {"CODIGOFORNECEDOR", text(QStringLiteral("%1").arg(prod.supplier + 1, 4, 10, QLatin1Char('0')))},
                {"FORNECEDOR", text(u8(kSuppliers[prod.supplier].name))},
                {"LOTE", text(fresh.code)},
                {"VALIDADE", date(fresh.expiry)},
                {"QUANTIDADE", milli(twoLines ? quantity / 2 : quantity)},
                {"UNIDADE", text(prod.purchaseUnit)},
                {"DENSIDADE", chemical ? decimal(prod.density, 2) : kNull},
                {"FATORCORRECAO", chemical ? decimal(1, 2) : kNull},
            });
        }
        stock(s, p) += prod.pack;
        lot(s, p) = fresh;
    }

    // Takes `amount` out of the store's stock, buying first what is missing (received the same
    // day, so the books see the entry before the exit), and orders a package when the stock
    // falls below a third of a package.
    void take(int s, int p, qint64 amount, const QDate& day)
    {
        while (stock(s, p) < amount)
            purchase(s, p, day);
        stock(s, p) -= amount;
        const Product& prod = m_products[p];
        const qint64 reorder = prod.pack / 3;
        QDate& pending = m_pending[s * m_products.size() + p];
        if (stock(s, p) < reorder && !pending.isValid()) {
            const QDate arrival = day.addDays(m_random.between(1, 4));
            if (arrival <= m_end)
                pending = arrival;
        }
    }

    qint64 formulaAmount(const Product& p, int count)
    {
        const double dose = m_random.chance(0.5) ? p.doseLow : p.doseHigh;
        return qint64(std::llround(dose * count * double(p.doseToMilli)));
    }

    QString nextOrder(int s, QString* station)
    {
        *station = m_random.pick(m_stores[s].stations);
        return QString::number(m_nextOrder[*station]++);
    }

    QString notification(int s, const QString& list)
    {
        if (!needsNotification(list))
            return QString();
        Store& store = m_stores[s];
        return store.notificationPrefix + QString::number(store.nextNotification++);
    }

    void writeOrder(int s, const QString& station, const QString& number, const QDate& day,
                    const QString& type)
    {
        const Prescriber& d = m_random.pick(m_prescribers);
        m_pedidos << insert("PEDIDOS", {
            {"ESTACAO", text(station)},
            {"NPEDIDO", number},
            {"DATAPEDIDO", date(day)},
            {"TIPOPEDIDO", text(type)},
            {"PACIENTE", text(m_random.pick(m_stores[s].patients))},
            {"MEDICO", text(d.name)},
            {"CONSELHOPROFISSIONAL", text(d.council)},
            {"CRM", text(d.number)},
            {"UFCONSELHO", text(d.uf)},
        });
    }

    void writeComponent(int s, const QString& station, const QString& number, int formula,
                        int p, qint64 amount)
    {
        const Product& prod = m_products[p];
        const Lot& current = lot(s, p);
        m_compedid << insert("COMPEDID", {
            {"ESTACAO", text(station)},
            {"NPEDIDO", number},
            {"NFORMULA", integer(formula)},
            {"COMPONENTE", text(prod.name.left(40))},
            {"CODIGOCOMP", text(prod.code)},
            {"QDEESTOQUE", milli(amount)},
            {"UNID", text(prod.unit.left(3))},
            {"LOTE", text(current.code)},
            {"FORNECEDOR", text(u8(kSuppliers[current.supplier].name))},
            {"VALIDADELOTE", date(current.expiry)},
            {"DENSIDADE", prod.density > 0 ? decimal(prod.density, 4) : kNull},
        });
    }

    // An order of compounded formulas: mostly sales ("Pedido"), some remakes of a faulty
    // preparation ("Repos", which use stock too) and quotes ("Orçamento", which do not).
    void formulaOrder(int s, const QDate& day, const QList<int>& sellable)
    {
        const double kind = m_random.unit();
        const QString type = kind < 0.92 ? QStringLiteral("Pedido")
                             : kind < 0.95 ? QStringLiteral("Repos") : u8("Orçamento");
        const bool usesStock = type != u8("Orçamento");
        QString station;
        const QString number = nextOrder(s, &station);
        writeOrder(s, station, number, day, type);
        const int formulas = m_random.chance(0.8) ? 1 : 2;
        QList<int> used;
        for (int f = 1; f <= formulas; ++f) {
            const int p = m_random.chance(0.12) ? m_random.pick(m_chemicals) : m_random.pick(sellable);
            if (used.contains(p))
                continue;
            used << p;
            const Product& prod = m_products[p];
            const int units = m_random.chance(0.5) ? prod.countLow : prod.countHigh;
            const qint64 amount = prod.kind == Kind::Chemical
                ? qint64(m_random.between(int(prod.doseLow), int(prod.doseHigh))) * 1000
                : formulaAmount(prod, units);
            m_pediform << insert("PEDIFORM", {
                {"ESTACAO", text(station)},
                {"NPEDIDO", number},
                {"NFORMULA", integer(f)},
                {"NUMERONOTIFICACAO", text(notification(s, prod.list))},
                {"LABORATORIO", text(m_stores[s].laboratory)},
            });
            if (usesStock)
                take(s, p, amount, day);
            writeComponent(s, station, number, f, p, amount);
            const int base = prod.topical ? m_random.pick(m_topicalBases) : m_random.pick(m_capsuleBases);
            const qint64 baseAmount = prod.topical ? qint64(m_random.between(30, 100)) * 1000
                                                   : qint64(units) * m_random.between(150, 300);
            writeComponent(s, station, number, f, base, baseAmount);
        }
    }

    void drugstoreOrder(int s, const QDate& day, const QList<int>& medicines)
    {
        QString station;
        const QString number = nextOrder(s, &station);
        writeOrder(s, station, number, day, QStringLiteral("Pedido"));
        const int items = m_random.chance(0.85) ? 1 : 2;
        QList<int> sold;
        for (int i = 0; i < items; ++i) {
            const int p = m_random.pick(medicines);
            if (sold.contains(p))
                continue;
            sold << p;
            const Product& prod = m_products[p];
            const qint64 amount = qint64(m_random.between(int(prod.doseLow), int(prod.doseHigh))) * 1000;
            take(s, p, amount, day);
            m_itens << insert("ITENS", {
                {"ESTACAO", text(station)},
                {"NPEDIDO", number},
                {"CODPROD", text(prod.code)},
                {"DESCRICAO", text(prod.name)},
                {"QDE", milli(amount)},
                {"NUMLOTEMEDICAM", text(lot(s, p).code)},
                {"NUMERONOTIFICACAO", text(notification(s, prod.list))},
                {"LABORATORIO", text(m_stores[s].laboratory)},
            });
        }
    }

    void loss(int s, const QDate& day)
    {
        QList<int> candidates;
        for (int p = 0; p < m_products.size(); ++p)
            if (stockKept(m_products[p]) && stock(s, p) > 0)
                candidates << p;
        if (candidates.isEmpty())
            return;
        const int p = m_random.pick(candidates);
        const Product& prod = m_products[p];
        qint64 amount = prod.kind == Kind::Medicine
            ? 1000
            : std::max<qint64>(1, stock(s, p) * m_random.between(1, 10) / 100);
        amount = std::min(amount, stock(s, p));
        stock(s, p) -= amount;
        const Lot& current = lot(s, p);
        m_perdas << insert("PERDAS", {
            {"LOJA", text(m_stores[s].cnpj)},
            {"DATA", date(day)},
            {"DCB", prod.dcb.isEmpty() ? kNull : text(prod.dcb)},
            {"COMPONENTE", text(prod.name)},
            {"FORNECEDOR", text(u8(kSuppliers[current.supplier].name))},
            {"LOTE", text(current.code)},
            {"QUANTIDADE", milli(amount)},
            {"UNIDADE", text(prod.unit)},
            {"MOTIVO", text(u8(m_random.pick(kLossReasons)))},
        });
    }

    const DemoOptions m_options;
    Random m_random;
    QDate m_first, m_end;
    const CityDef* m_city = nullptr;
    QList<Store> m_stores;
    QList<Product> m_products;
    QList<Prescriber> m_prescribers;
    QList<int> m_chemicals, m_capsuleBases, m_topicalBases;
    int m_listGroupCount[5] = {0, 0, 0, 0, 0};
    QHash<QString, int> m_nextOrder;
    QList<int> m_nextInvoice;
    QList<qint64> m_stock;
    QList<Lot> m_lots;
    QList<QDate> m_pending;
    QList<Invoice> m_invoices;
    QMap<QDate, QList<int>> m_invoicesOfDay;
    qint64 m_purchaseItems = 0;
    qint64 m_inputPurchases = 0;

    QStringList m_tablab, m_dadosger, m_componen, m_forneced, m_balancos, m_nfiscal, m_compras,
        m_pedidos, m_pediform, m_compedid, m_itens, m_perdas;
};

} // namespace

QDate defaultDemoFirstDay(const QDate& today)
{
    return QDate(today.year() - 1, today.month(), 1);
}

DemoData generateDemoData(const DemoOptions& options)
{
    if (options.scale < 1)
        throw std::invalid_argument("dados de demonstração: a escala é um número inteiro a partir de 1");
    if (!options.firstDay.isValid())
        throw std::invalid_argument("dados de demonstração: o primeiro dia não é uma data válida");
    return Generator(options).run();
}

QByteArray quilmaraIniContent(const QString& serverAddress)
{
    if (serverAddress.size() > 60 || serverAddress.trimmed() != serverAddress ||
        serverAddress.contains(u'\n') || serverAddress.contains(u'\r'))
        throw std::invalid_argument("QUILMARA.INI: o endereço do servidor tem no máximo 60 caracteres, "
                                    "sem brancos antes ou depois e sem quebras de linha");
    const QString line = QStringLiteral("IP DO SERVIDOR CENTRAL.........................: ") +
                         serverAddress + QStringLiteral("\r\n");
    return toCp1252(line);
}

} // namespace livros::cli
