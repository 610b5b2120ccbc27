#pragma once
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli issue`: builds the book of the period as `classic` or `revised` would, issues it on
// the book's next sheets into the suite's archive and records it; `pdfCopy`, when given, gets a
// copy of the archived file. `book` is CLASSIC1..CLASSIC4, DROGARIA, INSUMOSCOMPLETO or SIPROQUIM;
// the dates are typed as "dd/mm/yy". Returns the exit code: 0 issued; 1 database, file or report
// error; 2 usage error; 3 refused (overlapping period, no sheets left, company record incomplete,
// bad date, no inventory); 4 a movement query failed.
int runIssueCommand(data::TDM& dm, const QString& book, const QString& cnpj, const QString& fromText,
                    const QString& toText, const QString& pdfCopy);

} // namespace livros::cli
