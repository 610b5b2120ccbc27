#include "book/register/book_issue.h"

#include "book/classic/component_lists.h"
#include "book/register/archive_check.h"
#include "book/register/book_opening.h"
#include "book/revised/order_column.h"
#include "book/revised/report_selection.h"
#include "book/revised/stored_book.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "data/transaction.h"
#include "platform/output_file.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/pdf_export.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_generator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace livros::registerbook {
namespace {

QString periodText(const QDate& from, const QDate& to)
{
    return QStringLiteral("%1 a %2").arg(fullDateText(from), fullDateText(to));
}

IssueResult refused(const QString& message)
{
    IssueResult result;
    result.message = message;
    return result;
}

// The first line of the built book: its store, book and period, as the builders wrote them.
struct BuiltBook {
    bool empty = true;
    QString cnpj;
    QString bookName;
    QString period;
};

BuiltBook builtBook(data::TDM& dm, const IssueRequest& request)
{
    BuiltBook built;
    data::Query& query = dm.SQLQuery1;
    query.close();
    if (classicGroupOf(request.kind) > 0)
        query.setSql(QStringLiteral("select first 1 CNPJ, LIVRO, PERIODO from LIVROCONTR"));
    else
        query.setSql(QStringLiteral("select first 1 CNPJ, '' as LIVRO, PERIODO from LIVROREVCONTR where ")
                     + revised::modeLinesCondition(*revisedModeOf(request.kind)) + QStringLiteral(" and CNPJ = ")
                     + sqlLiteral(request.cnpj));
    query.open();
    if (!query.eof()) {
        built.empty = false;
        built.cnpj = query.asString(QStringLiteral("CNPJ")).trimmed();
        built.bookName = query.asString(QStringLiteral("LIVRO")).trimmed();
        built.period = query.asString(QStringLiteral("PERIODO")).trimmed();
    }
    query.close();
    return built;
}

// Empty when the book tables hold the requested book; else why they do not.
QString builtBookMismatch(data::TDM& dm, const IssueRequest& request)
{
    const auto mode = revisedModeOf(request.kind);
    if (mode && revised::storedBookIsOfAnotherMode(dm, *mode, request.cnpj))
        return QStringLiteral("O livro revisado montado para a loja não é o de %1. Monte-o antes de emiti-lo; "
                              "nada foi emitido.")
            .arg(bookSubject(request.kind));
    const BuiltBook built = builtBook(dm, request);
    if (built.empty)
        return {}; // a book without lines: the period had no movement
    const int group = classicGroupOf(request.kind);
    // The digits of the two dates: the classic book writes two-digit years, the revised book four,
    // with the separator of the workstation's date form.
    const QString pattern = group > 0 ? QStringLiteral("ddMMyy") : QStringLiteral("ddMMyyyy");
    const QString expectedDigits = request.from.toString(pattern) + request.to.toString(pattern);
    QString builtDigits = built.period;
    builtDigits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    const bool same = builtDigits == expectedDigits
                      && (group == 0 || (built.cnpj == request.cnpj && built.bookName == classic::groupBookName(group)));
    if (same)
        return {};
    return QStringLiteral("O livro montado (%1, período %2) não é o livro de %3 do período de %4. "
                          "Monte o livro desse período antes de emiti-lo; nada foi emitido.")
        .arg(built.bookName.isEmpty() ? built.cnpj : built.bookName, built.period, bookSubject(request.kind),
             periodText(request.from, request.to));
}

QString overlapMessage(const IssuedPeriod& issued, const IssueRequest& request)
{
    const QString problem = archivedFileProblem(issued);
    const QString text = QStringLiteral(
               "O período de %1 já foi emitido: o período de %2 está nas folhas %3 a %4 do livro nº %5 de %6, "
               "arquivadas em \"%7\". Uma folha emitida não é impressa de novo com outro conteúdo: para imprimir "
               "de novo, imprima esse arquivo; uma correção é lançada como novo registro datado, com a observação "
               "do farmacêutico responsável.")
        .arg(periodText(request.from, request.to), periodText(issued.from, issued.to))
        .arg(issued.firstSheet)
        .arg(issued.lastSheet)
        .arg(issued.bookNumber)
        .arg(bookSubject(request.kind), QDir::toNativeSeparators(archivedFilePath(issued.archiveFile)));
    return problem.isEmpty() ? text : text + QLatin1Char('\n') + problem;
}

QString archiveFileName(const RegisterBook& book, const IssueRequest& request, int lastSheet)
{
    return QStringLiteral("livro%1_%2_a_%3_folhas_%4-%5.pdf")
        .arg(book.number, 2, 10, QLatin1Char('0'))
        .arg(request.from.toString(QStringLiteral("yyyy-MM-dd")), request.to.toString(QStringLiteral("yyyy-MM-dd")))
        .arg(book.nextSheet(), 4, 10, QLatin1Char('0'))
        .arg(lastSheet, 4, 10, QLatin1Char('0'));
}

// An overlapping period, or one earlier than the last issued: periods are issued in order, and a
// correction is a new dated entry of a later period.
QString periodRefusal(const std::vector<IssuedPeriod>& issued, const IssueRequest& request)
{
    for (const IssuedPeriod& period : issued)
        if (period.overlaps(request.from, request.to))
            return overlapMessage(period, request);
    const IssuedPeriod* last = nullptr;
    for (const IssuedPeriod& period : issued)
        if (!last || period.to > last->to)
            last = &period;
    if (last && request.to < last->from)
        return QStringLiteral("O período de %1 é anterior ao último emitido, o de %2 (folhas %3 a %4 do livro nº %5): "
                              "os períodos são emitidos em ordem, nas folhas seguintes. Uma correção de um período já "
                              "emitido é lançada como novo registro datado num período seguinte, que se refere ao "
                              "registro errado, com a observação do farmacêutico responsável. Nada foi emitido.")
            .arg(periodText(request.from, request.to), periodText(last->from, last->to))
            .arg(last->firstSheet)
            .arg(last->lastSheet)
            .arg(last->bookNumber);
    return {};
}

QString usedUpMessage(const RegisterBook& book)
{
    return QStringLiteral("O livro %1 já usou as %2 folhas autorizadas (folhas %3 a %4); restam 0. "
                          "Lavre o termo de encerramento; a próxima emissão abre o livro seguinte.")
        .arg(bookDescription(book))
        .arg(book.authorisedSheets)
        .arg(book.firstSheet)
        .arg(book.lastAuthorisedSheet());
}

report::LaidOutReport layOutSheets(data::TDM& dm, const IssueRequest& request, int firstSheet)
{
    if (const auto mode = revisedModeOf(request.kind)) {
        dm.CDS_LivroRevContr.close();
        dm.setRevisedBookSelection(revised::revisedBookSelection(*mode, request.cnpj.left(18)));
    }
    const report::ReportProject project =
        report::loadReportProject(localPath(request.programFolder + bookProjectFile(request.kind)));
    const report::ReportDefinition* definition = project.find(QStringLiteral("LivroContr"));
    if (!definition)
        throw report::ReportError(QStringLiteral("O projeto \"%1\" não tem o relatório \"LivroContr\"; nada foi emitido")
                                      .arg(project.filePath));
    report::DataModuleConnections connections(dm);
    report::GenerateOptions options;
    options.today = request.today;
    options.firstPage = firstSheet;
    options.pageLabel = sheetLabel();
    return report::generateReport(project, *definition, connections.set, options);
}

// A period that needs more sheets than the book has left: how many it needs, and about where the
// sheets left would end, by the share of the period they cover (the pages are not equal).
QString tooManyPagesMessage(const RegisterBook& book, const IssueRequest& request, int pages)
{
    const int left = book.sheetsLeft();
    const qint64 days = request.from.daysTo(request.to) + 1;
    const QDate splitAt = request.from.addDays(qMax<qint64>(0, days * left / pages - 1));
    const QString split = QStringLiteral("Divida o período: as %1 folhas que restam cobrem até cerca de %2; emita de %3 a "
                                         "uma data próxima dessa e o restante depois.")
                              .arg(left)
                              .arg(fullDateText(splitAt), fullDateText(request.from));
    if (book.issuedSheets == 0)
        return QStringLiteral("O período de %1 ocupa %2 folhas, mas o livro %3 tem só %4 folhas autorizadas (folhas %5 a "
                              "%6). Nada foi emitido e nenhum livro foi aberto. %7")
            .arg(periodText(request.from, request.to))
            .arg(pages)
            .arg(bookDescription(book))
            .arg(book.authorisedSheets)
            .arg(book.firstSheet)
            .arg(book.lastAuthorisedSheet())
            .arg(split);
    return QStringLiteral("O período de %1 ocupa %2 folhas, mas restam só %3 das %4 folhas autorizadas do livro %5 "
                          "(folhas %6 a %7). Nada foi emitido. %8 Ou lavre o termo de encerramento deste livro; a "
                          "próxima emissão abre o livro seguinte.")
        .arg(periodText(request.from, request.to))
        .arg(pages)
        .arg(left)
        .arg(book.authorisedSheets)
        .arg(bookDescription(book))
        .arg(book.nextSheet())
        .arg(book.lastAuthorisedSheet())
        .arg(split);
}

QString bookTable(RegisterBookKind kind)
{
    return classicGroupOf(kind) > 0 ? QStringLiteral("LIVROCONTR") : QStringLiteral("LIVROREVCONTR");
}

} // namespace

