#pragma once
#include "book/register/register_book_records.h"

#include <QDate>
#include <QString>
#include <optional>

namespace livros::data {
class TDM;
}

namespace livros::registerbook {

// What the company record (DADOSGER) says of the books: the sheets the authority authorises per
// book (QDEFOLHAS) and the number of the first sheet of the first book (NUMEROINICIAL). A blank
// or non-positive value is missing: no number is ever made up for it.
// The highest sheet number a book may reach: six digits, as the sheets are numbered.
inline constexpr int kHighestSheetNumber = 999999;

struct CompanyBookSettings {
    std::optional<int> authorisedSheets;
    std::optional<int> firstSheetNumber;
};
CompanyBookSettings readCompanyBookSettings(data::TDM& dm);

// Why a new book cannot be opened with these settings (the first book of its kind needs the first
// sheet number too, and its sheets must stay within kHighestSheetNumber); empty when it can.
QString missingSettingsRefusal(const CompanyBookSettings& settings, bool firstBook);

// The store's open book of that kind; when there is none (no book yet, or the latest closed), a
// new one is opened on `today` with the authorised sheets, numbered from NUMEROINICIAL for the
// first book and from 1 for the later ones (numbering restarts at each closing). Returns none,
// with the message in `refusal`, when the company record lacks what the new book needs.
std::optional<RegisterBook> currentOrNewBook(RegisterBookRecords& records, const CompanyBookSettings& settings,
                                             const QString& cnpj, RegisterBookKind kind, const QDate& today,
                                             QString* refusal);

// "nº 2 de Medicamentos entorpecentes - Listas A1 e A2", for messages.
QString bookDescription(const RegisterBook& book);

} // namespace livros::registerbook
