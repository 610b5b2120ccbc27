#pragma once
#include <QString>

namespace livros::cli {

// The line that ends a build, always written (a terminal's progress line aside, the only word
// a build that succeeds leaves on standard error): "Livro montado: loja ..., livro ..., período
// ... a ..., N produtos, M linhas gravadas, S s".
QString buildSummaryLine(const QString& storeCnpj, const QString& book, const QString& from, const QString& to,
                         int products, int lines, double seconds);

} // namespace livros::cli
