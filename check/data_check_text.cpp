#include "check/finding_texts.h"

#include "platform/date_text.h"
#include "platform/number_format.h"

#include <algorithm>

namespace livros::check {

namespace {

struct KindTexts {
    const char16_t* title;
    const char16_t* advice;
};

KindTexts textsOf(FindingKind kind)
{
    switch (kind) {
    case FindingKind::RefusedMovement:
        return {u"Movimentação que nenhum livro pode registrar",
                u"Corrija a movimentação no sistema: a unidade deve ser da mesma família da do cadastro (massa ou "
                u"volume), e a venda ou perda deve indicar um só produto (pelo código, ou por um nome que só um "
                u"produto tem). Enquanto ela existir, o livro não é montado."};
    case FindingKind::DuplicateInventory:
        return {u"Dois ou mais inventários do produto no mesmo dia",
                u"Deixe no estoque da suíte uma só contagem do produto nesse dia: com duas, nenhum livro é "
                u"montado para um período que comece nesse dia."};
    case FindingKind::NotInAnyBook:
        return {u"Produto controlado fora de qualquer livro",
                u"Preencha no cadastro o registro no Ministério da Saúde (produtos da drogaria, grupo REV...) ou "
                u"a DCB (manipulação): sem ela o produto não entra em nenhum livro revisado."};
    case FindingKind::SameDrugstoreDescription:
        return {u"Produtos da drogaria com a mesma descrição",
                u"Dê a cada produto da drogaria uma descrição própria no cadastro: uma venda sem código de "
                u"produto é ligada ao produto pela descrição, e com duas iguais o livro não é montado."};
    case FindingKind::SupplierDuplicated:
        return {u"Fornecedor com mais de um cadastro",
                u"Deixe um só cadastro do fornecedor com esse nome fantasia: com mais de um, o livro revisado "
                u"mostra o menor dos CNPJ, que pode não ser o do fornecedor da nota."};
    case FindingKind::SupplierMissing:
        return {u"Fornecedor sem cadastro",
                u"Cadastre o fornecedor com esse nome fantasia e o CNPJ: sem ele o livro revisado sai sem o CNPJ "
                u"do fornecedor."};
    case FindingKind::FormulaOfUnknownLaboratory:
        return {u"Fórmula de um laboratório que nenhuma loja tem",
                u"Corrija o laboratório da fórmula no pedido, ou o da loja em TABLAB: a saída não entra no livro "
                u"de nenhuma loja."};
    case FindingKind::NoOpeningInventory:
        return {u"Produto sem inventário no primeiro dia do período",
                u"Lance o inventário do produto nessa data no programa de estoque: sem ele o livro abre o produto "
                u"com saldo zero."};
    case FindingKind::InventoryUnit:
        return {u"Inventário em unidade diferente da do cadastro",
                u"Corrija a unidade do inventário ou a do cadastro do produto para que sejam a mesma."};
    case FindingKind::NegativeStock:
        return {u"Estoque negativo",
                u"Confira as entradas (notas fiscais) e as saídas do produto até essa data: falta uma entrada ou "
                u"sobra uma saída."};
    case FindingKind::ClosingDiffersFromCount:
        return {u"Estoque final do livro diferente do inventário seguinte",
                u"Confira as movimentações do período ou a contagem do inventário seguinte antes de assinar o livro."};
    case FindingKind::CodeTooLong:
        return {u"Código com mais de 13 caracteres",
                u"Cadastre o produto com um código de até 13 caracteres: inventários e compras não guardam códigos "
                u"maiores."};
    case FindingKind::NotificationMissing:
        return {u"Venda controlada sem notificação de receita",
                u"Lance no pedido o número da notificação retida: a lista do produto exige notificação, e sem ela "
                u"a venda não entra na relação mensal nem se justifica na fiscalização."};
    case FindingKind::NotificationNumberCut:
        return {u"Número de notificação cortado",
                u"Guarde o número completo do SNCR (14 dígitos) na notificação retida e anote-o no livro: o campo "
                u"da suíte guarda só 12 caracteres, e um número cortado não identifica a receita."};
    case FindingKind::PrescriberIncomplete:
        return {u"Prescritor sem conselho, número ou UF",
                u"Complete no pedido o conselho profissional, o número de inscrição e a UF do prescritor, como "
                u"constam da receita."};
    case FindingKind::PatientMissing:
        return {u"Venda controlada sem paciente",
                u"Lance no pedido o nome do paciente, como consta da receita."};
    }
    return {u"", u""};
}

QString number(double value, const QLocale& locale) { return formatNumber(value, QStringLiteral("#,##0.0000"), locale); }

QString duration(double seconds, const QLocale& locale)
{
    if (seconds < 10)
        return locale.toString(seconds, 'f', 1) + QStringLiteral(" s");
    return seconds < 90 ? QStringLiteral("%1 s").arg(qRound(seconds)) : QStringLiteral("%1 min").arg(qRound(seconds / 60));
}

} // namespace

const std::vector<FindingKind>& findingKinds()
{
    static const std::vector<FindingKind> kinds{
        FindingKind::RefusedMovement,
        FindingKind::DuplicateInventory,  FindingKind::NotInAnyBook,        FindingKind::SameDrugstoreDescription,
        FindingKind::FormulaOfUnknownLaboratory,
        FindingKind::NoOpeningInventory,  FindingKind::InventoryUnit,       FindingKind::SupplierDuplicated,
        FindingKind::SupplierMissing,     FindingKind::NegativeStock,       FindingKind::ClosingDiffersFromCount,
        FindingKind::CodeTooLong,         FindingKind::NotificationMissing, FindingKind::NotificationNumberCut,
        FindingKind::PrescriberIncomplete, FindingKind::PatientMissing};
    return kinds;
}

QString findingTitle(FindingKind kind) { return QString::fromUtf16(textsOf(kind).title); }
QString findingAdvice(FindingKind kind) { return QString::fromUtf16(textsOf(kind).advice); }

int findingCount(const CheckReport& report, FindingKind kind)
{
    return int(std::count_if(report.findings.begin(), report.findings.end(),
                             [kind](const Finding& f) { return f.kind == kind; }));
}

QString varianceTitle(const CheckReport& report)
{
    return QStringLiteral("Variação: estoque final do livro e inventário de %1").arg(fullDateText(report.to.addDays(1)));
}

QString productsWithoutCountText(const CheckReport& report)
{
    return QStringLiteral("%1 produto(s) sem inventário em %2.")
        .arg(report.productsWithoutCount)
        .arg(fullDateText(report.to.addDays(1)));
}

QStringList indexReadinessLines(const IndexReadiness& r, const QLocale& locale)
{
    if (r.expected.isEmpty())
        return {QStringLiteral("O script dos índices opcionais (db/suite_indexes.sql) não foi encontrado.")};
    if (r.missing.isEmpty())
        return {QStringLiteral("Os %1 índices opcionais existem.").arg(r.expected.size())};
    return {QStringLiteral("Faltam %1 dos %2 índices opcionais: %3")
                .arg(r.missing.size())
                .arg(r.expected.size())
                .arg(r.missing.join(QStringLiteral(", "))),
            QStringLiteral("Um ano de livros com %1 movimentações: o clássico leva cerca de %2 sem eles (%3 com "
                           "eles), os revisados %4 (%5 com eles).")
                .arg(r.movementRows)
                .arg(duration(classicYearSeconds(r, false), locale), duration(classicYearSeconds(r, true), locale),
                     duration(revisedYearSeconds(r, false), locale), duration(revisedYearSeconds(r, true), locale)),
            QStringLiteral("Para criá-los: ") + r.createCommand};
}

QStringList checkReportText(const CheckReport& report, const QLocale& locale)
{
    QStringList out;
    out << QStringLiteral("Conferência dos dados - loja %1 - %2 a %3")
               .arg(report.cnpj, fullDateText(report.from), fullDateText(report.to));
    out << QString();
    if (report.clean())
        out << QStringLiteral("Nada encontrado.");

    for (const FindingKind kind : findingKinds()) {
        if (const int count = findingCount(report, kind); count > 0)
            out << QStringLiteral("%1: %2").arg(findingTitle(kind)).arg(count);
    }
    for (const FindingKind kind : findingKinds()) {
        bool first = true;
        for (const Finding& f : report.findings) {
            if (f.kind != kind)
                continue;
            if (first) {
                out << QString() << findingTitle(kind) << QStringLiteral("  O que fazer: ") + findingAdvice(kind);
                first = false;
            }
            out << QStringLiteral("  %1  %2  %3  %4")
                       .arg(f.codigo, f.produto, f.date.isValid() ? fullDateText(f.date) : QStringLiteral("-"), f.rows);
        }
    }

    out << QString() << varianceTitle(report);
    if (!report.variance.empty())
        out << QStringLiteral("  Código  Produto  Estoque final  Inventário  Diferença  Unid.");
    for (const VarianceLine& line : report.variance)
        out << QStringLiteral("  %1  %2  %3  %4  %5  %6")
                   .arg(line.codigo, line.produto, number(line.closing, locale), number(line.counted, locale),
                        number(line.difference(), locale), line.unit);
    if (report.productsWithoutCount > 0)
        out << QStringLiteral("  ") + productsWithoutCountText(report);
    if (report.indexesRead) {
        out << QString() << QStringLiteral("Índices do banco de dados");
        for (const QString& line : indexReadinessLines(report.indexes, locale))
            out << QStringLiteral("  ") + line;
    }
    return out;
}

} // namespace livros::check
