#include "siproquim/map_checker.h"

#include "platform/cp1252.h"
#include "siproquim/map_checker_sections.h"
#include "siproquim/map_fields.h"
#include "siproquim/map_value_checks.h"

#include <QDate>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace livros::siproquim {

namespace {

bool isPlainAscii(QChar c)
{
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E;
}

// What is wrong with a coded field's value, or an empty text.
QString formatProblem(const FieldSpec& layout, const QString& text, bool compound)
{
    switch (layout.kind) {
    case FieldKind::RecordType:
    case FieldKind::Text:
    case FieldKind::OptionalText:
        return {};
    case FieldKind::Cnpj:
        return cnpjProblem(text);
    case FieldKind::Month:
        return monthFromAbbreviation(text) ? QString() : QStringLiteral("JAN, FEV, MAR, ABR, MAI, JUN, JUL, AGO, SET, OUT, NOV ou DEZ");
    case FieldKind::Year:
        return matchesWhole("\\d{4}", text) && text.toInt() >= 2010 ? QString() : QStringLiteral("ano de quatro dígitos, de 2010 em diante");
    case FieldKind::Flag:
        return text == u"0" || text == u"1" ? QString() : QStringLiteral("1 ou 0");
    case FieldKind::ProductCode:
        return matchesWhole("TPN\\d{8}", text) ? QString() : QStringLiteral("\"TPN\" e 8 dígitos");
    case FieldKind::Concentration:
        return compound && text.trimmed().isEmpty() ? QString() : concentrationProblem(text);
    case FieldKind::Density:
        return densityProblem(text);
    case FieldKind::Quantity:
        return quantityProblem(text);
    case FieldKind::Unit:
        return unitProblem(text);
    case FieldKind::ProductRef:
        return productRefProblem(text);
    case FieldKind::Date:
        return dateProblem(text);
    case FieldKind::Ncm:
        return matchesWhole("\\d{4}\\.\\d{2}\\.\\d{2}", text) ? QString() : QStringLiteral("NCM com máscara (2915.90.90)");
    case FieldKind::Percent99:
        return matchesWhole("\\d{2}", text) && text.toInt() >= 1 ? QString() : QStringLiteral("dois dígitos, de 01 a 99");
    case FieldKind::Cep:
        return cepProblem(text);
    case FieldKind::State:
        return stateProblem(text);
    case FieldKind::CityCode:
        return cityCodeProblem(text);
    case FieldKind::NameText:
        return {};
    case FieldKind::Choice:
        return choiceProblem(text, layout.choices);
    }
    return {};
}

void add(QList<MapProblem>& problems, int line, int column, const QString& text)
{
    problems.append(MapProblem{line, column, text});
}

// The rules between fields of one record.
void checkCombinations(const ReadRecord& record, int lineNumber, QList<MapProblem>& problems)
{
    if (record.type != u"MVN")
        return;
    const QString direction = record.field(QStringLiteral("Entrada-saída"));
    const QString operation = record.field(QStringLiteral("Operação"));
    const QString storage = record.field(QStringLiteral("Armazenagem"));
    if ((direction == u"E" || direction == u"S") && operation.size() == 2 && !operation.startsWith(direction))
        add(problems, lineNumber, 5, QStringLiteral("Operação: %1 não é operação de %2").arg(operation, direction == u"E" ? QStringLiteral("entrada") : QStringLiteral("saída")));
    if (direction == u"E" && (storage == u"F" || storage == u"T"))
        add(problems, lineNumber, 110, QStringLiteral("Armazenagem: numa entrada, S ou N"));
    if (direction == u"S" && (storage == u"S" || storage == u"N"))
        add(problems, lineNumber, 110, QStringLiteral("Armazenagem: numa saída, F ou T"));
}

} // namespace

QString ReadRecord::field(const QString& name) const
{
    for (const ReadField& f : fields) {
        if (f.name == name)
            return f.text;
    }
    return {};
}

int ReadRecord::column(const QString& name) const
{
    for (const ReadField& f : fields) {
        if (f.name == name)
            return f.column;
    }
    return 1;
}

