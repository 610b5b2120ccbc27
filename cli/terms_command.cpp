#include "cli/terms_command.h"

#include "book/register/book_terms.h"
#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "data/db_error.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

namespace livros::cli {

int runTermsCommand(data::TDM& dm, const QString& book, const QString& cnpjOption, bool opening, bool closing,
                    const QString& pdfPath)
{
    const auto kind = registerbook::bookKindFromKeyword(book);
    if (!kind || opening == closing || pdfPath.isEmpty()) {
        showStandardError(QStringLiteral("terms: use --book %1, --opening ou --closing, e --pdf ARQUIVO")
                              .arg(registerbook::bookKeywordList()));
        return Usage;
    }
    try {
        registerbook::TermRequest request;
        request.kind = *kind;
        request.term = opening ? registerbook::TermKind::Opening : registerbook::TermKind::Closing;
        request.cnpj = cnpjOption.isEmpty() ? singleStoreCnpj(dm) : cnpjOption.left(18);
        if (request.cnpj.isEmpty()) {
            showStandardError(QStringLiteral("terms: --cnpj é necessário: TABLAB não tem exatamente uma loja"));
            return Usage;
        }
        const QString refusal = registerbook::writeTermPdf(dm, request, programFolder(), pdfPath);
        if (!refusal.isEmpty()) {
            userMessages().inform(refusal);
            return Precondition;
        }
        return Done;
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    }
    return Failure;
}

} // namespace livros::cli
