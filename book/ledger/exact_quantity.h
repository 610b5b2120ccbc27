#pragma once
#include <QString>
#include <QtGlobal>

namespace livros::ledger {

// A quantity kept exactly with six decimals (the revised book's NUMERIC(15,6)), as a count of
// millionths: sums and differences add no rounding of their own.
class ExactQuantity {
public:
    ExactQuantity() = default;
    static ExactQuantity fromMillionths(qint64 millionths) { return ExactQuantity(millionths); }
    // A decimal text ("12.345678901", "-0.5", "1.2e+03") times 10^`powerOfTen`, rounded to six
    // decimals half away from zero, as the server casts to NUMERIC(15,6). Text that is no number
    // gives 0. A value beyond what the books can keep (about 9.2 * 10^12) is not valid().
    static ExactQuantity fromText(const QString& text, int powerOfTen = 0);
    bool valid() const { return m_valid; }

    qint64 millionths() const { return m_millionths; }
    double toDouble() const { return double(m_millionths) / 1e6; }
    // "-12.345600": a point and six decimals, the form a NUMERIC parameter takes.
    QString text() const;

    ExactQuantity operator+(ExactQuantity other) const { return ExactQuantity(m_millionths + other.m_millionths); }
    ExactQuantity operator-(ExactQuantity other) const { return ExactQuantity(m_millionths - other.m_millionths); }
    ExactQuantity operator-() const { return ExactQuantity(-m_millionths); }
    bool operator==(const ExactQuantity&) const = default;

private:
    explicit ExactQuantity(qint64 millionths) : m_millionths(millionths) {}
    qint64 m_millionths = 0;
    bool m_valid = true;
};

// The power of ten of a unit factor (1000 gives 3, 0.001 gives -3).
int powerOfTenOf(double factor);

} // namespace livros::ledger
