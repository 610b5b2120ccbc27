#include "report/project_loader.h"
#include "platform/bounded_file.h"

#include "report/page_fit_check.h"
#include "report/report_error.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QSizeF>
#include <cmath>
#include <limits>

namespace livros::report {

QString projectFileName(const QString& value)
{
    const qsizetype slash = std::max(value.lastIndexOf(QLatin1Char('/')), value.lastIndexOf(QLatin1Char('\\')));
    if (value.mid(slash + 1).contains(QLatin1Char('.')))
        return value;
    return value + QStringLiteral(".rav");
}

QString missingProjectMessage(const QString& path)
{
    return QStringLiteral("O projeto de relatório a seguir não existe:\n\"%1\"").arg(path);
}

QString projectErrorMessage(const QString& path, const QString& place, const QString& problem)
{
    return QStringLiteral("Projeto de relatório inválido \"%1\" (%2): %3").arg(path, place, problem);
}

const ReportDefinition* ReportProject::find(const QString& name) const
{
    for (const ReportDefinition& r : reports) {
        if (r.name.compare(name, Qt::CaseInsensitive) == 0)
            return &r;
    }
    return nullptr;
}

FontSpec FontOverride::applyTo(FontSpec base) const
{
    if (family)
        base.family = *family;
    if (size)
        base.size = *size;
    if (bold)
        base.bold = *bold;
    if (italic)
        base.italic = *italic;
    if (underline)
        base.underline = *underline;
    return base;
}

namespace {

// Limits of the values of a project file, far beyond any sensible layout.
constexpr double kLargestLength = 500;   // centimetres: a position, a size, a margin
constexpr double kLargestPageSide = 300; // centimetres
constexpr double kLargestFontSize = 144; // points
constexpr double kLargestPen = 10;       // points
constexpr double kLargestFirstPage = 999999;

QString syntaxProblem(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("objeto sem o '}' de fechamento");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("falta ':' depois do nome");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("lista sem o ']' de fechamento");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("falta ',' entre os valores");
    case QJsonParseError::IllegalValue: return QStringLiteral("valor inválido");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("o arquivo termina no meio de um número");
    case QJsonParseError::IllegalNumber: return QStringLiteral("número inválido");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("sequência de escape inválida");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("texto que não está em UTF-8");
    case QJsonParseError::UnterminatedString: return QStringLiteral("texto sem as aspas de fechamento");
    case QJsonParseError::MissingObject: return QStringLiteral("o projeto deve ser um objeto JSON ({ ... })");
    case QJsonParseError::DeepNesting: return QStringLiteral("aninhamento profundo demais");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("arquivo grande demais");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("conteúdo depois do fim do projeto");
    default: return QStringLiteral("erro de sintaxe");
    }
}

// Line and column (from 1) of a byte offset of the file.
QString linePlace(const QByteArray& json, int offset)
{
    offset = std::clamp(offset, 0, int(json.size()));
    int line = 1;
    int lineStart = 0;
    for (int i = 0; i < offset; ++i) {
        if (json.at(i) == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    const int column = int(QString::fromUtf8(json.mid(lineStart, offset - lineStart)).size()) + 1;
    return QStringLiteral("linha %1, coluna %2").arg(line).arg(column);
}

// One JSON object of the file with its place; every read checks the type, and finish() rejects
// the keys nobody asked for (a misspelt key would otherwise be ignored without a word).
class Node {
public:
    Node(const QString& file, QJsonObject object, QString place)
        : m_file(file), m_object(std::move(object)), m_place(std::move(place))
    {
        m_known.insert(QStringLiteral("comment")); // free text for whoever maintains the layout
    }

    const QString& place() const { return m_place; }
    QString childPlace(const QString& key) const { return m_place.isEmpty() ? key : m_place + QLatin1Char('.') + key; }

    [[noreturn]] void fail(const QString& problem) const { failAt(m_place, problem); }
    [[noreturn]] void failAt(const QString& place, const QString& problem) const
    {
        throw ReportError(projectErrorMessage(m_file, place.isEmpty() ? QStringLiteral("raiz do projeto") : place, problem));
    }

    bool has(const QString& key)
    {
        m_known.insert(key);
        return m_object.contains(key);
    }

    QJsonValue raw(const QString& key)
    {
        m_known.insert(key);
        return m_object.value(key);
    }

    QString string(const QString& key, const QString& fallback = QString())
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = m_object.value(key);
        if (!v.isString())
            failAt(childPlace(key), QStringLiteral("deve ser um texto"));
        return v.toString();
    }

    QString requiredString(const QString& key)
    {
        if (!has(key))
            fail(QStringLiteral("falta a chave \"%1\"").arg(key));
        const QString s = string(key);
        if (s.trimmed().isEmpty())
            failAt(childPlace(key), QStringLiteral("não pode ficar vazio"));
        return s;
    }

    // A number within [minimum, maximum]: a value far beyond any paper (1e308) would reach the
    // painter as coordinates it cannot draw.
    double number(const QString& key, double fallback, double minimum, double maximum, const QString& unit = {})
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = m_object.value(key);
        if (!v.isDouble() || !std::isfinite(v.toDouble()))
            failAt(childPlace(key), QStringLiteral("deve ser um número"));
        if (v.toDouble() < minimum)
            failAt(childPlace(key), QStringLiteral("deve ser pelo menos %1%2").arg(minimum).arg(unit));
        if (v.toDouble() > maximum)
            failAt(childPlace(key), QStringLiteral("deve ser no máximo %1%2").arg(maximum).arg(unit));
        return v.toDouble();
    }

    // A position or size in centimetres.
    double length(const QString& key, double fallback) { return number(key, fallback, 0, kLargestLength, QStringLiteral(" cm")); }

    bool boolean(const QString& key, bool fallback)
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = m_object.value(key);
        if (!v.isBool())
            failAt(childPlace(key), QStringLiteral("deve ser true ou false"));
        return v.toBool();
    }

