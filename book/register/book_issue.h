#pragma once
#include "book/register/register_book_records.h"

#include <QDate>
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::registerbook {

// What "Folha N" pages say: the sheet number continues from the book's last issued sheet.
inline QString sheetLabel() { return QStringLiteral("Folha {page}"); }

struct IssueRequest {
    RegisterBookKind kind = RegisterBookKind::Classic1;
    QString cnpj;
    QDate from;
    QDate to;
    QString programFolder; // where rpt\ lies
    QDate today = QDate::currentDate();
};

enum class IssueOutcome { Issued, Refused };

struct IssueResult {
    IssueOutcome outcome = IssueOutcome::Refused;
    QString message;       // why it was refused, or what was issued
    RegisterBook book;     // the book the sheets were taken from
    IssuedPeriod period;   // the issued period, when issued
    QString archivePath;   // the archived PDF file, when issued
};

// Issues the store's book of the period as it is built in the book tables: the pages printed as
// the book's next sheets ("Folha N" from the last issued sheet on), the PDF kept unchanged in
// the suite's archive (Livros/emitidos/<CNPJ>/<book>/) and recorded with its SHA-256, period and
// sheets. Refused, writing nothing: a period overlapping one already issued on any book of that
// kind (the message names its sheets and archived file); more pages than the sheets left; a
// built book of another store, list group or period; a company record without the number of
// sheets (or the first sheet number, for the first book). A report, file or database failure is
// thrown (ReportError, DbError) and leaves no record and no archived file.
IssueResult issueBuiltBook(data::TDM& dm, const IssueRequest& request);

// The refusals that do not depend on the built book (an overlapping period, a used-up book, a
// company record without the numbers a new book needs), so that a period is not built in vain;
// empty when none applies. Opens no book.
QString refusalBeforeBuild(data::TDM& dm, const IssueRequest& request);

// The archive folder of a store's book kind, inside the suite folder.
QString archiveFolder(const QString& cnpj, RegisterBookKind kind);
// An archived file as recorded (relative to the suite folder) made absolute.
QString archivedFilePath(const QString& recorded);
// The SHA-256 of a file's content in lower-case hexadecimal; empty when it cannot be read.
QString fileSha256(const QString& path);

} // namespace livros::registerbook
