#include "book/revised/movement_statement.h"

#include "platform/sql_literal.h"


#include <algorithm>

namespace livros::revised {

std::optional<RevisedMode> revisedModeFromKeyword(const QString& keyword)
{
    if (keyword == u"DROGARIA")
        return RevisedMode::Drogaria;
    if (keyword == u"INSUMOSCOMPLETO")
        return RevisedMode::InsumosCompleto;
    if (keyword == u"SIPROQUIM")
        return RevisedMode::Siproquim;
    return std::nullopt;
}

std::optional<RevisedMode> viewOnlyModeFromKeyword(const QString& keyword)
{
    if (!keyword.endsWith(u"VIEW"))
        return std::nullopt;
    return revisedModeFromKeyword(keyword.chopped(4));
}

QString keyword(RevisedMode mode)
{
    switch (mode) {
    case RevisedMode::Drogaria: return QStringLiteral("DROGARIA");
    case RevisedMode::InsumosCompleto: return QStringLiteral("INSUMOSCOMPLETO");
    case RevisedMode::Siproquim: return QStringLiteral("SIPROQUIM");
    }
    return {};
}

} // namespace livros::revised
