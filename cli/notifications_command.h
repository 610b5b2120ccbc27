#pragma once
#include "cli/balance_command.h"

#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli notifications`: the store's RMNRA or RMNRB2 (`formText`) for the month "MM/YYYY",
// into the PDF and/or the CSV. Returns the exit code: 0 written (a month without such sales gives
// the form "SEM MOVIMENTAÇÃO"); 2 usage; 1 database, file or report error.
int runNotificationsCommand(data::TDM& dm, const QString& formText, const QString& monthText,
                            const QString& cnpjOption, const FormOutputs& outputs);

} // namespace livros::cli
