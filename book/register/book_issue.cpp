#include "book/register/book_issue.h"

#include "book/classic/component_lists.h"
#include "book/register/book_opening.h"
#include "book/revised/report_selection.h"
#include "book/revised/stored_book.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/pdf_export.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_generator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace livros::registerbook {
namespace {

// "Livros" with its capital: a suite folder that is also the program folder holds the program
// "livros" itself, so the archive cannot be a folder of that name where letter case counts.
const QString kArchiveRoot = QStringLiteral("Livros/emitidos");

// The store's folder of the archive, relative to the suite folder: the CNPJ's letters and digits
// only, so that a CNPJ typed with its punctuation names the same folder.
QString archiveRelativeFolder(const QString& cnpj, RegisterBookKind kind)
{
    QString name = cnpj;
    name.remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]")));
    return QStringLiteral("%1/%2/%3").arg(kArchiveRoot, name, bookKeyword(kind));
}

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
    return QStringLiteral(
               "O período de %1 já foi emitido: o período de %2 está nas folhas %3 a %4 do livro nº %5 de %6, "
               "arquivadas em \"%7\". Uma folha emitida não é impressa de novo com outro conteúdo: para imprimir "
               "de novo, imprima esse arquivo; uma correção é lançada como novo registro datado, com a observação "
               "do farmacêutico responsável.")
        .arg(periodText(request.from, request.to), periodText(issued.from, issued.to))
        .arg(issued.firstSheet)
        .arg(issued.lastSheet)
        .arg(issued.bookNumber)
        .arg(bookSubject(request.kind), QDir::toNativeSeparators(archivedFilePath(issued.archiveFile)));
}

QString archiveFileName(const RegisterBook& book, const IssueRequest& request, int lastSheet)
{
    return QStringLiteral("livro%1_%2_a_%3_folhas_%4-%5.pdf")
        .arg(book.number, 2, 10, QLatin1Char('0'))
        .arg(request.from.toString(QStringLiteral("yyyy-MM-dd")), request.to.toString(QStringLiteral("yyyy-MM-dd")))
        .arg(book.nextSheet(), 4, 10, QLatin1Char('0'))
        .arg(lastSheet, 4, 10, QLatin1Char('0'));
}

QString overlapRefusal(const RegisterBookRecords& records, const IssueRequest& request)
{
    for (const IssuedPeriod& issued : records.issuedPeriods(request.cnpj, request.kind))
        if (issued.overlaps(request.from, request.to))
            return overlapMessage(issued, request);
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

} // namespace

QString archiveFolder(const QString& cnpj, RegisterBookKind kind)
{
    return QDir(suiteRoot()).filePath(archiveRelativeFolder(cnpj, kind));
}

QString archivedFilePath(const QString& recorded)
{
    return QDir::isAbsolutePath(recorded) ? recorded : QDir(suiteRoot()).filePath(recorded);
}

QString fileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

QString refusalBeforeBuild(data::TDM& dm, const IssueRequest& request)
{
    RegisterBookRecords records(dm.sqlcon2);
    if (const QString overlap = overlapRefusal(records, request); !overlap.isEmpty())
        return overlap;
    const std::optional<RegisterBook> latest = records.latestBook(request.cnpj, request.kind);
    if (latest && !latest->isClosed())
        return latest->sheetsLeft() <= 0 ? usedUpMessage(*latest) : QString();
    return missingSettingsRefusal(readCompanyBookSettings(dm), !latest);
}

IssueResult issueBuiltBook(data::TDM& dm, const IssueRequest& request)
{
    if (!request.from.isValid() || !request.to.isValid() || request.from > request.to)
        return refused(QStringLiteral("Período inválido: a data inicial deve ser uma data válida anterior ou igual à final."));

    RegisterBookRecords records(dm.sqlcon2);
    if (const QString overlap = overlapRefusal(records, request); !overlap.isEmpty())
        return refused(overlap);

    const QString mismatch = builtBookMismatch(dm, request);
    if (!mismatch.isEmpty())
        return refused(mismatch);

    QString refusal;
    const std::optional<RegisterBook> book =
        currentOrNewBook(records, readCompanyBookSettings(dm), request.cnpj, request.kind, request.today, &refusal);
    if (!book)
        return refused(refusal);
    if (book->sheetsLeft() <= 0)
        return refused(usedUpMessage(*book));

    const report::LaidOutReport sheets = layOutSheets(dm, request, book->nextSheet());
    const int lastSheet = book->nextSheet() + sheets.pageCount() - 1;
    if (lastSheet > book->lastAuthorisedSheet())
        return refused(QStringLiteral("O período de %1 ocupa %2 folhas, mas restam só %3 das %4 folhas autorizadas do "
                                      "livro %5 (folhas %6 a %7). Nada foi emitido. Lavre o termo de encerramento "
                                      "deste livro; a próxima emissão abre o livro seguinte.")
                           .arg(periodText(request.from, request.to))
                           .arg(sheets.pageCount())
                           .arg(book->sheetsLeft())
                           .arg(book->authorisedSheets)
                           .arg(bookDescription(*book))
                           .arg(book->nextSheet())
                           .arg(book->lastAuthorisedSheet()));

    const QString folder = archiveFolder(request.cnpj, request.kind);
    const QString name = archiveFileName(*book, request, lastSheet);
    const QString path = QDir(folder).filePath(name);
    if (!QDir().mkpath(folder))
        throw report::ReportError(QStringLiteral("Não foi possível criar a pasta de livros emitidos \"%1\"").arg(QDir::toNativeSeparators(folder)));
    if (QFileInfo::exists(path))
        throw report::ReportError(QStringLiteral("O arquivo \"%1\" já existe na pasta de livros emitidos e não é "
                                                 "substituído; nada foi emitido")
                                      .arg(QDir::toNativeSeparators(path)));
    report::writePdfFile(sheets, path, QStringLiteral("Livro de Registro Específico - %1 - folhas %2 a %3")
                                           .arg(bookSubject(request.kind))
                                           .arg(book->nextSheet())
                                           .arg(lastSheet));

    IssueResult result;
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
    period.sha256 = fileSha256(path);
    try {
        if (period.sha256.isEmpty())
            throw report::ReportError(QStringLiteral("Não foi possível ler o arquivo emitido \"%1\"").arg(QDir::toNativeSeparators(path)));
        records.recordIssue(*book, period);
    } catch (...) {
        QFile::remove(path); // an unrecorded file would block the period's file name
        throw;
    }
    // The archived sheets are kept as issued.
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
