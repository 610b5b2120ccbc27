#pragma once
#include <QDate>
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// The store as the window takes it without a choice: the company's CNPJ (DADOSGER) when TABLAB
// holds exactly one row. Empty when there is a choice to make.
QString singleStoreCnpj(data::TDM& dm);

// The store a command works for, or why there is none (a usage error).
struct StoreChoice {
    QString cnpj;  // as TABLAB or DADOSGER record it
    QString error; // set when no store is chosen
};

// With a --cnpj text: the store of TABLAB, or the company of DADOSGER, that the text names,
// typed with or without its punctuation, letters in either case. A text that names no store is
// refused, saying also when its check digits are wrong; a recorded store is taken whatever its
// check digits. Without a text: the company's store when TABLAB holds exactly one row.
StoreChoice chooseStore(data::TDM& dm, const QString& cnpjOption);

// The dates of the PERIODO record (null dates when it has none). The record is not written.
void periodRecordDates(data::TDM& dm, QDate& from, QDate& to);

// The number a "select count(*) N ..." query of the main database gives.
int countRows(data::TDM& dm, const QString& sql);

} // namespace livros::cli