ReadRecord readRecord(const QString& line, int lineNumber)
{
    ReadRecord record;
    record.type = recordTypeOf(line);
    const RecordSpec* layout = recordSpec(record.type);
    if (!layout) {
        add(record.problems, lineNumber, 1, QStringLiteral("tipo de registro desconhecido \"%1\"").arg(record.type));
        return record;
    }
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!isPlainAscii(line.at(i)))
            add(record.problems, lineNumber, int(i) + 1,
                QStringLiteral("caractere fora do ASCII simples (%1): use maiúsculas sem acento").arg(line.at(i).unicode() < 0x20 ? QStringLiteral("controle") : QString(line.at(i))));
    }
    if (line.size() != layout->length()) {
        const int column = int(std::min<qsizetype>(line.size(), layout->length())) + 1;
        add(record.problems, lineNumber, column,
            QStringLiteral("o registro %1 tem %2 colunas, a linha tem %3").arg(record.type).arg(layout->length()).arg(line.size()));
    }
    const bool compound = matchesWhole("(PC|RS).*", line.mid(2, 2));
    for (const FieldSpec& f : layout->fields) {
        const QString text = line.mid(f.column - 1, f.width);
        if (text.isEmpty())
            break;
        record.fields.append(ReadField{QString::fromUtf8(f.name), f.column, text});
        if (text.size() < f.width)
            break; // the short line is already reported
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return !isPlainAscii(c); }))
            continue; // reported at its column
        if (f.kind == FieldKind::NameText) {
            // The layout writes these names with a capital first letter and the rest as written.
            if (text.trimmed().isEmpty())
                add(record.problems, lineNumber, f.column, QStringLiteral("%1: campo em branco").arg(QString::fromUtf8(f.name)));
            else if (text.startsWith(u' '))
                add(record.problems, lineNumber, f.column, QStringLiteral("%1: texto alinhado à esquerda, sem brancos antes").arg(QString::fromUtf8(f.name)));
            continue;
        }
        if (f.kind == FieldKind::Text || f.kind == FieldKind::OptionalText) {
            for (int i = 0; i < text.size(); ++i) {
                if (text.at(i).isLower())
                    add(record.problems, lineNumber, f.column + i,
                        QStringLiteral("%1: letra minúscula \"%2\"; os textos vão em maiúsculas").arg(QString::fromUtf8(f.name), text.at(i)));
            }
            if (f.kind == FieldKind::Text && text.trimmed().isEmpty())
                add(record.problems, lineNumber, f.column, QStringLiteral("%1: campo em branco").arg(QString::fromUtf8(f.name)));
            else if (text.startsWith(u' ') && !text.trimmed().isEmpty())
                add(record.problems, lineNumber, f.column, QStringLiteral("%1: texto alinhado à esquerda, sem brancos antes").arg(QString::fromUtf8(f.name)));
            continue;
        }
        const QString problem = formatProblem(f, text, compound);
        if (!problem.isEmpty())
            add(record.problems, lineNumber, f.column, QStringLiteral("%1 \"%2\": %3").arg(QString::fromUtf8(f.name), text, problem));
    }
    checkCombinations(record, lineNumber, record.problems);
    return record;
}

