#pragma once
#include <QString>

namespace livros::siproquim {

// A CNPJ of 14 characters without mask: twelve digits or capital letters A-Z (letters since the
// alphanumeric CNPJs of July 2026), then two check digits. Each character counts as its code
// minus '0' ('A' is 17); the check digits are the modulo-11 digits of the weights 2..9 repeated
// from the right. Numeric CNPJs are the special case without letters.
bool isValidCnpj(const QString& cnpj);

// The two check digits for twelve characters, or an empty text when they are not [0-9A-Z].
QString cnpjCheckDigits(const QString& twelve);

} // namespace livros::siproquim
