#include "siproquim/map_writer.h"

#include "platform/cnpj.h"
#include "siproquim/map_checker.h"
#include "siproquim/map_fields.h"

#include <QHash>
#include <QSet>
#include <QRegularExpression>

namespace livros::siproquim {

namespace {

// Accumulates one record's fields and the problems of the values that do not fit them.
class RecordComposer {
public:
    RecordComposer(const char* type, const QString& owner, QStringList& problems)
        : m_spec(*recordSpec(QLatin1String(type))), m_owner(owner), m_problems(problems), m_line(QLatin1String(type))
    {
    }

    // A value already in the field's form; an empty optional is a value that does not fit.
    void coded(const char* name, const std::optional<QString>& value, const QString& shown)
    {
        if (!value || value->size() != width(name)) {
            fail(name, shown);
            return;
        }
        m_line += *value;
    }

    void text(const char* name, const QString& value, bool required = true)
    {
        QStringList unconvertible;
        const QString plain = mapText(value, &unconvertible);
        const int w = width(name);
        if (!unconvertible.isEmpty())
            problem(QStringLiteral("%1 \"%2\" tem caracteres sem forma em maiúsculas ASCII (%3)")
                        .arg(QString::fromUtf8(name), value, unconvertible.join(QStringLiteral(" "))));
        else if (required && plain.isEmpty())
            problem(QStringLiteral("%1 em branco").arg(QString::fromUtf8(name)));
        else if (plain.size() > w)
            problem(QStringLiteral("%1 \"%2\" tem %3 caracteres, o campo tem %4").arg(QString::fromUtf8(name), plain).arg(plain.size()).arg(w));
        m_line += plain.left(w).leftJustified(w, u' ');
    }

    void cnpj(const char* name, const QString& value)
    {
        const QString plain = normalizedCnpj(value);
        if (plain.isEmpty())
            problem(QStringLiteral("%1 não cadastrado").arg(QString::fromUtf8(name)));
        else if (checkCnpj(plain) != CnpjCheck::Valid)
            problem(QStringLiteral("%1 \"%2\" inválido (14 caracteres com os dígitos verificadores certos)").arg(QString::fromUtf8(name), value));
        m_line += plain.left(14).leftJustified(14, u' ');
    }

    // A value the map cannot take, with the reason as the user reads it.
    void refuse(const char* name, const QString& reason)
    {
        problem(reason);
        m_line += QString(width(name), u' ');
    }

    QString line() const { return m_line; }
    // Leaves unreported the problems of a product already listed with its declaration.
    void setQuiet(bool quiet) { m_quiet = quiet; }

private:
    int width(const char* name) const { return m_spec.field(name)->width; }
    void fail(const char* name, const QString& shown)
    {
        problem(QStringLiteral("%1 %2 não cabe no campo do mapa").arg(QString::fromUtf8(name), shown));
        m_line += QString(width(name), u' ');
    }
    void problem(const QString& text)
    {
        if (!m_quiet)
            m_problems << m_owner + QStringLiteral(": ") + text;
    }

