#include "siproquim/map_checker.h"

#include "platform/cp1252.h"
#include "platform/cnpj.h"
#include "siproquim/map_fields.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace livros::siproquim {

namespace {

bool matches(const char* pattern, const QString& text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern))).match(text).hasMatch();
}

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
        if (!matches("[0-9A-Z]{12}[0-9]{2}", text))
            return QStringLiteral("14 caracteres sem máscara: 12 dígitos ou letras maiúsculas e 2 dígitos verificadores");
        return checkCnpj(text) == CnpjCheck::Valid ? QString() : QStringLiteral("dígitos verificadores errados");
    case FieldKind::Month:
        return monthFromAbbreviation(text) ? QString() : QStringLiteral("JAN, FEV, MAR, ABR, MAI, JUN, JUL, AGO, SET, OUT, NOV ou DEZ");
    case FieldKind::Year:
        return matches("\\d{4}", text) && text.toInt() >= 2010 ? QString() : QStringLiteral("ano de quatro dígitos, de 2010 em diante");
    case FieldKind::Flag:
        return text == u"0" || text == u"1" ? QString() : QStringLiteral("1 ou 0");
    case FieldKind::ProductCode:
        return matches("TPN\\d{8}", text) ? QString() : QStringLiteral("\"TPN\" e 8 dígitos");
    case FieldKind::Concentration:
        if (compound && text.trimmed().isEmpty())
            return {};
        return matches("\\d{3}", text) && text.toInt() >= 1 && text.toInt() <= 100
                   ? QString() : QStringLiteral("três dígitos, de 001 a 100");
    case FieldKind::Density: {
        const auto value = readDensity(text);
        return value && *value > 0 ? QString() : QStringLiteral("com máscara, de 00,01 a 99,99");
    }
    case FieldKind::Quantity:
        return readQuantity(text) ? QString() : QStringLiteral("com máscara 999.999.999,999, alinhada à direita");
    case FieldKind::Unit:
        return text == u"K" || text == u"L" ? QString() : QStringLiteral("K (quilos) ou L (litros)");
    case FieldKind::ProductRef:
        return matches("(PR|RC)TPN\\d{8}", text) || matches("(PC|RS)\\d{4}\\.\\d{2}\\.\\d{2} ", text)
                   ? QString() : QStringLiteral("\"PR\" e o código do produto (PRTPN99999999)");
    case FieldKind::Date:
        return matches("\\d\\d/\\d\\d/\\d{4}", text) && QDate::fromString(text, QStringLiteral("dd/MM/yyyy")).isValid()
                   ? QString() : QStringLiteral("data válida dd/mm/aaaa");
    case FieldKind::Choice:
        return QString::fromLatin1(layout.choices).split(u'|').contains(text)
                   ? QString() : QStringLiteral("um de ") + QString::fromLatin1(layout.choices).replace(u'|', QStringLiteral(", "));
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
    const bool compound = matches("(PC|RS).*", line.mid(2, 2));
    for (const FieldSpec& f : layout->fields) {
        const QString text = line.mid(f.column - 1, f.width);
        if (text.isEmpty())
            break;
        record.fields.append(ReadField{QString::fromUtf8(f.name), f.column, text});
        if (text.size() < f.width)
            break; // the short line is already reported
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return !isPlainAscii(c); }))
            continue; // reported at its column
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

MapCheck checkMap(const QByteArray& content)
{
    MapCheck check;
    QByteArray bytes = content;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        add(check.problems, 1, 1, QStringLiteral("o arquivo começa por uma marca de ordem de bytes (BOM)"));
        bytes.remove(0, 3);
    }
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

    struct Declared { QString concentration, density; };
    QHash<QString, Declared> declared;
    QString previous;       // type of the previous record
    int openInvoice = 0;    // line of an MVN still without MM
    bool seenDg = false, seenMovement = false;
    int mapMonth = 0, mapYear = 0;
    auto checkDate = [&](int lineNumber, const ReadRecord& r, const char* name, int column) {
        const QDate date = QDate::fromString(r.field(QString::fromUtf8(name)), QStringLiteral("dd/MM/yyyy"));
        if (date.isValid() && mapMonth && (date.month() != mapMonth || date.year() != mapYear))
            add(check.problems, lineNumber, column, QStringLiteral("%1 fora do mês do mapa").arg(QString::fromUtf8(name)));
    };
    auto checkProduct = [&](int lineNumber, const ReadRecord& r) {
        const QString product = r.field(QStringLiteral("Produto")).trimmed();
        const auto it = declared.constFind(product);
        if (it == declared.constEnd()) {
            add(check.problems, lineNumber, 3, QStringLiteral("produto %1 não declarado no DG antes do uso").arg(product));
            return;
        }
        if (r.field(QStringLiteral("Concentração")) != it->concentration)
            add(check.problems, lineNumber, 16, QStringLiteral("Concentração difere da declarada no DG (%1)").arg(it->concentration));
        if (r.field(QStringLiteral("Densidade")) != it->density)
            add(check.problems, lineNumber, 19, QStringLiteral("Densidade difere da declarada no DG (%1)").arg(it->density));
    };
    auto closeInvoice = [&]() {
        if (openInvoice)
            add(check.problems, openInvoice, 1, QStringLiteral("nota fiscal (MVN) sem produtos (MM)"));
        openInvoice = 0;
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
        if (!recordSpec(type) && isOtherLayoutType(type)) {
            // A record of other activities (production, import, transport): counted, not read.
            ++check.counts[type];
            previous = type;
            continue;
        }
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
        if (type == u"DG") {
            if (seenDg || seenMovement)
                add(check.problems, n, 1, QStringLiteral("o DG vem uma vez, antes das movimentações"));
            seenDg = true;
        } else if (type == u"PR") {
            if (previous != u"DG" && previous != u"PR")
                add(check.problems, n, 1, QStringLiteral("PR fora do bloco DG"));
            const QString key = QStringLiteral("PR") + record.field(QStringLiteral("Código do produto"));
            if (declared.contains(key))
                add(check.problems, n, 3, QStringLiteral("produto declarado duas vezes no DG"));
            else
                declared.insert(key, {record.field(QStringLiteral("Concentração")), record.field(QStringLiteral("Densidade"))});
        } else if (type == u"MVN") {
            seenMovement = true;
            openInvoice = n;
            checkDate(n, record, "Data da NF", 100);
        } else if (type == u"MM") {
            if (previous != u"MVN" && previous != u"MM" && previous != u"MT" && previous != u"MA")
                add(check.problems, n, 1, QStringLiteral("MM fora de uma nota fiscal (MVN)"));
            openInvoice = 0;
            checkProduct(n, record);
        } else if (type == u"UC") {
            seenMovement = true;
            checkProduct(n, record);
            checkDate(n, record, "Data do consumo", 103);
        }
        previous = type;
    }
    closeInvoice();
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
        for (auto it = check.counts.cbegin(); it != check.counts.cend(); ++it) {
            if (!recordSpec(it.key()))
                counts << QStringLiteral("%1 %2 (não verificados)").arg(it.key()).arg(it.value());
        }
        return QStringLiteral("ok: ") + counts.join(QStringLiteral(", ")) + u'\n';
    }
    for (const MapProblem& p : check.problems)
        out << QStringLiteral("linha %1, coluna %2: %3").arg(p.line).arg(p.column).arg(p.text);
    return out.join(u'\n') + u'\n';
}

} // namespace livros::siproquim
