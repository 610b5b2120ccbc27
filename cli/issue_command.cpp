#include "cli/issue_command.h"

#include "book/register/book_issue.h"
#include "cli/classic_command.h"
#include "cli/cli_options.h"
#include "cli/revised_command.h"
#include "cli/register_command_support.h"
#include "platform/date_text.h"
#include "platform/native_file_name.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QFile>
#include <QIODevice>
#include <cstdio>

namespace livros::cli {
namespace {

// Builds the book of the period into the book tables; the classic listing is not wanted here.
int buildBook(data::TDM& dm, registerbook::RegisterBookKind kind, const QString& cnpj, const QDate& from, const QDate& to)
{
    if (const auto mode = registerbook::revisedModeOf(kind))
        return runRevisedCommand(dm, *mode, cnpj, from, to);
    QString discarded;
    QTextStream listing(&discarded, QIODevice::WriteOnly);
    return runClassicCommand(dm, registerbook::classicGroupOf(kind), cnpj, from, to, listing);
}

// The copy replaces an older file whole, keeps every byte of its name, and is the user's to
// handle: it gets the usual permissions, not the archive's read-only mark.
bool copyArchived(const QString& archived, const QString& target)
{
    return installFile(archived, target).isEmpty();
}

} // namespace

int runIssueCommand(data::TDM& dm, const QString& book, const QString& cnpjOption, const QString& fromText,
                    const QString& toText, const QString& pdfCopy)
{
    const auto kind = registerbook::bookKindFromKeyword(book);
    if (!kind) {
        showStandardError(QStringLiteral("issue: --book deve ser %1").arg(registerbook::bookKeywordList()));
        return Usage;
    }
    if (fromText.isEmpty() || toText.isEmpty()) {
        showStandardError(QStringLiteral("issue: informe o período com --from DD/MM/AA --to DD/MM/AA"));
        return Usage;
    }
    const std::optional<QDate> from = parseDateText(fromText);
    const std::optional<QDate> to = parseDateText(toText);
    if (!from || !to || *from > *to) {
        userMessages().inform(QStringLiteral("Período inválido: \"%1\" a \"%2\".").arg(fromText, toText));
        return Precondition;
    }
    return runShowingFailures([&] {
        registerbook::IssueRequest request;
        request.kind = *kind;
        request.cnpj = registerBookStore(dm, cnpjOption, QStringLiteral("issue"));
        if (request.cnpj.isEmpty())
            return int(Usage);
        request.from = *from;
        request.to = *to;
        request.programFolder = programFolder();

        if (const QString refusal = registerbook::refusalBeforeBuild(dm, request); !refusal.isEmpty()) {
            userMessages().inform(refusal);
            return int(Precondition);
        }
        if (const int built = buildBook(dm, *kind, request.cnpj, *from, *to); built != Done)
            return built;
        const registerbook::IssueResult result = registerbook::issueBuiltBook(dm, request);
        if (result.outcome == registerbook::IssueOutcome::Refused) {
            userMessages().inform(result.message);
            return int(Precondition);
        }
        std::printf("%s\n", qPrintable(result.message));
        if (!pdfCopy.isEmpty() && !copyArchived(result.archivePath, pdfCopy)) {
            showStandardError(QStringLiteral("O período foi emitido e arquivado, mas a cópia \"%1\" não pôde ser gravada")
                                  .arg(pdfCopy));
            return int(Failure);
        }
        return int(Done);
    });
}

} // namespace livros::cli