    std::optional<bool> optionalBoolean(const QString& key)
    {
        if (!has(key))
            return std::nullopt;
        return boolean(key, false);
    }

    QStringList stringList(const QString& key)
    {
        if (!has(key))
            return {};
        const QJsonValue v = m_object.value(key);
        if (v.isString())
            return {v.toString()};
        if (!v.isArray())
            failAt(childPlace(key), QStringLiteral("deve ser uma lista de textos"));
        QStringList out;
        const QJsonArray a = v.toArray();
        for (int i = 0; i < a.size(); ++i) {
            if (!a.at(i).isString())
                failAt(QStringLiteral("%1[%2]").arg(childPlace(key)).arg(i), QStringLiteral("deve ser um texto"));
            out.append(a.at(i).toString());
        }
        return out;
    }

    Node object(const QString& key)
    {
        const QJsonValue v = raw(key);
        if (!v.isObject())
            failAt(childPlace(key), QStringLiteral("deve ser um objeto ({ ... })"));
        return Node(m_file, v.toObject(), childPlace(key));
    }

    std::vector<Node> objects(const QString& key)
    {
        std::vector<Node> out;
        if (!has(key))
            return out;
        const QJsonValue v = m_object.value(key);
        if (!v.isArray())
            failAt(childPlace(key), QStringLiteral("deve ser uma lista ([ ... ])"));
        const QJsonArray a = v.toArray();
        for (int i = 0; i < a.size(); ++i) {
            const QString place = QStringLiteral("%1[%2]").arg(childPlace(key)).arg(i);
            if (!a.at(i).isObject())
                failAt(place, QStringLiteral("deve ser um objeto ({ ... })"));
            out.emplace_back(m_file, a.at(i).toObject(), place);
        }
        return out;
    }

    void finish() const
    {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (!m_known.contains(it.key()))
                fail(QStringLiteral("chave desconhecida \"%1\"").arg(it.key()));
        }
    }

    const QString& file() const { return m_file; }

private:
    QString m_file;
    QJsonObject m_object;
    QString m_place;
    QSet<QString> m_known;
};

FontOverride readFont(Node& parent)
{
    FontOverride f;
    if (!parent.has(QStringLiteral("font")))
        return f;
    Node n = parent.object(QStringLiteral("font"));
    if (n.has(QStringLiteral("family")))
        f.family = n.requiredString(QStringLiteral("family"));
    if (n.has(QStringLiteral("size"))) {
        f.size = n.number(QStringLiteral("size"), 8, 1, kLargestFontSize, QStringLiteral(" pt"));
    }
    f.bold = n.optionalBoolean(QStringLiteral("bold"));
    f.italic = n.optionalBoolean(QStringLiteral("italic"));
    f.underline = n.optionalBoolean(QStringLiteral("underline"));
    n.finish();
    return f;
}

