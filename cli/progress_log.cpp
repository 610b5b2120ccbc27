#include "cli/progress_log.h"

#include <QLocale>

namespace livros::cli {

QString buildSummaryLine(const QString& storeCnpj, const QString& book, const QString& from, const QString& to,
                         int products, int lines, double seconds)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return QStringLiteral("Livro montado: loja %1, livro %2, período %3 a %4, %5 produtos, %6 linhas gravadas, %7 s")
        .arg(storeCnpj, book, from, to)
        .arg(products)
        .arg(lines)
        .arg(brazil.toString(seconds, 'f', 1));
}

} // namespace livros::cli
