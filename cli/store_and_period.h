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

// The dates of the PERIODO record (null dates when it has none). The record is not written.
void periodRecordDates(data::TDM& dm, QDate& from, QDate& to);

// The number a "select count(*) N ..." query of the main database gives.
int countRows(data::TDM& dm, const QString& sql);

} // namespace livros::cli
