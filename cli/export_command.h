#pragma once
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// `livros-cli export`: renders the stored book through the report "LivroContr" of the book's
// project file, with the data selection the window uses, into a PDF file. `book` is CLASSIC,
// DROGARIA, INSUMOSCOMPLETO or SIPROQUIM. Returns the exit code (0 done, 1 failure, 2 usage).
int runExportCommand(data::TDM& dm, const QString& book, const QString& cnpj, const QString& pdfPath);

} // namespace livros::cli
