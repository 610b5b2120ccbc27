#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// What the form commands (balance, notifications) share.

// The store of --cnpj (or the company's), or empty after showing the usage error of `command`.
QString formStore(data::TDM& dm, const QString& command, const QString& cnpjOption);

// Writes `content` to `path` whole or not at all ("-": standard output). Returns the exit code,
// the reason shown on standard error when it fails.
int writeCsvFile(const QString& path, const QByteArray& content);

// Writes the PDF with `render(file)` (true when written; false when the project lacks the report
// `reportName`) to `path`. Returns the exit code; report errors are shown and give 1.
int writeFormPdf(const QString& path, const QString& projectPath, const QString& reportName,
                 const std::function<bool(const QString& file)>& render);

} // namespace livros::cli
