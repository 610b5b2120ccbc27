#pragma once
#include <QString>

namespace livros::siproquim {

// The value forms the import layout shares between its records, each giving what is wrong with
// a field's text as the user reads it, or an empty text when it is right. Both the check of our
// own records and that of other activities' sections use them, so a form is read one way.

// Whether the whole text matches the regular expression.
bool matchesWhole(const char* pattern, const QString& text);

QString cnpjProblem(const QString& text);          // 14 characters without mask, valid check digits
QString dateProblem(const QString& text);          // dd/mm/aaaa, a real day
QString concentrationProblem(const QString& text); // 001 to 100
QString densityProblem(const QString& text);       // 00,01 to 99,99
QString quantityProblem(const QString& text);      // 999.999.999,999 right-aligned
QString unitProblem(const QString& text);          // K or L
QString productRefProblem(const QString& text);    // PR or RC and the code, PC or RS and the NCM
QString cepProblem(const QString& text);           // 99.999-999
QString stateProblem(const QString& text);         // two capitals
QString cityCodeProblem(const QString& text);      // the town's IBGE code, 7 digits
QString choiceProblem(const QString& text, const char* choices); // choices separated by '|'

} // namespace livros::siproquim
