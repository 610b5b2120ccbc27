#pragma once
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

struct FormOutputs {
    QString pdf;  // empty: none; "-": standard output
    QString csv;
};

// `livros-cli balance`: the store's BSPO or BMPO (`formText`) for the quarter "Q/YYYY" or the year
// "YYYY" (one of the two set), into the PDF and/or the CSV. Returns the exit code: 0 written
// (an empty period gives the form "SEM MOVIMENTAÇÃO"); 2 usage; 3 a product without an opening
// inventory; 4 a movement query failed; 1 database, file or report error.
int runBalanceCommand(data::TDM& dm, const QString& formText, const QString& quarterText, const QString& yearText,
                      const QString& cnpjOption, const FormOutputs& outputs);

} // namespace livros::cli