// "CONEXAO.CAMPO" or "CAMPO" (a field of the report's own connection).
FieldRef parseFieldName(const QString& text, const QString& defaultConnection, const QString& place)
{
    FieldRef ref;
    ref.place = place;
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        ref.connection = defaultConnection;
        ref.field = text.trimmed();
    } else {
        ref.connection = text.left(dot).trimmed();
        ref.field = text.mid(dot + 1).trimmed();
    }
    return ref;
}

FieldRef readFieldRef(Node& n, const QString& defaultConnection)
{
    FieldRef ref;
    ref.place = n.place();
    ref.connection = n.string(QStringLiteral("connection"), defaultConnection);
    ref.field = n.requiredString(QStringLiteral("field"));
    return ref;
}

std::optional<Condition> readCondition(Node& parent, const QString& key, const QString& defaultConnection)
{
    if (!parent.has(key))
        return std::nullopt;
    Node n = parent.object(key);
    Condition c;
    c.field = readFieldRef(n, defaultConnection);
    const bool hasIn = n.has(QStringLiteral("in"));
    const bool hasNotIn = n.has(QStringLiteral("notIn"));
    if (hasIn == hasNotIn)
        n.fail(QStringLiteral("use \"in\" ou \"notIn\" (um dos dois)"));
    c.negate = hasNotIn;
    c.values = n.stringList(hasIn ? QStringLiteral("in") : QStringLiteral("notIn"));
    n.finish();
    return c;
}

std::vector<TextPart> parseTemplate(const QString& text, const QString& defaultConnection, const Node& n)
{
    std::vector<TextPart> parts;
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty())
            parts.push_back({TextPart::Kind::Literal, literal, {}, {}, {}});
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('{') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('{')) {
            literal += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('}') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('}')) {
            literal += c;
            ++i;
            continue;
        }
        if (c != QLatin1Char('{')) {
            literal += c;
            continue;
        }
        const qsizetype end = text.indexOf(QLatin1Char('}'), i + 1);
        if (end < 0)
            n.failAt(n.childPlace(QStringLiteral("text")), QStringLiteral("\"{\" sem o \"}\" de fechamento"));
        const QString inner = text.mid(i + 1, end - i - 1);
        const QString token = inner.trimmed();
        flush();
        const qsizetype open = inner.indexOf(QLatin1Char('<'));
        const qsizetype close = inner.indexOf(QLatin1Char('>'), open + 1);
        if (open >= 0) {
            if (close < 0 || inner.mid(open + 1, close - open - 1).trimmed().isEmpty())
                n.failAt(n.childPlace(QStringLiteral("text")),
                         QStringLiteral("\"{%1}\": escreva o campo entre < e >, como em \"{ - CEP <CEP>}\"").arg(inner));
            TextPart part{TextPart::Kind::Field, {}, parseFieldName(inner.mid(open + 1, close - open - 1), defaultConnection, n.place()), {}, {}};
            part.prefix = inner.left(open);
            part.suffix = inner.mid(close + 1);
            parts.push_back(part);
            i = end;
            continue;
        }
        if (token == QLatin1String("page"))
            parts.push_back({TextPart::Kind::Page, {}, {}, {}, {}});
        else if (token == QLatin1String("pages"))
            parts.push_back({TextPart::Kind::Pages, {}, {}, {}, {}});
        else if (token == QLatin1String("pagelabel"))
            parts.push_back({TextPart::Kind::PageLabel, {}, {}, {}, {}});
        else if (token == QLatin1String("date"))
            parts.push_back({TextPart::Kind::Date, {}, {}, {}, {}});
        else if (token.isEmpty())
            n.failAt(n.childPlace(QStringLiteral("text")), QStringLiteral("\"{}\" vazio"));
        else
            parts.push_back({TextPart::Kind::Field, {}, parseFieldName(token, defaultConnection, n.place()), {}, {}});
        i = end;
    }
    flush();
    return parts;
}

Qt::Alignment readAlign(Node& n)
{
    const QString a = n.string(QStringLiteral("align"), QStringLiteral("left"));
    if (a == QLatin1String("left"))
        return Qt::AlignLeft;
    if (a == QLatin1String("center"))
        return Qt::AlignHCenter;
    if (a == QLatin1String("right"))
        return Qt::AlignRight;
    n.failAt(n.childPlace(QStringLiteral("align")), QStringLiteral("use \"left\", \"center\" ou \"right\""));
}

