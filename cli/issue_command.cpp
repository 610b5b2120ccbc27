#include "cli/issue_command.h"

#include "book/register/book_issue.h"
#include "cli/classic_command.h"
#include "cli/cli_options.h"
#include "cli/revised_command.h"
#include "cli/register_command_support.h"
#include "platform/date_text.h"
#include "platform/native_file_name.h"
#include "platform/output_file.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QFile>
#include <QIODevice>
#include <cstdio>
#include <optional>

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

        request.showWaiting = [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
        // The copy is checked before anything is issued: a name it cannot take refuses the run.
        std::optional<OutputFile> copy;
        if (!pdfCopy.isEmpty()) {
            copy.emplace(pdfCopy);
            if (const QString why = copy->precheck(); !why.isEmpty()) {
                showStandardError(QStringLiteral("issue: --pdf \"%1\": %2").arg(pdfCopy, why));
                return int(Usage);
            }
        }
        const registerbook::IssueResult result = registerbook::issuePeriod(
            dm, request, [&] { return buildBook(dm, *kind, request.cnpj, *from, *to); });
        for (const QString& notice : result.notices)
            showStandardError(notice);
        if (result.outcome == registerbook::IssueOutcome::NotBuilt)
            return result.buildCode;
        if (result.outcome == registerbook::IssueOutcome::Refused) {
            userMessages().inform(result.message);
            return int(Precondition);
        }
        // With the copy on standard output, the message goes with the others, apart from the PDF.
        std::fprintf(pdfCopy == QLatin1String("-") ? stderr : stdout, "%s\n", qPrintable(result.message));
        if (copy) {
            QFile archived;
            QByteArray bytes;
            if (openForReading(archived, result.archivePath))
                bytes = archived.readAll();
            copy->write(bytes);
            if (const QString why = copy->commit(); !why.isEmpty() || bytes.size() != result.period.size) {
                showStandardError(QStringLiteral("O período foi emitido e arquivado, mas a cópia \"%1\" não pôde ser "
                                                 "gravada: %2")
                                      .arg(pdfCopy, why.isEmpty() ? QStringLiteral("o arquivo emitido não pôde ser lido") : why));
                return int(Failure);
            }
        }
        return int(Done);
    });
}

} // namespace livros::cli
