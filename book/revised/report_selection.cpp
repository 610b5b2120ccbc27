#include "book/revised/report_selection.h"

#include "platform/sql_literal.h"

namespace livros::revised {

QString revisedProjectFile(RevisedMode mode)
{
    return mode == RevisedMode::Siproquim ? QStringLiteral("rpt\\RelPF.rav") : QStringLiteral("rpt\\RelLivrosRev.rav");
}

QString revisedBookSelection(RevisedMode mode, const QString& cnpj)
{
    static const QString kColumns = QStringLiteral(
        "select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, COMPONENTE, "
        "PERIODO, CONTEXTO, CODIGO, LISTA from LIVROREVCONTR where ");
    // The drugstore book identifies its products by registration, the others by DCB (two blanks
    // before AND, as the suite writes it).
    const QString filter = mode == RevisedMode::Drogaria ? QStringLiteral("REGMSMEDICAM IS NOT NULL AND CNPJ = ")
                                                         : QStringLiteral("DCB IS NOT NULL  AND CNPJ = ");
    return kColumns + filter + sqlLiteral(cnpj);
}

} // namespace livros::revised
