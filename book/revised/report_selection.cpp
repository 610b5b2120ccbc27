#include "book/revised/report_selection.h"

#include "platform/sql_literal.h"

namespace livros::revised {

QString revisedProjectFile(RevisedMode mode)
{
    return mode == RevisedMode::Siproquim ? QStringLiteral("rpt\\RelPF.rav") : QStringLiteral("rpt\\RelLivrosRev.rav");
}

QString modeLinesCondition(RevisedMode mode)
{
    // Each mode writes the empty text into the identifier column it leaves blank; a line whose
    // own identifier is empty belongs to no book (the server ignores trailing blanks).
    switch (mode) {
    case RevisedMode::Drogaria:
        return QStringLiteral("REGMSMEDICAM <> ''");
    case RevisedMode::InsumosCompleto:
        return QStringLiteral("DCB <> '' AND UPPER(SUBSTRING(DCB FROM 1 FOR 3)) <> 'TPN' "
                              "AND COALESCE(REGMSMEDICAM, '') = ''");
    case RevisedMode::Siproquim:
        return QStringLiteral("UPPER(SUBSTRING(DCB FROM 1 FOR 3)) = 'TPN'");
    }
    return {};
}

QString revisedBookSelection(RevisedMode mode, const QString& cnpj)
{
    static const QString kColumns = QStringLiteral(
        "select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, "
        "PERIODO, CONTEXTO, CODIGO, LISTA, CNPJ, ORDEM, "
        "(select first 1 LABORATORIO from TABLAB where TABLAB.LOJA = LIVROREVCONTR.CNPJ) LABORATORIO "
        "from LIVROREVCONTR where ");
    return kColumns + modeLinesCondition(mode) + QStringLiteral(" AND CNPJ = ") + sqlLiteral(cnpj);
}

} // namespace livros::revised