QString otherStationIssuingMessage()
{
    return QStringLiteral("Outra estação está emitindo um livro; aguardando...");
}

IssueResult issuePeriod(data::TDM& dm, const IssueRequest& request, const std::function<int()>& build)
{
    if (!request.from.isValid() || !request.to.isValid() || request.from > request.to)
        return refused(QStringLiteral("Período inválido: a data inicial deve ser uma data válida anterior ou igual à final."));
    if (request.to > request.today)
        return refused(QStringLiteral("O período de %1 termina depois de hoje (%2). Só um período encerrado é emitido: "
                                      "as folhas emitidas não são impressas de novo, e um período em curso ainda recebe "
                                      "movimentos. Nada foi emitido.")
                           .arg(periodText(request.from, request.to), fullDateText(request.today)));

    RegisterBookRecords records(dm.sqlcon2); // creates the tables before the transaction
    // The layout of a revised book reads its stored line order, a column an older database gets
    // here, before the issue holds the book table.
    if (revisedModeOf(request.kind))
        revised::ensureRevisedOrderColumn(dm.sqlcon1);
    // Every other issue waits here until this one is recorded or given up.
    data::Transaction held(dm.sqlcon2, RegisterBookRecords::tables(), [&] {
        if (request.showWaiting)
            request.showWaiting(otherStationIssuingMessage());
    });
    const std::vector<IssuedPeriod> issued = records.issuedPeriods(request.cnpj, request.kind);
    IssueResult result;
    result.notices = recoverUnrecordedFiles(issued, request.cnpj, request.kind);
    const auto refuse = [&](const QString& message) {
        result.outcome = IssueOutcome::Refused;
        result.message = message;
        return result;
    };

    if (const QString refusal = periodRefusal(issued, request); !refusal.isEmpty())
        return refuse(refusal);
    const CompanyBookSettings settings = readCompanyBookSettings(dm);
    {
        const std::optional<RegisterBook> latest = records.latestBook(request.cnpj, request.kind);
        if (latest && !latest->isClosed() && latest->sheetsLeft() <= 0)
            return refuse(usedUpMessage(*latest));
        if (!latest || latest->isClosed())
            if (const QString missing = missingSettingsRefusal(settings, !latest); !missing.isEmpty())
                return refuse(missing);
    }

    if (build) {
        if (const int code = build(); code != 0) {
            result.outcome = IssueOutcome::NotBuilt;
            result.buildCode = code;
            return result;
        }
    }

    // The book table stays as it is checked and laid out until the issue is recorded.
    data::Transaction bookHeld(dm.sqlcon1, {bookTable(request.kind)}, [&] {
        if (request.showWaiting)
            request.showWaiting(otherStationIssuingMessage());
    });
    if (const QString mismatch = builtBookMismatch(dm, request); !mismatch.isEmpty())
        return refuse(mismatch);

    QString refusal;
    const std::optional<RegisterBook> book =
        currentOrNewBook(records, settings, request.cnpj, request.kind, request.today, &refusal);
    if (!book)
        return refuse(refusal);

    const report::LaidOutReport sheets = layOutSheets(dm, request, book->nextSheet());
    const int pages = sheets.pageCount();
    if (pages > book->sheetsLeft())
        return refuse(tooManyPagesMessage(*book, request, pages));
    const int lastSheet = book->nextSheet() + pages - 1;

    const QString folder = archiveFolder(request.cnpj, request.kind);
    const QString name = archiveFileName(*book, request, lastSheet);
    const QString path = QDir(folder).filePath(name);
    if (!QDir().mkpath(folder))
        throw report::ReportError(QStringLiteral("Não foi possível criar a pasta de livros emitidos \"%1\"").arg(QDir::toNativeSeparators(folder)));
    if (QFileInfo::exists(path))
        throw report::ReportError(QStringLiteral("O arquivo \"%1\" já existe na pasta de livros emitidos e não é "
                                                 "substituído; nada foi emitido")
                                      .arg(QDir::toNativeSeparators(path)));
    OutputFile archived(path, OutputFile::Place::IntoArchive);
    report::writePdfBytes(archived, report::renderPdf(sheets, QStringLiteral("Livro de Registro Específico - %1 - folhas %2 a %3")
                                                                  .arg(bookSubject(request.kind))
                                                                  .arg(book->nextSheet())
                                                                  .arg(lastSheet)));

    result.outcome = IssueOutcome::Issued;
    result.book = *book;
    result.archivePath = path;
    IssuedPeriod& period = result.period;
    period.bookId = book->id;
    period.bookNumber = book->number;
    period.from = request.from;
    period.to = request.to;
    period.firstSheet = book->nextSheet();
    period.lastSheet = lastSheet;
    period.archiveFile = archiveRelativeFolder(request.cnpj, request.kind) + QLatin1Char('/') + name;
    period.sha256 = archived.sha256();
    period.size = archived.size();
    records.recordIssue(*book, period);
    held.commit();
    bookHeld.commit();
    // Recorded: the verified file takes its archive name and is kept as issued.
    if (const QString why = archived.install(); !why.isEmpty())
        throw report::ReportError(QStringLiteral("O período foi emitido e registrado, mas o arquivo ficou com o nome "
                                                 "temporário \"%1\" (%2); a próxima emissão desse livro lhe dá o nome \"%3\"")
                                      .arg(QDir::toNativeSeparators(archived.temporaryName()), why, QDir::toNativeSeparators(path)));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    result.book.issuedSheets = lastSheet - book->firstSheet + 1;
    result.message = QStringLiteral("Período de %1 emitido nas folhas %2 a %3 do livro %4 (restam %5 de %6 folhas). "
                                    "Arquivo: \"%7\" (SHA-256 %8).")
                         .arg(periodText(request.from, request.to))
                         .arg(period.firstSheet)
                         .arg(period.lastSheet)
                         .arg(bookDescription(*book))
                         .arg(result.book.sheetsLeft())
                         .arg(book->authorisedSheets)
                         .arg(QDir::toNativeSeparators(path), period.sha256);
    return result;
}

} // namespace livros::registerbook