Qt::Alignment readVAlign(Node& n)
{
    const QString a = n.string(QStringLiteral("valign"), QStringLiteral("center"));
    if (a == QLatin1String("top"))
        return Qt::AlignTop;
    if (a == QLatin1String("center"))
        return Qt::AlignVCenter;
    if (a == QLatin1String("bottom"))
        return Qt::AlignBottom;
    n.failAt(n.childPlace(QStringLiteral("valign")), QStringLiteral("use \"top\", \"center\" ou \"bottom\""));
}

ValueFormat readValueFormat(Node& n)
{
    ValueFormat f;
    f.number = n.string(QStringLiteral("format"));
    if (!f.number.isEmpty()) {
        static const QString allowed = QStringLiteral("#0,.");
        for (QChar c : f.number) {
            if (!allowed.contains(c))
                n.failAt(n.childPlace(QStringLiteral("format")),
                         QStringLiteral("formato de número inválido \"%1\" (use #, 0, \",\" e \".\")").arg(f.number));
        }
        if (f.number.count(QLatin1Char('.')) > 1)
            n.failAt(n.childPlace(QStringLiteral("format")), QStringLiteral("formato de número com mais de um \".\""));
    }
    f.date = n.string(QStringLiteral("dateFormat"));
    f.mask = n.string(QStringLiteral("mask"));
    f.prefix = n.string(QStringLiteral("prefix"));
    f.suffix = n.string(QStringLiteral("suffix"));
    f.blankWhenZero = n.boolean(QStringLiteral("blankWhenZero"), false);
    if (n.has(QStringLiteral("map"))) {
        const QJsonValue v = n.raw(QStringLiteral("map"));
        if (!v.isObject())
            n.failAt(n.childPlace(QStringLiteral("map")), QStringLiteral("deve ser um objeto de códigos e palavras"));
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (!it.value().isString())
                n.failAt(n.childPlace(QStringLiteral("map.") + it.key()), QStringLiteral("deve ser um texto"));
            f.words.insert(it.key(), it.value().toString());
        }
    }
    const int kinds = int(!f.number.isEmpty()) + int(!f.date.isEmpty()) + int(!f.mask.isEmpty()) + int(!f.words.isEmpty());
    if (kinds > 1)
        n.fail(QStringLiteral("use só um de \"format\", \"dateFormat\", \"mask\" e \"map\""));
    return f;
}

ReportItem readItem(Node& n, const QString& defaultConnection)
{
    ReportItem item;
    item.place = n.place();
    const QString type = n.requiredString(QStringLiteral("type"));
    item.x = n.length(QStringLiteral("x"), 0);
    item.y = n.length(QStringLiteral("y"), 0);
    item.printWhen = readCondition(n, QStringLiteral("printWhen"), defaultConnection);
    if (type == QLatin1String("text") || type == QLatin1String("field")) {
        item.width = n.length(QStringLiteral("width"), 0);
        item.height = n.length(QStringLiteral("height"), 0);
        item.font = readFont(n);
        item.align = readAlign(n);
        item.valign = readVAlign(n);
        item.wrap = n.boolean(QStringLiteral("wrap"), false);
        if (item.wrap && item.width <= 0)
            n.fail(QStringLiteral("\"wrap\" pede uma largura (\"width\")"));
        if (type == QLatin1String("text")) {
            item.kind = ItemKind::Text;
            if (!n.has(QStringLiteral("text")))
                n.fail(QStringLiteral("falta a chave \"text\""));
            item.parts = parseTemplate(n.string(QStringLiteral("text")), defaultConnection, n);
        } else {
            item.kind = ItemKind::Field;
            item.field = readFieldRef(n, defaultConnection);
            item.format = readValueFormat(n);
        }
    } else if (type == QLatin1String("line")) {
        item.kind = ItemKind::Line;
        item.x2 = n.length(QStringLiteral("x2"), item.x);
        item.y2 = n.length(QStringLiteral("y2"), item.y);
        item.pen = n.number(QStringLiteral("pen"), 0.5, 0, kLargestPen, QStringLiteral(" pt"));
        item.stretch = n.boolean(QStringLiteral("stretch"), false);
    } else if (type == QLatin1String("box")) {
        item.kind = ItemKind::Box;
        item.width = n.length(QStringLiteral("width"), 0);
        item.height = n.length(QStringLiteral("height"), 0);
        item.pen = n.number(QStringLiteral("pen"), 0.5, 0, kLargestPen, QStringLiteral(" pt"));
        item.stretch = n.boolean(QStringLiteral("stretch"), false);
        const QString fill = n.string(QStringLiteral("fill"));
        if (!fill.isEmpty()) {
            item.fill = QColor::fromString(fill);
            if (!item.fill.isValid())
                n.failAt(n.childPlace(QStringLiteral("fill")), QStringLiteral("cor inválida \"%1\"").arg(fill));
        }
    } else {
        n.failAt(n.childPlace(QStringLiteral("type")),
                 QStringLiteral("tipo de item desconhecido \"%1\" (use text, field, line ou box)").arg(type));
    }
    n.finish();
    return item;
}