    const RecordSpec& m_spec;
    QString m_owner;
    QStringList& m_problems;
    QString m_line;
    bool m_quiet = false;
};

QString shownNumber(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

std::optional<QString> productCode(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^TPN\\d{8}$"));
    return pattern.match(code).hasMatch() ? std::optional<QString>(code) : std::nullopt;
}

// The product's fields in a movement: reference, concentration, density, quantity and unit.
void movementFields(RecordComposer& record, const MapProduct& product, bool productListed, double quantity)
{
    record.setQuiet(productListed);
    const auto code = productCode(product.code);
    record.coded("Produto", code ? std::optional<QString>(QStringLiteral("PR") + *code) : std::nullopt, product.code);
    record.coded("Concentração", concentrationText(product.concentration), QString::number(product.concentration));
    record.coded("Densidade", densityText(product.density), shownNumber(product.density, 2));
    record.setQuiet(false);
    record.coded("Quantidade", quantityText(quantity), shownNumber(quantity, 3) + u' ' + product.unit);
    record.coded("Unidade", std::optional<QString>(QString(product.unit)), QString(product.unit));
}

} // namespace

QString mapFileName(const MapContent& content)
{
    return QStringLiteral("M%1%2%3.txt").arg(content.year).arg(monthAbbreviation(content.month), normalizedCnpj(content.cnpj));
}

ComposedMap composeMap(const MapContent& content)
{
    ComposedMap result;
    QStringList& problems = result.problems;
    QStringList lines;

    RecordComposer em("EM", QStringLiteral("Loja %1").arg(content.cnpj), problems);
    em.cnpj("CNPJ da loja", content.cnpj);
    em.coded("Mês", monthAbbreviation(content.month), QString::number(content.month));
    em.coded("Ano", content.year >= 2010 && content.year <= 9999 ? std::optional<QString>(QString::number(content.year)) : std::nullopt,
             QString::number(content.year));
    // Activities: a pharmacy consumes chemicals in its laboratory; it neither trades, produces,
    // transforms, manufactures, transports nor stores them for others.
    em.coded("Comercialização nacional", QStringLiteral("0"), {});
    em.coded("Comercialização internacional", QStringLiteral("0"), {});
    em.coded("Produção", QStringLiteral("0"), {});
    em.coded("Transformação", QStringLiteral("0"), {});
    em.coded("Consumo", QStringLiteral("1"), {});
    em.coded("Fabricação", QStringLiteral("0"), {});
    em.coded("Transporte", QStringLiteral("0"), {});
    em.coded("Armazenamento", QStringLiteral("0"), {});
    lines << em.line();

    QHash<QString, const MapProduct*> products;
    QSet<QString> listedProducts; // products whose declaration has a problem
    if (!content.products.isEmpty())
        lines << QStringLiteral("DG");
    for (const MapProduct& p : content.products) {
        products.insert(p.code, &p);
        RecordComposer pr("PR", QStringLiteral("Produto %1 %2").arg(p.code, p.name), problems);
        const qsizetype before = problems.size();
        if (productCode(p.code))
            pr.coded("Código do produto", p.code, p.code);
        else
            pr.refuse("Código do produto", QStringLiteral("código da Polícia Federal \"%1\" não é \"TPN\" e 8 dígitos (FORNECEDOR do cadastro)").arg(p.code));
        pr.text("Nome comercial", p.name);
        pr.coded("Concentração", concentrationText(p.concentration), QString::number(p.concentration));
        if (p.density > 0)
            pr.coded("Densidade", densityText(p.density), shownNumber(p.density, 2));
        else
            pr.refuse("Densidade", QStringLiteral("densidade não cadastrada (o mapa pede de 00,01 a 99,99)"));
        if (problems.size() > before)
            listedProducts.insert(p.code);
        lines << pr.line();
    }

    for (const MapInvoice& invoice : content.invoices) {
        const QString owner = QStringLiteral("Nota fiscal %1 de %2 (%3)").arg(invoice.number, invoice.supplierName, dateText(invoice.date));
        RecordComposer mvn("MVN", owner, problems);
        mvn.coded("Entrada-saída", QStringLiteral("E"), {});
        mvn.coded("Operação", QStringLiteral("EC"), {});
        mvn.cnpj("CNPJ do fornecedor", invoice.supplierCnpj);
        mvn.text("Razão social", invoice.supplierName);
        mvn.text("Número da NF", invoice.number);
        mvn.coded("Data da NF", invoice.date.isValid() ? std::optional<QString>(dateText(invoice.date)) : std::nullopt, QStringLiteral("sem data"));
        mvn.coded("Armazenagem", QStringLiteral("N"), {});
        mvn.coded("Transporte", QStringLiteral("F"), {});
        lines << mvn.line();
        for (const MapItem& item : invoice.items) {
            const MapProduct* product = products.value(item.code);
            if (!product) {
                problems << owner + QStringLiteral(": produto %1 fora do DG").arg(item.code);
                continue;
            }
            RecordComposer mm("MM", owner + QStringLiteral(", produto %1").arg(item.code), problems);
            movementFields(mm, *product, listedProducts.contains(product->code), item.quantity);
            lines << mm.line();
        }
    }

    for (const MapConsumption& use : content.consumptions) {
        const QString owner = QStringLiteral("Consumo de %1, produto %2").arg(dateText(use.date), use.code);
        const MapProduct* product = products.value(use.code);
        if (!product) {
            problems << owner + QStringLiteral(": produto fora do DG");
            continue;
        }
        RecordComposer uc("UC", owner, problems);
        movementFields(uc, *product, listedProducts.contains(product->code), use.quantity);
        const bool knownCode = use.consumptionCode >= 1 && use.consumptionCode <= 5;
        uc.coded("Código do consumo", knownCode ? std::optional<QString>(QString::number(use.consumptionCode)) : std::nullopt,
                 QString::number(use.consumptionCode));
        uc.text("Observação", use.observation, false);
        uc.coded("Data do consumo", use.date.isValid() ? std::optional<QString>(dateText(use.date)) : std::nullopt, QStringLiteral("sem data"));
        lines << uc.line();
    }

    if (!problems.isEmpty())
        return result;
    QByteArray bytes = lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    // The checker reads what was composed: a map it refuses is not handed out.
    const MapCheck check = checkMap(bytes);
    for (const MapProblem& p : check.problems)
        problems << QStringLiteral("linha %1, coluna %2: %3").arg(p.line).arg(p.column).arg(p.text);
    if (problems.isEmpty())
        result.bytes = bytes;
    return result;
}

} // namespace livros::siproquim
