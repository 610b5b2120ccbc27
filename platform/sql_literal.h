#pragma once
#include <QString>

namespace livros {

// A value written into SQL text: between single quotes, every quote inside doubled. The books'
// statements are composed as text; only the classic book's lines go through parameters.
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

// A text as the server compares it: trailing blanks do not count ("C1" equals "C1  ").
inline QString comparedText(const QString& text)
{
    qsizetype length = text.size();
    while (length > 0 && text.at(length - 1) == QLatin1Char(' '))
        --length;
    return text.left(length);
}

} // namespace livros
