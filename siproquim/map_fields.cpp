#include "siproquim/map_fields.h"

#include <QRegularExpression>

#include <cmath>

namespace livros::siproquim {

namespace {

const RecordSpec kEm{"EM",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"CNPJ", 3, 14, FieldKind::Cnpj},
                      {"Mês", 17, 3, FieldKind::Month},
                      {"Ano", 20, 4, FieldKind::Year},
                      {"Comercialização nacional", 24, 1, FieldKind::Flag},
                      {"Comercialização internacional", 25, 1, FieldKind::Flag},
                      {"Produção", 26, 1, FieldKind::Flag},
                      {"Transformação", 27, 1, FieldKind::Flag},
                      {"Consumo", 28, 1, FieldKind::Flag},
                      {"Fabricação", 29, 1, FieldKind::Flag},
                      {"Transporte", 30, 1, FieldKind::Flag},
                      {"Armazenamento", 31, 1, FieldKind::Flag}}};

const RecordSpec kDg{"DG", {{"Tipo", 1, 2, FieldKind::RecordType}}};

const RecordSpec kPr{"PR",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Código do produto", 3, 11, FieldKind::ProductCode},
                      {"Nome comercial", 14, 70, FieldKind::Text},
                      {"Concentração", 84, 3, FieldKind::Concentration},
                      {"Densidade", 87, 5, FieldKind::Density}}};

// A residue declared like a product.
const RecordSpec kRc{"RC",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Código do produto", 3, 11, FieldKind::ProductCode},
                      {"Nome comercial", 14, 70, FieldKind::Text},
                      {"Concentração", 84, 3, FieldKind::Concentration},
                      {"Densidade", 87, 5, FieldKind::Density}}};

// A compound product (PC) or compound residue (RS), followed by the substances it holds (SC, RB).
const RecordSpec kPc{"PC",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"NCM do produto", 3, 10, FieldKind::Ncm},
                      {"Nome comercial", 13, 70, FieldKind::NameText},
                      {"Densidade", 83, 5, FieldKind::Density}}};
const RecordSpec kRs{"RS",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"NCM do produto", 3, 10, FieldKind::Ncm},
                      {"Nome comercial", 13, 70, FieldKind::NameText},
                      {"Densidade", 83, 5, FieldKind::Density}}};
const RecordSpec kSc{"SC",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Código do produto", 3, 11, FieldKind::ProductCode},
                      {"Concentração", 14, 2, FieldKind::Percent99}}};
const RecordSpec kRb{"RB",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Código do produto", 3, 11, FieldKind::ProductCode},
                      {"Concentração", 14, 2, FieldKind::Percent99}}};

// The carrier (MT) and the storage place (MA) of an invoice's products.
const RecordSpec kMt{"MT",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"CNPJ da transportadora", 3, 14, FieldKind::Cnpj},
                      {"Razão social da transportadora", 17, 70, FieldKind::NameText}}};
const RecordSpec kMa{"MA",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"CNPJ da armazenadora", 3, 14, FieldKind::Cnpj},
                      {"Razão social da armazenadora", 17, 70, FieldKind::NameText},
                      {"Endereço", 87, 70, FieldKind::NameText},
                      {"CEP", 157, 10, FieldKind::Cep},
                      {"Número", 167, 5, FieldKind::OptionalText},
                      {"Complemento", 172, 20, FieldKind::OptionalText},
                      {"Bairro", 192, 30, FieldKind::NameText},
                      {"UF", 222, 2, FieldKind::State},
                      {"Município", 224, 7, FieldKind::CityCode}}};

const RecordSpec kMvn{"MVN",
                      {{"Tipo", 1, 3, FieldKind::RecordType},
                       {"Entrada-saída", 4, 1, FieldKind::Choice, "E|S"},
                       {"Operação", 5, 2, FieldKind::Choice, "EC|ET|ED|EA|EP|EI|ER|SV|ST|SA|SI|SD|SR|SP|SO"},
                       {"CNPJ", 7, 14, FieldKind::Cnpj},
                       {"Razão social", 21, 69, FieldKind::Text},
                       {"Número da NF", 90, 10, FieldKind::Text},
                       {"Data da NF", 100, 10, FieldKind::Date},
                       {"Armazenagem", 110, 1, FieldKind::Choice, "S|N|F|T"},
                       {"Transporte", 111, 1, FieldKind::Choice, "A|F|T"}}};

const RecordSpec kMm{"MM",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Produto", 3, 13, FieldKind::ProductRef},
                      {"Concentração", 16, 3, FieldKind::Concentration},
                      {"Densidade", 19, 5, FieldKind::Density},
                      {"Quantidade", 24, 15, FieldKind::Quantity},
                      {"Unidade", 39, 1, FieldKind::Unit}}};

const RecordSpec kUc{"UC",
                     {{"Tipo", 1, 2, FieldKind::RecordType},
                      {"Produto", 3, 13, FieldKind::ProductRef},
                      {"Concentração", 16, 3, FieldKind::Concentration},
                      {"Densidade", 19, 5, FieldKind::Density},
                      {"Quantidade", 24, 15, FieldKind::Quantity},
                      {"Unidade", 39, 1, FieldKind::Unit},
                      {"Código do consumo", 40, 1, FieldKind::Choice, "1|2|3|4|5"},
                      {"Observação", 41, 62, FieldKind::OptionalText},
                      {"Data do consumo", 103, 10, FieldKind::Date}}};

