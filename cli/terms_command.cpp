#include "cli/terms_command.h"

#include "book/register/book_terms.h"
#include "cli/cli_options.h"
#include "cli/register_command_support.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

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
    return runShowingFailures([&] {
        registerbook::TermRequest request;
        request.kind = *kind;
        request.term = opening ? registerbook::TermKind::Opening : registerbook::TermKind::Closing;
        request.cnpj = registerBookStore(dm, cnpjOption, QStringLiteral("terms"));
        if (request.cnpj.isEmpty())
            return int(Usage);
        const QString refusal = registerbook::writeTermPdf(dm, request, programFolder(), pdfPath);
        if (refusal.isEmpty())
            return int(Done);
        userMessages().inform(refusal);
        return int(Precondition);
    });
}

} // namespace livros::cli