Band readBand(Node& parent, const QString& key, const QString& defaultConnection)
{
    Band band;
    if (!parent.has(key))
        return band;
    Node n = parent.object(key);
    band.present = true;
    band.place = n.place();
    band.height = n.length(QStringLiteral("height"), 0);
    band.font = readFont(n);
    for (Node& itemNode : n.objects(QStringLiteral("items")))
        band.items.push_back(readItem(itemNode, defaultConnection));
    n.finish();
    return band;
}

PageSetup readPage(Node& parent)
{
    PageSetup page;
    if (!parent.has(QStringLiteral("page")))
        return page;
    Node n = parent.object(QStringLiteral("page"));
    if (n.has(QStringLiteral("size"))) {
        const QJsonValue v = n.raw(QStringLiteral("size"));
        if (v.isString()) {
            static const QHash<QString, QPageSize::PageSizeId> sizes = {
                {QStringLiteral("A3"), QPageSize::A3},         {QStringLiteral("A4"), QPageSize::A4},
                {QStringLiteral("A5"), QPageSize::A5},         {QStringLiteral("Letter"), QPageSize::Letter},
                {QStringLiteral("Legal"), QPageSize::Legal},
            };
            if (!sizes.contains(v.toString()))
                n.failAt(n.childPlace(QStringLiteral("size")),
                         QStringLiteral("tamanho de página desconhecido \"%1\" (use A3, A4, A5, Letter, Legal ou {\"width\", \"height\"})")
                             .arg(v.toString()));
            page.size = QPageSize(sizes.value(v.toString()));
        } else {
            Node s = n.object(QStringLiteral("size"));
            const double w = s.number(QStringLiteral("width"), 0, 1, kLargestPageSide, QStringLiteral(" cm"));
            const double h = s.number(QStringLiteral("height"), 0, 1, kLargestPageSide, QStringLiteral(" cm"));
            if (!s.has(QStringLiteral("width")) || !s.has(QStringLiteral("height")))
                s.fail(QStringLiteral("dê \"width\" e \"height\" em centímetros"));
            s.finish();
            page.size = QPageSize(QSizeF(w * 10, h * 10), QPageSize::Millimeter);
        }
    }
    const QString orientation = n.string(QStringLiteral("orientation"), QStringLiteral("portrait"));
    if (orientation == QLatin1String("portrait"))
        page.orientation = QPageLayout::Portrait;
    else if (orientation == QLatin1String("landscape"))
        page.orientation = QPageLayout::Landscape;
    else
        n.failAt(n.childPlace(QStringLiteral("orientation")), QStringLiteral("use \"portrait\" ou \"landscape\""));
    if (n.has(QStringLiteral("margins"))) {
        Node m = n.object(QStringLiteral("margins"));
        page.margins = QMarginsF(m.length(QStringLiteral("left"), 0), m.length(QStringLiteral("top"), 0),
                                 m.length(QStringLiteral("right"), 0), m.length(QStringLiteral("bottom"), 0));
        m.finish();
    }
    n.finish();
    return page;
}

SortKey readSortKey(Node& n, const QString& connection)
{
    SortKey key;
    key.place = n.place();
    key.field = n.requiredString(QStringLiteral("field"));
    key.descending = n.boolean(QStringLiteral("descending"), false);
    key.order = n.stringList(QStringLiteral("order"));
    key.descendingWhen = readCondition(n, QStringLiteral("descendingWhen"), connection);
    if (key.descendingWhen && key.descendingWhen->field.connection.compare(connection, Qt::CaseInsensitive) != 0)
        n.failAt(n.childPlace(QStringLiteral("descendingWhen")),
                 QStringLiteral("a condição só pode ler campos da conexão do relatório"));
    n.finish();
    return key;
}