namespace {

// The choices of an international movement's fields that depend on its operation.
void checkInternationalOperation(const ReadRecord& record, int lineNumber, QList<MapProblem>& problems)
{
    struct Allowed { const char* operation; const char* name; const char* storage; const char* transport; const char* delivery; };
    static const Allowed kAllowed[] = {{"E", "numa exportação", "E|T", "E|T|A", ""},
                                       {"I", "numa importação", "", "I|T|F", "I|T"},
                                       {"C", "numa importação por conta e ordem", "I|A|T", "I|Q|T|F", "I|T"}};
    for (const Allowed& allowed : kAllowed) {
        if (record.field(QStringLiteral("Operação")) != QLatin1String(allowed.operation))
            continue;
        const struct { const char* field; int column; const char* choices; } rules[] = {
            {"Responsável pela armazenagem", 156, allowed.storage},
            {"Responsável pelo transporte", 157, allowed.transport},
            {"Local de entrega", 158, allowed.delivery}};
        for (const auto& rule : rules) {
            const QString value = record.field(QString::fromUtf8(rule.field)).trimmed();
            const QStringList choices = QString::fromLatin1(rule.choices).split(u'|', Qt::SkipEmptyParts);
            if (choices.isEmpty() ? value.isEmpty() : choices.contains(value))
                continue;
            add(problems, lineNumber, rule.column,
                QStringLiteral("%1: %2, %3").arg(QString::fromUtf8(rule.field), QString::fromUtf8(allowed.name),
                                                 choices.isEmpty() ? QStringLiteral("em branco") : choices.join(QStringLiteral(" ou "))));
        }
    }
}

ReadRecord readSectionRecord(const SectionLayout& layout, const QString& line, int lineNumber)
{
    ReadRecord record;
    record.type = QString::fromLatin1(layout.type);
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!isPlainAscii(line.at(i)))
            add(record.problems, lineNumber, int(i) + 1,
                QStringLiteral("caractere fora do ASCII simples (%1): use letras sem acento")
                    .arg(line.at(i).unicode() < 0x20 ? QStringLiteral("controle") : QString(line.at(i))));
    }
    const int shortest = layout.variableEnd ? layout.fields.last().column + 1 : layout.length();
    if (line.size() < shortest || line.size() > layout.length()) {
        const QString expected = shortest == layout.length() ? QString::number(shortest)
                                                             : QStringLiteral("de %1 a %2").arg(shortest).arg(layout.length());
        add(record.problems, lineNumber, int(std::min<qsizetype>(line.size(), layout.length())) + 1,
            QStringLiteral("o registro %1 tem %2 colunas, a linha tem %3")
                .arg(record.type.isEmpty() ? QStringLiteral("de produto da NF") : record.type, expected)
                .arg(line.size()));
    }
    for (const SectionField& f : layout.fields) {
        const QString text = line.mid(f.column - 1, f.width);
        if (text.isEmpty())
            break;
        record.fields.append(ReadField{QString::fromUtf8(f.name), f.column, text});
        if (text.size() < f.width && !layout.variableEnd)
            break; // the short line is already reported
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return !isPlainAscii(c); }))
            continue; // reported at its column
        const QString problem = sectionFieldProblem(f, text);
        if (!problem.isEmpty())
            add(record.problems, lineNumber, f.column, QStringLiteral("%1 \"%2\": %3").arg(QString::fromUtf8(f.name), text, problem));
    }
    if (record.type == u"MVI")
        checkInternationalOperation(record, lineNumber, record.problems);
    return record;
}

} // namespace

namespace {

// How the checker names the product lines of an international movement's invoice.
const QString kInvoiceProduct = QStringLiteral("produtos de NF");

bool isDeclaration(const QString& type)
{
    static const QStringList kTypes = {QStringLiteral("PR"), QStringLiteral("RC"), QStringLiteral("PC"), QStringLiteral("SC"),
                                       QStringLiteral("RS"), QStringLiteral("RB")};
    return kTypes.contains(type);
}

// A product line of an international movement's invoice (NF): it starts with the product's
// reference as DG declares it.
bool isProductLine(const QString& type)
{
    return type == u"PR" || type == u"RC" || type == u"PC" || type == u"RS";
}

// Lines end in CR LF, as the import layout asks. The first line that does not is reported, with
// how many such lines there are.
void checkLineEnds(const QByteArray& bytes, QList<MapProblem>& problems)
{
    int line = 1, bare = 0, first = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != '\n')
            continue;
        if (i == 0 || bytes.at(i - 1) != '\r') {
            ++bare;
            if (!first)
                first = line;
        }
        ++line;
    }
    if (bare)
        add(problems, first, 1,
            QStringLiteral("a linha termina só com LF (%1 %2 assim): cada linha do mapa termina com CR LF")
                .arg(bare)
                .arg(bare == 1 ? QStringLiteral("linha") : QStringLiteral("linhas")));
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        add(problems, line, 1, QStringLiteral("a última linha não termina com CR LF"));
}

} // namespace

