#pragma once
#include "book/register/register_book_records.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

namespace livros::data {
class TDM;
}
namespace livros::report {
class MemoryDataSource;
}

namespace livros::registerbook {

enum class TermKind { Opening, Closing };

// The project file of the two terms (relative to the program folder), its reports and the
// connection that carries the book's values.
inline constexpr char kTermsProjectFile[] = "rpt\\Termos.rav";
inline constexpr char kTermsConnection[] = "RvDSLivro";
QString termReportName(TermKind kind); // "TermoAbertura", "TermoEncerramento"

struct TermRequest {
    RegisterBookKind kind = RegisterBookKind::Classic1;
    QString cnpj;
    TermKind term = TermKind::Opening;
    QDate today = QDate::currentDate();
};

// The book a term is drawn up for, or why there is none: the opening term is for the store's
// open book of that kind, opening the next one when there is none (which needs the company's
// number of sheets); the closing term is for the open book and is refused while it has no sheet
// issued, or when the latest book is closed already.
struct TermBook {
    std::optional<RegisterBook> book;
    QString refusal;
};
TermBook bookForTerm(data::TDM& dm, RegisterBookRecords& records, const TermRequest& request);

// Where the store of a term is: the head office's address, state registration and city from the
// company record (DADOSGER); for a branch, whose own data the suite does not keep, lines left blank
// to be filled in by hand, and a notice saying so (empty for the head office).
struct TermPlace {
    QString address;
    QString stateRegistration;
    QString city; // "Goiânia/GO", before the date
    QString notice;
};
TermPlace readTermPlace(data::TDM& dm, const QString& cnpj);

// The book's values as the terms print them, one row: NUMERO, LIVRO (what the book registers),
// CNPJ (the store's, formatted), FOLHAS, FOLHAINICIAL, FOLHAFINAL (authorised), FOLHASUSADAS,
// ULTIMAFOLHA (last used), ABERTURA, ENCERRAMENTO, DATAEXTENSO ("9 de dezembro de 2026"), and the
// store's place: ENDERECO, INSCRICAOEST, LOCAL and AVISO.
std::unique_ptr<report::MemoryDataSource> termDataSource(const RegisterBook& book, TermKind term, const QDate& date,
                                                         const TermPlace& place);

// For the command-line tool: the term of the request written to a PDF file; a closing term
// closes the book once the file is written. Returns the refusal, empty when written. Report,
// file and database failures are thrown.
QString writeTermPdf(data::TDM& dm, const TermRequest& request, const QString& programFolder, const QString& pdfPath);

// "29.790.139/0001-68"; a text of another length as it is.
QString formattedCnpj(const QString& cnpj);

} // namespace livros::registerbook
