#pragma once
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli terms`: the opening or the closing term of the store's current book of that kind,
// written to a PDF file. The opening term opens the next book when there is no open one; the
// closing term closes the book. Returns the exit code: 0 written; 1 database, file or report
// error; 2 usage error; 3 refused (no sheet issued, book closed, company record incomplete).
int runTermsCommand(data::TDM& dm, const QString& book, const QString& cnpj, bool opening, bool closing,
                    const QString& pdfPath);

} // namespace livros::cli
