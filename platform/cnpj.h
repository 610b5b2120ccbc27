#pragma once
#include <QString>

#include <optional>

namespace livros {

// A CNPJ, the registration number of a store: 14 characters, the first 12 digits or capital
// letters A-Z (alphanumeric CNPJs are issued since July 2026; the older ones are all digits),
// the last 2 digits that check the first 12.

// How a text stands as a CNPJ.
enum class CnpjCheck {
    Valid,            // 14 characters of the right kinds, check digits agree
    WrongCheckDigits, // 14 characters of the right kinds, check digits disagree
    Malformed,        // another length, or a character that a CNPJ cannot hold
};

CnpjCheck checkCnpj(const QString& cnpj);

// The two check digits of the first 12 characters (digits or capital letters); none when the
// text is not 12 such characters. Each character counts as its code minus 48 ('0' is 0, 'A' is
// 17), weights 5,4,3,2,9,8,7,6,5,4,3,2 for the first digit and 6,5,...,2 over 13 for the second.
std::optional<QString> cnpjCheckDigits(const QString& firstTwelve);

// The CNPJ as a user may type it ("12.abc.345/01de-35", blanks around): punctuation and blanks
// dropped, letters in capitals. Nothing else is changed or validated.
QString normalizedCnpj(const QString& text);

// The printed form NN.NNN.NNN/NNNN-NN, by position: characters 1-2, 3-5, 6-8, 9-12 and 13-14
// with their separators ("12ABC34501DE35" gives "12.ABC.345/01DE-35"). The separators always
// appear; positions the text does not reach give empty pieces, characters after the 14th are
// dropped.
QString formatCnpj(const QString& cnpj);

} // namespace livros
