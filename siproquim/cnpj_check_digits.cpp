#include "siproquim/cnpj_check_digits.h"

namespace livros::siproquim {

namespace {

bool isCnpjCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z');
}

QChar checkDigit(const QString& characters)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = characters.size() - 1; i >= 0; --i) {
        sum += (characters.at(i).unicode() - u'0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int remainder = sum % 11;
    return QChar(u'0' + (remainder < 2 ? 0 : 11 - remainder));
}

} // namespace

QString cnpjCheckDigits(const QString& twelve)
{
    if (twelve.size() != 12)
        return {};
    for (QChar c : twelve) {
        if (!isCnpjCharacter(c))
            return {};
    }
    const QChar first = checkDigit(twelve);
    return QString(first) + checkDigit(twelve + first);
}

bool isValidCnpj(const QString& cnpj)
{
    if (cnpj.size() != 14 || !cnpj.at(12).isDigit() || !cnpj.at(13).isDigit())
        return false;
    const QString digits = cnpjCheckDigits(cnpj.left(12));
    return !digits.isEmpty() && cnpj.right(2) == digits;
}

} // namespace livros::siproquim
