#pragma once
#include <QString>
#include <functional>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// What the register book commands (books, issue, terms) share.

// The store that `--cnpj` names, or the single store of the installation; empty, after a usage
// message naming the command, when the text names no store or there is a choice to make.
QString registerBookStore(data::TDM& dm, const QString& cnpjOption, const QString& command);

// Runs a command's body and returns its exit code; a database or report error is shown on
// standard error and gives exit code 1.
int runShowingFailures(const std::function<int()>& body);

} // namespace livros::cli