ReportDefinition readReport(Node& n)
{
    ReportDefinition r;
    r.place = n.place();
    r.name = n.requiredString(QStringLiteral("name"));
    r.title = n.string(QStringLiteral("title"));
    r.connection = n.requiredString(QStringLiteral("data"));
    r.page = readPage(n);
    r.font = readFont(n).applyTo(FontSpec());
    r.pageLabel = n.string(QStringLiteral("pageLabel"), r.pageLabel);
    r.firstPage = int(n.number(QStringLiteral("firstPage"), r.firstPage, 1, kLargestFirstPage));
    if (n.has(QStringLiteral("sort"))) {
        const QJsonValue v = n.raw(QStringLiteral("sort"));
        if (!v.isArray())
            n.failAt(n.childPlace(QStringLiteral("sort")), QStringLiteral("deve ser uma lista"));
        const QJsonArray a = v.toArray();
        for (int i = 0; i < a.size(); ++i) {
            const QString place = QStringLiteral("%1[%2]").arg(n.childPlace(QStringLiteral("sort"))).arg(i);
            if (a.at(i).isString()) {
                SortKey key;
                key.place = place;
                key.field = a.at(i).toString();
                r.sort.push_back(key);
            } else if (a.at(i).isObject()) {
                Node k(n.file(), a.at(i).toObject(), place);
                r.sort.push_back(readSortKey(k, r.connection));
            } else {
                n.failAt(place, QStringLiteral("deve ser o nome de um campo ou um objeto"));
            }
        }
    }
    for (Node& g : n.objects(QStringLiteral("groups"))) {
        GroupDef group;
        group.place = g.place();
        group.name = g.string(QStringLiteral("name"));
        group.breakOn = g.stringList(QStringLiteral("breakOn"));
        if (group.breakOn.isEmpty())
            g.fail(QStringLiteral("falta \"breakOn\": os campos que mudam de um grupo para o outro"));
        group.newPage = g.boolean(QStringLiteral("newPage"), false);
        group.repeatHeader = g.boolean(QStringLiteral("repeatHeader"), false);
        group.header = readBand(g, QStringLiteral("header"), r.connection);
        group.footer = readBand(g, QStringLiteral("footer"), r.connection);
        g.finish();
        r.groups.push_back(group);
    }
    r.pageHeader = readBand(n, QStringLiteral("pageHeader"), r.connection);
    r.detail = readBand(n, QStringLiteral("detail"), r.connection);
    r.pageFooter = readBand(n, QStringLiteral("pageFooter"), r.connection);
    r.summary = readBand(n, QStringLiteral("summary"), r.connection);
    r.noData = readBand(n, QStringLiteral("noData"), r.connection);
    if (!r.detail.present)
        n.fail(QStringLiteral("falta a faixa \"detail\""));
    n.finish();
    checkReportFitsPage(r, n.file());
    return r;
}

} // namespace

ReportProject parseReportProject(const QByteArray& json, const QString& path)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw ReportError(projectErrorMessage(path, linePlace(json, error.offset), syntaxProblem(error.error)));
    if (!doc.isObject())
        throw ReportError(projectErrorMessage(path, QStringLiteral("linha 1, coluna 1"), syntaxProblem(QJsonParseError::MissingObject)));

    ReportProject project;
    project.filePath = path;
    Node root(path, doc.object(), QString());
    const double version = root.number(QStringLiteral("version"), 1, 1, std::numeric_limits<double>::max());
    if (version != 1)
        root.failAt(root.childPlace(QStringLiteral("version")), QStringLiteral("versão %1 não suportada").arg(version));
    std::vector<Node> reports = root.objects(QStringLiteral("reports"));
    root.finish();
    if (reports.empty())
        root.fail(QStringLiteral("o projeto não tem relatórios (\"reports\")"));
    for (size_t i = 0; i < reports.size(); ++i) {
        project.reports.push_back(readReport(reports[i]));
        for (size_t j = 0; j < i; ++j) {
            if (project.reports[j].name.compare(project.reports[i].name, Qt::CaseInsensitive) == 0)
                reports[i].failAt(reports[i].childPlace(QStringLiteral("name")),
                                  QStringLiteral("há dois relatórios chamados \"%1\"").arg(project.reports[i].name));
        }
    }
    return project;
}

ReportProject loadReportProject(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw ReportError(missingProjectMessage(path));
    // The project files are some kilobytes; a device or a pipe would never end.
    constexpr qint64 kLargestProject = 16 * 1024 * 1024;
    QByteArray content;
    if (const QString why = readBoundedFile(path, kLargestProject, content); !why.isEmpty())
        throw ReportError(QStringLiteral("Não foi possível ler o projeto de relatório \"%1\": %2").arg(path, why));
    return parseReportProject(content, path);
}

} // namespace livros::report
