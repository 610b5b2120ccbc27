#pragma once
#include "book/register/register_book_records.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

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
    // Told once when another workstation is issuing and this issue waits for it.
    std::function<void(const QString&)> showWaiting;
};

enum class IssueOutcome { Issued, Refused, NotBuilt };

struct IssueResult {
    IssueOutcome outcome = IssueOutcome::Refused;
    QString message;       // why it was refused, or what was issued
    QStringList notices;   // unrecorded archive files found and moved aside, said before anything else
    int buildCode = 0;     // the build's exit code, when it did not build (NotBuilt)
    RegisterBook book;     // the book the sheets were taken from
    IssuedPeriod period;   // the issued period, when issued
    QString archivePath;   // the archived PDF file, when issued
};

// Issues the store's book of the period on the book's next sheets ("Folha N" from the last issued
// sheet on), as one act: from the first check to the record, the book records are held against
// every other issue and the book table against every build, so two workstations never take the
// same sheets nor issue a book that changed meanwhile. Files of the archive without a record (an
// interrupted issue) are moved aside first. Refused, writing nothing and opening no book: a
// period that ends after today; a period overlapping one already issued on any book of that kind
// (the message names its sheets and archived file, and says when that file is missing or
// altered); a period earlier than the last one issued; more pages than the sheets left (the
// message says how many it needs and where the period could be split); sheet numbers out of
// range; a built book of another store, list group or period; a company record without the
// numbers a new book needs. `build`, when given, builds the book of the period once the records
// are held and returns its exit code (0 built). The PDF is written under a temporary name, read
// back and verified, recorded with its size and SHA-256, and renamed to its archive name only
// after the record is committed. A report, file or database failure is thrown (ReportError,
// DbError) and leaves no record and no archived file.
IssueResult issuePeriod(data::TDM& dm, const IssueRequest& request, const std::function<int()>& build = {});

// The message of an issue that waits for another workstation.
QString otherStationIssuingMessage();

} // namespace livros::registerbook
