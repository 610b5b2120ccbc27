#pragma once
#include <QDate>
#include <QString>
#include <QTextStream>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli classic`: builds the classic book of list group 1..4 as the window's preparation
// does in the classic run mode, writing the listing to `listingOut` (one line per output line).
// The store is `cnpj`, or, when empty, the company's CNPJ provided TABLAB holds exactly one row.
// The period is `from`..`to`, or, when both are null, the dates of the PERIODO record. A date
// outside the two-digit-year window of the period edits is a bad date.
// Messages go to standard error. Returns the exit code: 0 built; 1 database error; 2 usage error
// (group, missing --cnpj); 3 bad date or no inventory (the stock program is not started);
// 4 a movement query failed (its statement on standard error) or the book's lines did not add up.
// While another workstation builds the book, its message goes to standard error and the command
// waits; a wait that runs out is a database error (1) that changes nothing.
int runClassicCommand(data::TDM& dm, int group, const QString& cnpj, QDate from, QDate to, QTextStream& listingOut);

// The same with the dates as typed ("dd/mm/yy", read as the period edits read them); both empty
// means the PERIODO record. A text that is not a date gives exit code 3.
int runClassicCommand(data::TDM& dm, int group, const QString& cnpj, const QString& fromText,
                      const QString& toText, QTextStream& listingOut);

} // namespace livros::cli
