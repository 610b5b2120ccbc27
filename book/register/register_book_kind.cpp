#include "book/register/register_book_kind.h"

#include "book/revised/report_selection.h"

#include <QStringList>

namespace livros::registerbook {

QString bookKeyword(RegisterBookKind kind)
{
    switch (kind) {
    case RegisterBookKind::Classic1: return QStringLiteral("CLASSIC1");
    case RegisterBookKind::Classic2: return QStringLiteral("CLASSIC2");
    case RegisterBookKind::Classic3: return QStringLiteral("CLASSIC3");
    case RegisterBookKind::Classic4: return QStringLiteral("CLASSIC4");
    case RegisterBookKind::Drogaria: return QStringLiteral("DROGARIA");
    case RegisterBookKind::InsumosCompleto: return QStringLiteral("INSUMOSCOMPLETO");
    case RegisterBookKind::Siproquim: return QStringLiteral("SIPROQUIM");
    }
    return {};
}

std::optional<RegisterBookKind> bookKindFromKeyword(const QString& keyword)
{
    for (RegisterBookKind kind : kAllRegisterBookKinds)
        if (bookKeyword(kind) == keyword)
            return kind;
    return std::nullopt;
}

QString bookKeywordList()
{
    QStringList words;
    for (RegisterBookKind kind : kAllRegisterBookKinds)
        words << bookKeyword(kind);
    return words.join(QLatin1Char('|'));
}

RegisterBookKind classicBookKind(int group)
{
    switch (group) {
    case 2: return RegisterBookKind::Classic2;
    case 3: return RegisterBookKind::Classic3;
    case 4: return RegisterBookKind::Classic4;
    default: return RegisterBookKind::Classic1;
    }
}

RegisterBookKind revisedBookKind(revised::RevisedMode mode)
{
    switch (mode) {
    case revised::RevisedMode::Drogaria: return RegisterBookKind::Drogaria;
    case revised::RevisedMode::InsumosCompleto: return RegisterBookKind::InsumosCompleto;
    case revised::RevisedMode::Siproquim: return RegisterBookKind::Siproquim;
    }
    return RegisterBookKind::Drogaria;
}

int classicGroupOf(RegisterBookKind kind)
{
    switch (kind) {
    case RegisterBookKind::Classic1: return 1;
    case RegisterBookKind::Classic2: return 2;
    case RegisterBookKind::Classic3: return 3;
    case RegisterBookKind::Classic4: return 4;
    default: return 0;
    }
}

std::optional<revised::RevisedMode> revisedModeOf(RegisterBookKind kind)
{
    switch (kind) {
    case RegisterBookKind::Drogaria: return revised::RevisedMode::Drogaria;
    case RegisterBookKind::InsumosCompleto: return revised::RevisedMode::InsumosCompleto;
    case RegisterBookKind::Siproquim: return revised::RevisedMode::Siproquim;
    default: return std::nullopt;
    }
}

QString bookSubject(RegisterBookKind kind)
{
    // The window's headings of the four book rows.
    switch (kind) {
    case RegisterBookKind::Classic1:
        return QStringLiteral("Medicamentos entorpecentes - Listas A1 e A2");
    case RegisterBookKind::Classic2:
        return QStringLiteral("Medicamentos psicotrópicos - Listas A3, B1 e B2");
    case RegisterBookKind::Classic3:
        return QStringLiteral("Medicamentos sujeitos a controle especial - Listas C1, C2, C4 e C5");
    case RegisterBookKind::Classic4:
        return QStringLiteral("Medicamentos imunossupressores - Lista C3");
    case RegisterBookKind::Drogaria:
        return QStringLiteral("Medicamentos sujeitos a controle especial dispensados pela drogaria");
    case RegisterBookKind::InsumosCompleto:
        return QStringLiteral("Substâncias e insumos sujeitos a controle especial da farmácia de manipulação");
    case RegisterBookKind::Siproquim:
        return QStringLiteral("Produtos químicos controlados pela Polícia Federal (SIPROQUIM)");
    }
    return {};
}

QString bookProjectFile(RegisterBookKind kind)
{
    if (const auto mode = revisedModeOf(kind))
        return revised::revisedProjectFile(*mode);
    return QStringLiteral("rpt\\RelLivros.rav");
}

} // namespace livros::registerbook