MapCheck checkMap(const QByteArray& content)
{
    MapCheck check;
    QByteArray bytes = content;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        add(check.problems, 1, 1, QStringLiteral("o arquivo começa por uma marca de ordem de bytes (BOM)"));
        bytes.remove(0, 3);
    }
    checkLineEnds(bytes, check.problems);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = fromCp1252(bytes); // single-byte text: its accents are reported at their columns
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty()) {
        add(check.problems, 1, 1, QStringLiteral("arquivo vazio: o mapa tem ao menos o registro EM"));
        return check;
    }

    struct Declared { QString concentration, density; bool compound = false; };
    QHash<QString, Declared> declared;
    QString previous;       // type of the previous record
    int openInvoice = 0;    // line of an MVN still without MM
    int openCompound = 0;   // line of a PC or RS still without its substances
    QString otherSection;   // the head of the other activity's section the lines are in, if any
    int openForeignInvoice = 0; // line of an NF still without products
    bool seenDg = false, seenMovement = false;
    int mapMonth = 0, mapYear = 0;
    auto checkDate = [&](int lineNumber, const ReadRecord& r, const char* name, int column) {
        const QDate date = QDate::fromString(r.field(QString::fromUtf8(name)), QStringLiteral("dd/MM/yyyy"));
        if (date.isValid() && mapMonth && (date.month() != mapMonth || date.year() != mapYear))
            add(check.problems, lineNumber, column, QStringLiteral("%1 fora do mês do mapa").arg(QString::fromUtf8(name)));
    };
    auto checkProduct = [&](int lineNumber, const ReadRecord& r) {
        const int productColumn = r.column(QStringLiteral("Produto"));
        const QString product = r.field(QStringLiteral("Produto")).trimmed();
        const auto it = declared.constFind(product);
        if (it == declared.constEnd()) {
            add(check.problems, lineNumber, productColumn, QStringLiteral("produto %1 não declarado no DG antes do uso").arg(product));
            return;
        }
        const QString concentration = r.field(QStringLiteral("Concentração"));
        const int concentrationColumn = productColumn + 13;
        if (it->compound && !concentration.trimmed().isEmpty())
            add(check.problems, lineNumber, concentrationColumn, QStringLiteral("Concentração de produto composto fica em branco"));
        else if (!it->compound && concentration != it->concentration)
            add(check.problems, lineNumber, concentrationColumn, QStringLiteral("Concentração difere da declarada no DG (%1)").arg(it->concentration));
        if (r.field(QStringLiteral("Densidade")) != it->density)
            add(check.problems, lineNumber, productColumn + 16, QStringLiteral("Densidade difere da declarada no DG (%1)").arg(it->density));
    };
    auto closeInvoice = [&]() {
        if (openInvoice)
            add(check.problems, openInvoice, 1, QStringLiteral("nota fiscal (MVN) sem produtos (MM)"));
        openInvoice = 0;
    };
    auto closeCompound = [&]() {
        if (openCompound)
            add(check.problems, openCompound, 1, QStringLiteral("produto composto sem as substâncias que o compõem (SC ou RB)"));
        openCompound = 0;
    };
    auto declare = [&](int lineNumber, const QString& key, const Declared& d) {
        if (declared.contains(key))
            add(check.problems, lineNumber, 3, QStringLiteral("produto declarado duas vezes no DG"));
        else
            declared.insert(key, d);
    };

    for (int i = 0; i < lines.size(); ++i) {
        const int n = i + 1;
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty()) {
            add(check.problems, n, 1, QStringLiteral("linha vazia"));
            continue;
        }
        const QString type = recordTypeOf(line);
        const bool inDg = seenDg && !seenMovement;
        const bool invoiceProduct = (previous == u"NF" || previous == kInvoiceProduct) && isProductLine(type);
        if (const SectionLayout* section = invoiceProduct ? &invoiceProductLayout() : sectionLayout(type)) {
            // A record of the other activities (international trade, production, transport,
            // storage), read as the layout defines it.
            const ReadRecord record = readSectionRecord(*section, line, n);
            check.problems += record.problems;
            const QString kind = invoiceProduct ? kInvoiceProduct : type;
            ++check.counts[kind];
            closeInvoice();
            closeCompound();
            if (openForeignInvoice && kind != u"NF" && kind != kInvoiceProduct)
                add(check.problems, openForeignInvoice, 1, QStringLiteral("nota fiscal (NF) sem produtos"));
            openForeignInvoice = kind == u"NF" ? n : 0; // NF after NF: an entry and its exit, then the products
            if (!seenDg)
                add(check.problems, n, 1, QStringLiteral("%1 antes do DG").arg(type));
            seenMovement = true;
            if (!section->sectionOf) {
                otherSection = type;
            } else if (!QString::fromLatin1(section->sectionOf).split(u'|').contains(otherSection)) {
                add(check.problems, n, 1, QStringLiteral("%1 fora de uma seção %2")
                                              .arg(invoiceProduct ? QStringLiteral("produto da NF") : type,
                                                   QString::fromLatin1(section->sectionOf).replace(u'|', QStringLiteral(" ou "))));
            }
            for (const SectionField& f : section->fields) {
                if (f.check == SectionCheck::Product && record.field(QString::fromUtf8(f.name)).size() == f.width)
                    checkProduct(n, record);
            }
            if (section->dateInMonth)
                checkDate(n, record, section->dateInMonth, record.column(QString::fromUtf8(section->dateInMonth)));
            previous = kind;
            continue;
        }
        if (openForeignInvoice)
            add(check.problems, openForeignInvoice, 1, QStringLiteral("nota fiscal (NF) sem produtos"));
        openForeignInvoice = 0;
        otherSection.clear();
        const ReadRecord record = readRecord(line, n);
        check.problems += record.problems;
        if (!recordSpec(type))
            continue;
        ++check.counts[type];

        if ((n == 1) != (type == u"EM"))
            add(check.problems, n, 1, n == 1 ? QStringLiteral("o mapa começa pelo registro EM") : QStringLiteral("registro EM repetido: só a primeira linha"));
        if (type == u"EM") {
            mapMonth = monthFromAbbreviation(record.field(QStringLiteral("Mês")));
            mapYear = record.field(QStringLiteral("Ano")).toInt();
        }
        if (type != u"MM" && type != u"MT" && type != u"MA")
            closeInvoice();
        if (type != u"SC" && type != u"RB")
            closeCompound();
        if (isDeclaration(type) && !inDg)
            add(check.problems, n, 1, QStringLiteral("%1 fora do bloco DG").arg(type));
        if (type == u"DG") {
            if (seenDg || seenMovement)
                add(check.problems, n, 1, QStringLiteral("o DG vem uma vez, antes das movimentações"));
            seenDg = true;
        } else if (type == u"PR" || type == u"RC") {
            declare(n, type + record.field(QStringLiteral("Código do produto")),
                    {record.field(QStringLiteral("Concentração")), record.field(QStringLiteral("Densidade")), false});
        } else if (type == u"PC" || type == u"RS") {
            declare(n, type + record.field(QStringLiteral("NCM do produto")), {QString(), record.field(QStringLiteral("Densidade")), true});
            openCompound = n;
        } else if (type == u"SC" || type == u"RB") {
            const QString owner = type == u"SC" ? QStringLiteral("PC") : QStringLiteral("RS");
            if (previous != owner && previous != type)
                add(check.problems, n, 1, QStringLiteral("%1 logo abaixo do seu %2 (ou de outro %1)").arg(type, owner));
            openCompound = 0;
        } else if (type == u"MVN") {
            seenMovement = true;
            openInvoice = n;
            checkDate(n, record, "Data da NF", 100);
        } else if (type == u"MM" || type == u"MT" || type == u"MA") {
            if (previous != u"MVN" && previous != u"MM" && previous != u"MT" && previous != u"MA")
                add(check.problems, n, 1, QStringLiteral("%1 fora de uma nota fiscal (MVN)").arg(type));
            if (type == u"MM") {
                openInvoice = 0;
                checkProduct(n, record);
            }
        } else if (type == u"UC") {
            seenMovement = true;
            checkProduct(n, record);
            checkDate(n, record, "Data do consumo", 103);
        }
        previous = type;
    }
    closeInvoice();
    closeCompound();
    if (openForeignInvoice)
        add(check.problems, openForeignInvoice, 1, QStringLiteral("nota fiscal (NF) sem produtos"));
    std::stable_sort(check.problems.begin(), check.problems.end(), [](const MapProblem& a, const MapProblem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return check;
}

QString checkReport(const MapCheck& check)
{
    QStringList out;
    if (check.ok()) {
        QStringList counts;
        for (const char* type : {"EM", "DG", "PR", "MVN", "MM", "UC"})
            counts << QStringLiteral("%1 %2").arg(QLatin1String(type)).arg(check.counts.value(QLatin1String(type)));
        // The other records the layout defines, when the map has them.
        for (const char* type : {"PC", "SC", "RC", "RS", "RB", "MT", "MA"}) {
            if (check.counts.contains(QLatin1String(type)))
                counts << QStringLiteral("%1 %2").arg(QLatin1String(type)).arg(check.counts.value(QLatin1String(type)));
        }
        // The other activities' records, read as well.
        for (auto it = check.counts.cbegin(); it != check.counts.cend(); ++it) {
            if (!recordSpec(it.key()))
                counts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        }
        return QStringLiteral("ok: ") + counts.join(QStringLiteral(", ")) + u'\n';
    }
    for (const MapProblem& p : check.problems)
        out << QStringLiteral("linha %1, coluna %2: %3").arg(p.line).arg(p.column).arg(p.text);
    return out.join(u'\n') + u'\n';
}

} // namespace livros::siproquim
