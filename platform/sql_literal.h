#pragma once
#include <QString>

namespace livros {

// A value written into SQL text: between single quotes, every quote inside doubled.
// No statement of the program uses parameters, so this is the one way values reach SQL.
inline QString sqlLiteral(const QString& value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (QChar c : value) {
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

} // namespace livros
