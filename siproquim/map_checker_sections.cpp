#include "siproquim/map_checker_sections.h"

#include "platform/cnpj.h"
#include "siproquim/map_value_checks.h"

namespace livros::siproquim {

namespace {

using C = SectionCheck;

// The fields of a product moved, made or used: the product as DG declares it and its quantity.
QList<SectionField> productFields(int first)
{
    return {{"Produto", first, 13, C::Product},
            {"Concentração", first + 13, 3, C::Concentration},
            {"Densidade", first + 16, 5, C::Density},
            {"Quantidade", first + 21, 15, C::Quantity},
            {"Unidade", first + 36, 1, C::Unit}};
}

QList<SectionField> withType(int width, QList<SectionField> fields)
{
    fields.prepend({"Tipo", 1, width, C::Type});
    return fields;
}

// A third party's address: who it is, where, and the town (AMZ, TER, ADQ from column 4; LR, LE from 3).
QList<SectionField> addressFields(int first, const char* person, const char* name, int typeWidth)
{
    return withType(typeWidth, {{person, first, 14, C::Person},
                                {name, first + 14, 70, C::Text},
                                {"Endereço", first + 84, 70, C::Text},
                                {"CEP", first + 154, 10, C::Cep},
                                {"Número", first + 164, 5, C::OptionalText},
                                {"Complemento", first + 169, 20, C::OptionalText},
                                {"Bairro", first + 189, 30, C::Text},
                                {"UF", first + 219, 2, C::State},
                                {"Município", first + 221, 7, C::City}});
}

QList<SectionLayout> makeLayouts()
{
    QList<SectionLayout> all;
    // International trade (MVI) and its subsections.
    all.append({"MVI", nullptr, withType(3, {{"Operação", 4, 1, C::Choice, "E|I|C"},
                                             {"País", 5, 3, C::Digits},
                                             {"Razão social", 8, 69, C::Text},
                                             {"Número da LI", 77, 12, C::Document},
                                             {"Data da restrição de embarque", 89, 10, C::OptionalDate},
                                             {"Data do conhecimento de embarque", 99, 10, C::OptionalDate},
                                             {"Número da DUE", 109, 15, C::OptionalText},
                                             {"Data da DUE", 124, 10, C::OptionalDate},
                                             {"Número da DI", 134, 12, C::Document},
                                             {"Data da DI", 146, 10, C::OptionalDate},
                                             {"Responsável pela armazenagem", 156, 1, C::OptionalChoice, "E|T|I|A"},
                                             {"Responsável pelo transporte", 157, 1, C::Choice, "E|T|A|I|F|Q"},
                                             {"Local de entrega", 158, 1, C::OptionalChoice, "I|T"}})});
    all.append({"TRA", "MVI", withType(3, {{"CPF/CNPJ da transportadora", 4, 14, C::Person},
                                           {"Razão social da transportadora", 18, 70, C::Text}})});
    all.append({"TRI", "MVI", withType(3, {{"Razão social da transportadora", 4, 70, C::Text}})});
    all.append({"AMZ", "MVI", addressFields(4, "CPF/CNPJ da armazenadora", "Razão social da armazenadora", 3)});
    all.append({"TER", "MVI", addressFields(4, "CPF/CNPJ do local de entrega", "Razão social do local de entrega", 3)});
    all.append({"ADQ", "MVI", addressFields(4, "CPF/CNPJ do adquirente", "Razão social do adquirente", 3)});
    all.append({"NF", "MVI", withType(2, {{"Número da NF", 3, 10, C::Text},
                                          {"Data da NF", 13, 10, C::Date},
                                          {"Entrada-saída", 23, 1, C::Choice, "E|S"}})});
    // Production (UP, and what it made: UF), transformation (UT, UZ), manufacture (FB).
    all.append({"UP", nullptr, withType(2, productFields(3))});
    all.append({"UF", "UP", withType(2, productFields(3) + QList<SectionField>{{"Descrição da produção", 40, 200, C::Text},
                                                                              {"Data da produção", 240, 10, C::Date}}),
                false, "Data da produção"});
    all.append({"UT", nullptr, withType(2, productFields(3) + QList<SectionField>{{"Data da transformação", 40, 10, C::Date}}),
                false, "Data da transformação"});
    all.append({"UZ", "UT", withType(2, productFields(3) + QList<SectionField>{{"Data da transformação", 40, 10, C::Date},
                                                                              {"Reação química", 50, 200, C::Text}}),
                false, "Data da transformação"});
    all.append({"FB", nullptr, withType(2, productFields(3) + QList<SectionField>{{"Data da fabricação", 40, 10, C::Date}}),
                false, "Data da fabricação"});
    // National transport (TN) and its subsections.
    all.append({"TN", nullptr, withType(2, {{"CPF/CNPJ do contratante", 3, 14, C::Person},
                                            {"Nome do contratante", 17, 70, C::Text},
                                            {"Número da NF", 87, 10, C::Text},
                                            {"Data da NF", 97, 10, C::Date},
                                            {"CPF/CNPJ da origem da carga", 107, 14, C::Person},
                                            {"Razão social da origem da carga", 121, 70, C::Text},
                                            {"Local de retirada", 191, 1, C::Choice, "P|A"},
                                            {"Local de entrega", 192, 1, C::Choice, "P|A"}})});
    all.append({"CC", "TN", withType(2, {{"Número do conhecimento de carga", 3, 9, C::Digits},
                                         {"Data do conhecimento de carga", 12, 10, C::Date},
                                         {"Data do recebimento da carga", 22, 10, C::Date},
                                         {"Responsável pelo recebimento", 32, 70, C::Text},
                                         {"Modal de transporte", 102, 8, C::Modes}}),
                true});
    all.append({"LR", "TN|TI", addressFields(3, "CPF/CNPJ do local de retirada", "Nome do local de retirada", 2)});
    all.append({"LE", "TN|TI", addressFields(3, "CPF/CNPJ do local de entrega", "Nome do local de entrega", 2)});
    all.append({"TM", "TN", withType(2, productFields(3))});
    // International transport (TI) and its subsections.
    all.append({"TI", nullptr, withType(2, {{"Operação", 3, 1, C::Choice, "E|I"},
                                            {"Contratante", 4, 1, C::Choice, "O|D"},
                                            {"Número da NF", 5, 10, C::Text},
                                            {"Data da NF", 15, 10, C::Date},
                                            {"CPF/CNPJ da empresa", 25, 14, C::Person},
                                            {"Nome da empresa", 39, 70, C::Text},
                                            {"Local de retirada", 109, 1, C::Choice, "P|A"}})});
    all.append({"PI", "TI", withType(2, {{"Nome da empresa", 3, 70, C::Text},
                                         {"País", 73, 3, C::Digits},
                                         {"Endereço completo", 76, 70, C::Text}})});
    all.append({"TZ", "TI", withType(2, productFields(3))});
    // Storage (AR) and the products stored (PA).
    all.append({"AR", nullptr, withType(2, {{"CPF/CNPJ do contratante", 3, 14, C::Person},
                                            {"Nome do contratante", 17, 72, C::Text},
                                            {"Número da NF", 89, 10, C::Text},
                                            {"Data da NF", 99, 10, C::Date},
                                            {"Data de entrada/saída", 109, 10, C::Date},
                                            {"Entrada-saída", 119, 1, C::Choice, "E|S"}}),
                false, "Data de entrada/saída"});
    all.append({"PA", "AR", withType(2, productFields(3))});
    return all;
}

const QList<SectionLayout>& layouts()
{
    static const QList<SectionLayout> all = makeLayouts();
    return all;
}

bool validCpf(const QString& digits)
{
    if (!matchesWhole("\\d{11}", digits) || digits == QString(11, digits.at(0)))
        return false;
    for (int length : {9, 10}) {
        int sum = 0;
        for (int i = 0; i < length; ++i)
            sum += digits.at(i).digitValue() * (length + 1 - i);
        const int check = sum * 10 % 11 % 10;
        if (check != digits.at(length).digitValue())
            return false;
    }
    return true;
}

} // namespace

const SectionLayout* sectionLayout(const QString& type)
{
    for (const SectionLayout& layout : layouts()) {
        if (type == QLatin1String(layout.type))
            return &layout;
    }
    return nullptr;
}

const SectionLayout& invoiceProductLayout()
{
    static const SectionLayout layout{"", "MVI", productFields(1)};
    return layout;
}

QString sectionFieldProblem(const SectionField& field, const QString& text)
{
    const bool blank = text.trimmed().isEmpty();
    switch (field.check) {
    case C::Type:
        return {};
    case C::Text:
        if (blank)
            return QStringLiteral("campo em branco");
        [[fallthrough]];
    case C::OptionalText:
        return !blank && text.startsWith(u' ') ? QStringLiteral("texto alinhado à esquerda, sem brancos antes") : QString();
    case C::Digits:
        return matchesWhole("\\d+", text) ? QString() : QStringLiteral("só algarismos, em todas as %1 colunas").arg(field.width);
    case C::OptionalDate:
        if (blank)
            return {};
        [[fallthrough]];
    case C::Date:
        return dateProblem(text);
    case C::Person: {
        if (matchesWhole("[0-9A-Z]{12}[0-9]{2}", text))
            return cnpjProblem(text);
        const QString cpf = text.trimmed();
        if (cpf.size() == 11 && matchesWhole("\\d{11}", cpf))
            return validCpf(cpf) ? QString() : QStringLiteral("dígitos verificadores do CPF errados");
        return QStringLiteral("CNPJ de 14 caracteres ou CPF de 11 dígitos, sem máscara");
    }
    case C::Product:
        return productRefProblem(text);
    case C::Concentration:
        return blank ? QString() : concentrationProblem(text);
    case C::Density:
        return densityProblem(text);
    case C::Quantity:
        return quantityProblem(text);
    case C::Unit:
        return unitProblem(text);
    case C::Cep:
        return cepProblem(text);
    case C::State:
        return stateProblem(text);
    case C::City:
        return cityCodeProblem(text);
    case C::OptionalChoice:
        if (blank)
            return {};
        [[fallthrough]];
    case C::Choice:
        return choiceProblem(text, field.choices);
    case C::Document:
        return blank || matchesWhole("\\d{2}/\\d{7}-\\d", text) ? QString() : QStringLiteral("com máscara (99/9999999-9), ou em branco");
    case C::Modes: {
        const QString modes = text.trimmed();
        bool ok = modes.size() >= 2 && modes.size() % 2 == 0 && !text.startsWith(u' ');
        QStringList seen;
        for (qsizetype i = 0; ok && i < modes.size(); i += 2) {
            const QString mode = modes.mid(i, 2);
            ok = QStringList{QStringLiteral("RO"), QStringLiteral("AQ"), QStringLiteral("FE"), QStringLiteral("AE")}.contains(mode)
                 && !seen.contains(mode);
            seen << mode;
        }
        return ok ? QString() : QStringLiteral("RO, AQ, FE ou AE, juntos e sem brancos quando mais de um (ROAE)");
    }
    }
    return {};
}

} // namespace livros::siproquim
