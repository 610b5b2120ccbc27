#pragma once
#include <QString>
#include <QTextStream>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli check`: reads the store's data for the period (nothing is written) and writes the
// report of what would make its books wrong to `out`. The store is `cnpj`, or the company's when
// TABLAB holds one row; the period is `fromText`..`toText` ("dd/mm/yy"), or the PERIODO record's
// when both are empty. With `pdfPath` the printed report goes to that file ("-": standard output)
// instead of the text. Returns the exit code: 0 nothing found; 3 something found, or a bad date;
// 1 database, report or file error; 2 usage error.
int runCheckCommand(data::TDM& dm, const QString& cnpj, const QString& fromText, const QString& toText,
                    const QString& pdfPath, QTextStream& out);

} // namespace livros::cli
