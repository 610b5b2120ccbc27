#include "book/register/book_opening.h"

#include "data/data_module.h"

namespace livros::registerbook {
namespace {

std::optional<int> positiveField(data::TDM& dm, const QString& name)
{
    data::Field field = dm.DadosGer.field(name);
    if (field.isNull())
        return std::nullopt;
    bool ok = false;
    const int value = field.value().toInt(&ok);
    if (!ok || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

CompanyBookSettings readCompanyBookSettings(data::TDM& dm)
{
    CompanyBookSettings settings;
    dm.DadosGer.open();
    if (!dm.DadosGer.isEmpty()) {
        settings.authorisedSheets = positiveField(dm, QStringLiteral("QDEFOLHAS"));
        settings.firstSheetNumber = positiveField(dm, QStringLiteral("NUMEROINICIAL"));
    }
    dm.DadosGer.close();
    return settings;
}

QString missingSettingsRefusal(const CompanyBookSettings& settings, bool firstBook)
{
    if (!settings.authorisedSheets)
        return QStringLiteral(
            "O cadastro da empresa (DADOSGER) não informa quantas folhas o livro tem autorizadas (campo QDEFOLHAS). "
            "Preencha-o com o número de folhas do termo de abertura autenticado pela autoridade sanitária, "
            "por exemplo: UPDATE DADOSGER SET QDEFOLHAS = 200. Nenhum livro foi aberto.");
    if (firstBook && !settings.firstSheetNumber)
        return QStringLiteral(
            "O cadastro da empresa (DADOSGER) não informa o número da primeira folha do livro (campo NUMEROINICIAL). "
            "Preencha-o com o número da primeira folha autorizada, por exemplo: "
            "UPDATE DADOSGER SET NUMEROINICIAL = 1. Nenhum livro foi aberto.");
    const qint64 first = firstBook ? *settings.firstSheetNumber : 1;
    if (first + *settings.authorisedSheets - 1 > kHighestSheetNumber)
        return QStringLiteral("As folhas do livro iriam da %1 à %2, além da última numeração aceita (%3): confira os "
                              "campos NUMEROINICIAL e QDEFOLHAS do cadastro da empresa (DADOSGER). Nenhum livro foi "
                              "aberto.")
            .arg(first)
            .arg(first + *settings.authorisedSheets - 1)
            .arg(kHighestSheetNumber);
    return {};
}

std::optional<RegisterBook> currentOrNewBook(RegisterBookRecords& records, const CompanyBookSettings& settings,
                                             const QString& cnpj, RegisterBookKind kind, const QDate& today,
                                             QString* refusal)
{
    const std::optional<RegisterBook> latest = records.latestBook(cnpj, kind);
    if (latest && !latest->isClosed())
        return latest;
    *refusal = missingSettingsRefusal(settings, !latest);
    if (!refusal->isEmpty())
        return std::nullopt;
    // Numbering restarts at each closing; NUMEROINICIAL numbers the first book only.
    const int firstSheet = latest ? 1 : *settings.firstSheetNumber;
    return records.openBook(cnpj, kind, firstSheet, *settings.authorisedSheets, today);
}

QString bookDescription(const RegisterBook& book)
{
    return QStringLiteral("nº %1 de %2").arg(book.number).arg(bookSubject(book.kind));
}

} // namespace livros::registerbook
