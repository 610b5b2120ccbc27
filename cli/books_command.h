#pragma once
#include <QString>
#include <QTextStream>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli books`: lists the store's register books and their sheets on `out`: each book with
// its opening and closing dates, first sheet, authorised and issued sheets, and each issued
// period with its sheets and archived file. Returns the exit code (0, 1 database error, 2 usage).
int runBooksCommand(data::TDM& dm, const QString& cnpj, QTextStream& out);

} // namespace livros::cli
