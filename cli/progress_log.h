#pragma once
#include <QElapsedTimer>
#include <QString>

namespace livros::cli {

// Progress of a long build where standard error is not a terminal (a scheduled job's log):
// one line for each product while there are few, else one each time another 5 % of them is
// reached, with the count and the product, so that the log shows where the build is.
class ProgressLog {
public:
    // Writes nothing when `enabled` is false (a terminal shows its own progress line).
    explicit ProgressLog(bool enabled) : m_enabled(enabled) {}
    void start(int total);
    // The product at `position` (1-based) is being worked on.
    void step(int position, const QString& product);
    // Seconds since start().
    double seconds() const { return m_clock.isValid() ? double(m_clock.elapsed()) / 1000.0 : 0.0; }

    // The text of one line: "[12/240] PRODUCT".
    static QString line(int position, int total, const QString& product);
    // Whether the line of `position` of `total` is written.
    static bool logs(int position, int total);

private:
    bool m_enabled;
    int m_total = 0;
    QElapsedTimer m_clock;
};

// The line that ends a build, always written: "Livro montado: loja ..., livro ..., período ... a
// ..., N produtos, M linhas gravadas, S s".
QString buildSummaryLine(const QString& storeCnpj, const QString& book, const QString& from, const QString& to,
                         int products, int lines, double seconds);

} // namespace livros::cli
