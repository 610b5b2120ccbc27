#include "siproquim/map_value_checks.h"

#include "platform/cnpj.h"
#include "siproquim/map_fields.h"

#include <QDate>
#include <QRegularExpression>

namespace livros::siproquim {

bool matchesWhole(const char* pattern, const QString& text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern))).match(text).hasMatch();
}

QString cnpjProblem(const QString& text)
{
    if (!matchesWhole("[0-9A-Z]{12}[0-9]{2}", text))
        return QStringLiteral("14 caracteres sem máscara: 12 dígitos ou letras maiúsculas e 2 dígitos verificadores");
    return checkCnpj(text) == CnpjCheck::Valid ? QString() : QStringLiteral("dígitos verificadores do CNPJ errados");
}

QString dateProblem(const QString& text)
{
    return matchesWhole("\\d\\d/\\d\\d/\\d{4}", text) && QDate::fromString(text, QStringLiteral("dd/MM/yyyy")).isValid()
               ? QString() : QStringLiteral("data válida dd/mm/aaaa");
}

QString concentrationProblem(const QString& text)
{
    return matchesWhole("\\d{3}", text) && text.toInt() >= 1 && text.toInt() <= 100
               ? QString() : QStringLiteral("três dígitos, de 001 a 100 (em branco para produto composto)");
}

QString densityProblem(const QString& text)
{
    const auto value = readDensity(text);
    return value && *value > 0 ? QString() : QStringLiteral("com máscara, de 00,01 a 99,99");
}

QString quantityProblem(const QString& text)
{
    return readQuantity(text) ? QString() : QStringLiteral("com máscara 999.999.999,999, alinhada à direita");
}

QString unitProblem(const QString& text)
{
    return text == u"K" || text == u"L" ? QString() : QStringLiteral("K (quilos) ou L (litros)");
}

QString productRefProblem(const QString& text)
{
    return matchesWhole("(PR|RC)TPN\\d{8}", text) || matchesWhole("(PC|RS)\\d{4}\\.\\d{2}\\.\\d{2} ", text)
               ? QString()
               : QStringLiteral("\"PR\" ou \"RC\" e o código (PRTPN99999999), ou \"PC\" ou \"RS\" e o NCM (PC2915.90.90)");
}

QString cepProblem(const QString& text)
{
    return matchesWhole("\\d{2}\\.\\d{3}-\\d{3}", text) ? QString() : QStringLiteral("CEP com máscara (99.999-999)");
}

QString stateProblem(const QString& text)
{
    return matchesWhole("[A-Z]{2}", text) ? QString() : QStringLiteral("sigla da UF em duas maiúsculas");
}

QString cityCodeProblem(const QString& text)
{
    return matchesWhole("\\d{7}", text) ? QString() : QStringLiteral("código IBGE do município, 7 dígitos");
}

QString choiceProblem(const QString& text, const char* choices)
{
    const QString list = QString::fromLatin1(choices);
    return list.split(u'|').contains(text) ? QString() : QStringLiteral("um de ") + QString(list).replace(u'|', QStringLiteral(", "));
}

} // namespace livros::siproquim
