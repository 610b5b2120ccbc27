#include "platform/cnpj.h"

namespace livros {

namespace {

constexpr int kCnpjLength = 14;
constexpr int kBaseLength = 12;

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isBaseCharacter(QChar c) { return isDigit(c) || (c >= u'A' && c <= u'Z'); }

// Weights 2 to 9 from the right, again from 2 after 9; remainder 0 or 1 gives the digit 0.
QChar checkDigit(const QString& characters)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = characters.size() - 1; i >= 0; --i) {
        sum += (characters.at(i).unicode() - u'0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return QChar(u'0' + (rest < 2 ? 0 : 11 - rest));
}

} // namespace

std::optional<QString> cnpjCheckDigits(const QString& firstTwelve)
{
    if (firstTwelve.size() != kBaseLength)
        return std::nullopt;
    for (QChar c : firstTwelve) {
        if (!isBaseCharacter(c))
            return std::nullopt;
    }
    const QChar first = checkDigit(firstTwelve);
    return QString(first) + checkDigit(firstTwelve + first);
}

CnpjCheck checkCnpj(const QString& cnpj)
{
    if (cnpj.size() != kCnpjLength || !isDigit(cnpj.at(12)) || !isDigit(cnpj.at(13)))
        return CnpjCheck::Malformed;
    const std::optional<QString> digits = cnpjCheckDigits(cnpj.left(kBaseLength));
    if (!digits)
        return CnpjCheck::Malformed;
    return *digits == cnpj.right(2) ? CnpjCheck::Valid : CnpjCheck::WrongCheckDigits;
}

QString normalizedCnpj(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'.' || c == u'/' || c == u'-' || c.isSpace())
            continue;
        out += c.toUpper();
    }
    return out;
}

QString formatCnpj(const QString& cnpj)
{
    return cnpj.mid(0, 2) + u'.' + cnpj.mid(2, 3) + u'.' + cnpj.mid(5, 3) + u'/' + cnpj.mid(8, 4) + u'-'
        + cnpj.mid(12, 2);
}

} // namespace livros