const RecordSpec* const kSpecs[] = {&kEm, &kDg, &kPr, &kRc, &kPc, &kSc, &kRs, &kRb, &kMvn, &kMm, &kMt, &kMa, &kUc};

const char* const kMonths[] = {"JAN", "FEV", "MAR", "ABR", "MAI", "JUN",
                               "JUL", "AGO", "SET", "OUT", "NOV", "DEZ"};

const QStringList kThreeLetterTypes = {"MVN", "MVI", "TRA", "TRI", "AMZ", "TER", "ADQ"};
const QStringList kOtherTypes = {"MVI", "TRA", "TRI", "AMZ",
                                 "TER", "ADQ", "NF", "UP", "UF", "UT", "UZ", "FB", "TN", "CC", "LR",
                                 "LE", "TM", "TI", "PI", "TZ", "AR", "PA"};

} // namespace

const FieldSpec* RecordSpec::field(const char* name) const
{
    for (const FieldSpec& f : fields) {
        if (qstrcmp(f.name, name) == 0)
            return &f;
    }
    return nullptr;
}

const RecordSpec* recordSpec(const QString& type)
{
    for (const RecordSpec* layout : kSpecs) {
        if (type == QLatin1String(layout->type))
            return layout;
    }
    return nullptr;
}

bool isOtherLayoutType(const QString& type)
{
    return kOtherTypes.contains(type);
}

QString recordTypeOf(const QString& line)
{
    if (kThreeLetterTypes.contains(line.left(3)))
        return line.left(3);
    return line.left(2);
}

QString monthAbbreviation(int month)
{
    return month >= 1 && month <= 12 ? QString::fromLatin1(kMonths[month - 1]) : QString();
}

int monthFromAbbreviation(const QString& text)
{
    for (int i = 0; i < 12; ++i) {
        if (text == QLatin1String(kMonths[i]))
            return i + 1;
    }
    return 0;
}

std::optional<QString> quantityText(double value)
{
    const double thousandths = std::round(value * 1000.0);
    if (!(thousandths >= 0) || thousandths > 999999999999.0)
        return std::nullopt;
    const qint64 units = qint64(thousandths);
    QString whole = QString::number(units / 1000);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, u'.');
    const QString text = whole + u',' + QString::number(units % 1000).rightJustified(3, u'0');
    return text.rightJustified(15, u' ');
}

std::optional<QString> densityText(double value)
{
    const double hundredths = std::round(value * 100.0);
    if (!(hundredths >= 1) || hundredths > 9999)
        return std::nullopt;
    const int h = int(hundredths);
    return QString::number(h / 100).rightJustified(2, u'0') + u',' + QString::number(h % 100).rightJustified(2, u'0');
}

std::optional<QString> concentrationText(int percent)
{
    if (percent < 1 || percent > 100)
        return std::nullopt;
    return QString::number(percent).rightJustified(3, u'0');
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString mapText(const QString& text, QStringList* unconvertible)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue; // the accent of a decomposed letter
        if (c.isSpace()) {
            if (!out.isEmpty() && !out.endsWith(u' '))
                out += u' ';
            continue;
        }
        if (c.unicode() >= 0x21 && c.unicode() <= 0x7E) {
            out += c.toUpper();
            continue;
        }
        // Letters whose plain form is not a decomposition.
        static const QHash<char16_t, const char*> kPlain = {
            {u'ß', "SS"}, {u'Æ', "AE"}, {u'æ', "AE"}, {u'Ø', "O"}, {u'ø', "O"}, {u'Œ', "OE"}, {u'œ', "OE"},
            {u'–', "-"}, {u'—', "-"}, {u'‘', "'"}, {u'’', "'"}, {u'“', "\""}, {u'”', "\""}, {u'°', "O"}};
        const auto plain = kPlain.constFind(c.unicode());
        if (plain != kPlain.constEnd()) {
            out += QLatin1String(plain.value());
        } else if (unconvertible && !unconvertible->contains(QString(c))) {
            *unconvertible << QString(c);
        }
    }
    if (out.endsWith(u' '))
        out.chop(1);
    return out;
}

std::optional<double> readQuantity(const QString& field)
{
    static const QRegularExpression pattern(QStringLiteral("^ *(\\d{1,3}(?:\\.\\d{3})*),(\\d{3})$"));
    const QRegularExpressionMatch m = pattern.match(field);
    if (!m.hasMatch())
        return std::nullopt;
    QString whole = m.captured(1);
    whole.remove(u'.');
    return whole.toDouble() + m.captured(2).toDouble() / 1000.0;
}

std::optional<double> readDensity(const QString& field)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d\\d),(\\d\\d)$"));
    const QRegularExpressionMatch m = pattern.match(field);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toDouble() + m.captured(2).toDouble() / 100.0;
}

} // namespace livros::siproquim
