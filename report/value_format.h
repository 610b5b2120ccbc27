#pragma once
#include "report/report_model.h"

#include <QString>
#include <QVariant>

namespace livros::report {

// A number with a picture: "###,###,##0.00000" as the platform formats it (the books' Brazilian
// grouping and decimal separator); a '#' after the point is a decimal printed only when it is
// not a trailing zero ("###,###,##0.######" prints 12 as "12" and 0.5 as "0,5").
QString formatPictureNumber(double value, const QString& picture);

// The text through a mask: each '#' takes the next character, other characters are copied;
// characters beyond the mask are dropped ("##.###.###/####-##" gives the CNPJ form).
QString applyMask(const QString& text, const QString& mask);

// A field's value as an item prints it. `displayText` is the connection's own text of the
// value, used when the format asks for no conversion of its own. Trailing blanks of fixed-length
// text are dropped; an empty value prints nothing, not even its prefix.
QString formatFieldValue(const QVariant& value, const QString& displayText, const ValueFormat& format);

} // namespace livros::report
