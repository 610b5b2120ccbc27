#include "cli/progress_log.h"

#include <QLocale>
#include <cstdio>

namespace livros::cli {

namespace {
constexpr int kEveryProductUpTo = 20;
}

void ProgressLog::start(int total)
{
    m_total = total;
    m_clock.start();
}

bool ProgressLog::logs(int position, int total)
{
    if (total <= kEveryProductUpTo || position == 1 || position == total)
        return true;
    // The first position at or past each multiple of 5 %.
    return position * 20 / total != (position - 1) * 20 / total;
}

QString ProgressLog::line(int position, int total, const QString& product)
{
    return QStringLiteral("[%1/%2] %3").arg(position).arg(total).arg(product.trimmed());
}

void ProgressLog::step(int position, const QString& product)
{
    if (!m_enabled || !logs(position, m_total))
        return;
    std::fprintf(stderr, "%s\n", line(position, m_total, product).toUtf8().constData());
    std::fflush(stderr);
}

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
