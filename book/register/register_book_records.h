#pragma once
#include "book/register/register_book_kind.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace livros::data {
class Connection;
}

namespace livros::registerbook {

// A bound register book of a store: its sheets run from firstSheet to lastAuthorisedSheet().
struct RegisterBook {
    int id = 0;
    QString cnpj;
    RegisterBookKind kind = RegisterBookKind::Classic1;
    int number = 0;           // the books of this kind counted from 1
    int firstSheet = 1;
    int authorisedSheets = 0;
    int issuedSheets = 0;
    QDate opened;
    QDate closed;             // null while the book is open

    bool isClosed() const { return closed.isValid(); }
    int nextSheet() const { return firstSheet + issuedSheets; }
    int lastIssuedSheet() const { return firstSheet + issuedSheets - 1; }
    int lastAuthorisedSheet() const { return firstSheet + authorisedSheets - 1; }
    int sheetsLeft() const { return authorisedSheets - issuedSheets; }
};

// A period issued on a book's sheets, with its archived file (relative to the suite folder).
struct IssuedPeriod {
    int bookId = 0;
    int bookNumber = 0;
    QDate from;
    QDate to;
    int firstSheet = 0;
    int lastSheet = 0;
    QString archiveFile;
    QString sha256;
    qint64 size = -1; // bytes of the archived file; unknown (-1) for periods issued before it was kept
    QDateTime issuedAt;

    bool overlaps(const QDate& start, const QDate& end) const { return start <= to && end >= from; }
};

// The program's own tables of books and issued periods in the interface database, created from
// db/register_books.sql the first time they are needed. Database errors are thrown as DbError.
class RegisterBookRecords {
public:
    // The tables an issue holds from its checks to its record, so that two issues of one store
    // never interleave.
    static QStringList tables() { return {QStringLiteral("LIVROS_LIVRO"), QStringLiteral("LIVROS_EMISSAO")}; }

    // Creates the tables when the database has none yet.
    explicit RegisterBookRecords(data::Connection& interfaceDatabase);

    // Every book of the store, by kind and number.
    std::vector<RegisterBook> books(const QString& cnpj) const;
    // The store's latest book of that kind (open or closed); none before the first.
    std::optional<RegisterBook> latestBook(const QString& cnpj, RegisterBookKind kind) const;
    // Starts the next book of that kind: number one above the latest, dated `opened`.
    RegisterBook openBook(const QString& cnpj, RegisterBookKind kind, int firstSheet, int authorisedSheets,
                          const QDate& opened);
    void closeBook(const RegisterBook& book, const QDate& closed);

    // The periods issued on every book of that kind, in the order issued.
    std::vector<IssuedPeriod> issuedPeriods(const QString& cnpj, RegisterBookKind kind) const;
    // Records an issued period and the sheets it took from the book, together or not at all (in
    // the transaction held on the connection, else in one of its own). Fails when another issue
    // took those sheets meanwhile.
    void recordIssue(const RegisterBook& book, const IssuedPeriod& period);

private:
    data::Connection& m_db;
};

} // namespace livros::registerbook
