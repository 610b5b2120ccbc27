#pragma once
#include "platform/book_locale.h"

#include <QLocale>
#include <QString>

namespace livros {

// Formats a number with a picture such as "###,###,##0.00000", "#,###,##0.000000" or "0.0000":
// a ',' asks for thousands grouping, the digits after '.' fix the decimals, and the '0's before
// it the minimum of integer digits (at least one). Grouping and decimal separators come from the
// locale, the books' Brazilian one unless told; a negative value gets a leading minus sign unless
// it rounds to zero.
QString formatNumber(double value, const QString& picture, const QLocale& locale = bookLocale());

// The classic book writes numbers into SQL text with a point and four decimals ("0.0000").
inline QString sqlNumber4(double value) { return formatNumber(value, QStringLiteral("0.0000"), QLocale::c()); }

} // namespace livros
