#include "book/register/register_book_records.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/query.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "platform/sql_literal.h"

#include <QFile>

namespace livros::registerbook {
namespace {

QString isoDate(const QDate& date) { return sqlLiteral(date.toString(QStringLiteral("yyyy-MM-dd"))); }

int scalarInteger(data::Connection& db, const QString& sql)
{
    data::Query query(db, QStringLiteral("RegisterBooks"));
    query.setSql(sql);
    query.open();
    const int value = query.eof() ? 0 : query.asInteger(query.fieldNames().first());
    query.close();
    return value;
}

bool tablesExist(data::Connection& db)
{
    return scalarInteger(db, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME in "
                                            "('LIVROS_LIVRO', 'LIVROS_EMISSAO')"))
        == 2;
}

void createTables(data::Connection& db)
{
    QFile script(QStringLiteral(":/db/register_books.sql"));
    if (!script.open(QIODevice::ReadOnly))
        throw data::DbError(QStringLiteral("O script das tabelas dos livros (register_books.sql) não foi encontrado no programa"));
    try {
        db.executeAllOrNothing(data::splitSqlScript(QString::fromUtf8(script.readAll())));
    } catch (const data::DbError&) {
        // Another workstation may have created them at the same moment.
        if (!tablesExist(db))
            throw;
    }
}

const QString kBookColumns = QStringLiteral(
    "ID, CNPJ, LIVRO, NUMERO, FOLHAINICIAL, FOLHASAUTORIZADAS, FOLHASEMITIDAS, ABERTURA, ENCERRAMENTO");

std::vector<RegisterBook> readBooks(data::Connection& db, const QString& sql)
{
    std::vector<RegisterBook> books;
    data::Query query(db, QStringLiteral("RegisterBooks"));
    query.setSql(sql);
    for (query.open(); !query.eof(); query.next()) {
        const auto kind = bookKindFromKeyword(query.asString(QStringLiteral("LIVRO")).trimmed());
        if (!kind)
            continue; // a kind this program does not know
        RegisterBook book;
        book.id = query.asInteger(QStringLiteral("ID"));
        book.cnpj = query.asString(QStringLiteral("CNPJ")).trimmed();
        book.kind = *kind;
        book.number = query.asInteger(QStringLiteral("NUMERO"));
        book.firstSheet = query.asInteger(QStringLiteral("FOLHAINICIAL"));
        book.authorisedSheets = query.asInteger(QStringLiteral("FOLHASAUTORIZADAS"));
        book.issuedSheets = query.asInteger(QStringLiteral("FOLHASEMITIDAS"));
        book.opened = query.asDateTime(QStringLiteral("ABERTURA")).date();
        book.closed = query.asDateTime(QStringLiteral("ENCERRAMENTO")).date();
        books.push_back(book);
    }
    query.close();
    return books;
}

// Tables made by an earlier version lack the archived file's size.
void addSizeColumn(data::Connection& db)
{
    if (scalarInteger(db, QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
                                         "'LIVROS_EMISSAO' and RDB$FIELD_NAME = 'TAMANHO'"))
        > 0)
        return;
    try {
        db.execute(QStringLiteral("alter table LIVROS_EMISSAO add TAMANHO bigint"));
    } catch (const data::DbError&) {
        // Another workstation may have added it at the same moment.
        if (scalarInteger(db, QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
                                             "'LIVROS_EMISSAO' and RDB$FIELD_NAME = 'TAMANHO'"))
            == 0)
            throw;
    }
}

} // namespace

RegisterBookRecords::RegisterBookRecords(data::Connection& interfaceDatabase) : m_db(interfaceDatabase)
{
    if (m_db.activeTransaction())
        return; // made before the transaction began
    if (!tablesExist(m_db))
        createTables(m_db);
    addSizeColumn(m_db);
}

std::vector<RegisterBook> RegisterBookRecords::books(const QString& cnpj) const
{
    std::vector<RegisterBook> all = readBooks(
        m_db, QStringLiteral("select %1 from LIVROS_LIVRO where CNPJ = %2 order by NUMERO").arg(kBookColumns, sqlLiteral(cnpj)));
    std::stable_sort(all.begin(), all.end(), [](const RegisterBook& a, const RegisterBook& b) { return a.kind < b.kind; });
    return all;
}

std::optional<RegisterBook> RegisterBookRecords::latestBook(const QString& cnpj, RegisterBookKind kind) const
{
    const std::vector<RegisterBook> found = readBooks(
        m_db, QStringLiteral("select first 1 %1 from LIVROS_LIVRO where CNPJ = %2 and LIVRO = %3 order by NUMERO desc")
                  .arg(kBookColumns, sqlLiteral(cnpj), sqlLiteral(bookKeyword(kind))));
    if (found.empty())
        return std::nullopt;
    return found.front();
}

RegisterBook RegisterBookRecords::openBook(const QString& cnpj, RegisterBookKind kind, int firstSheet,
                                           int authorisedSheets, const QDate& opened)
{
    const std::optional<RegisterBook> latest = latestBook(cnpj, kind);
    const int number = latest ? latest->number + 1 : 1;
    // The unique book number refuses a second book opened at the same moment elsewhere.
    m_db.execute(QStringLiteral("insert into LIVROS_LIVRO (ID, CNPJ, LIVRO, NUMERO, FOLHAINICIAL, FOLHASAUTORIZADAS, "
                                "FOLHASEMITIDAS, ABERTURA) values (next value for LIVROS_ID, %1, %2, %3, %4, %5, 0, %6)")
                     .arg(sqlLiteral(cnpj), sqlLiteral(bookKeyword(kind)))
                     .arg(number)
                     .arg(firstSheet)
                     .arg(authorisedSheets)
                     .arg(isoDate(opened)));
    return *latestBook(cnpj, kind);
}

void RegisterBookRecords::closeBook(const RegisterBook& book, const QDate& closed)
{
    m_db.execute(QStringLiteral("update LIVROS_LIVRO set ENCERRAMENTO = %1 where ID = %2 and ENCERRAMENTO is null")
                     .arg(isoDate(closed))
                     .arg(book.id));
}

std::vector<IssuedPeriod> RegisterBookRecords::issuedPeriods(const QString& cnpj, RegisterBookKind kind) const
{
    std::vector<IssuedPeriod> periods;
    data::Query query(m_db, QStringLiteral("RegisterBooks"));
    query.setSql(QStringLiteral("select E.LIVROID, L.NUMERO, E.DATAINICIAL, E.DATAFINAL, E.FOLHAINICIAL, E.FOLHAFINAL, "
                                "E.ARQUIVO, E.SHA256, E.TAMANHO, E.EMITIDOEM from LIVROS_EMISSAO E join LIVROS_LIVRO L on L.ID = E.LIVROID "
                                "where L.CNPJ = %1 and L.LIVRO = %2 order by L.NUMERO, E.FOLHAINICIAL")
                     .arg(sqlLiteral(cnpj), sqlLiteral(bookKeyword(kind))));
    for (query.open(); !query.eof(); query.next()) {
        IssuedPeriod p;
        p.bookId = query.asInteger(QStringLiteral("LIVROID"));
        p.bookNumber = query.asInteger(QStringLiteral("NUMERO"));
        p.from = query.asDateTime(QStringLiteral("DATAINICIAL")).date();
        p.to = query.asDateTime(QStringLiteral("DATAFINAL")).date();
        p.firstSheet = query.asInteger(QStringLiteral("FOLHAINICIAL"));
        p.lastSheet = query.asInteger(QStringLiteral("FOLHAFINAL"));
        p.archiveFile = query.asString(QStringLiteral("ARQUIVO")).trimmed();
        p.sha256 = query.asString(QStringLiteral("SHA256")).trimmed();
        if (!query.isNull(QStringLiteral("TAMANHO")))
            p.size = query.value(QStringLiteral("TAMANHO")).toLongLong();
        p.issuedAt = query.asDateTime(QStringLiteral("EMITIDOEM"));
        periods.push_back(p);
    }
    query.close();
    return periods;
}

void RegisterBookRecords::recordIssue(const RegisterBook& book, const IssuedPeriod& period)
{
    std::optional<data::Transaction> own;
    if (!m_db.activeTransaction())
        own.emplace(m_db);
    const int issued = period.lastSheet - book.firstSheet + 1;
    m_db.execute(QStringLiteral("insert into LIVROS_EMISSAO (ID, LIVROID, DATAINICIAL, DATAFINAL, FOLHAINICIAL, FOLHAFINAL, "
                                "ARQUIVO, SHA256, TAMANHO) values (next value for LIVROS_ID, %1, %2, %3, %4, %5, %6, %7, %8)")
                     .arg(book.id)
                     .arg(isoDate(period.from), isoDate(period.to))
                     .arg(period.firstSheet)
                     .arg(period.lastSheet)
                     .arg(sqlLiteral(period.archiveFile), sqlLiteral(period.sha256))
                     .arg(period.size));
    // Only from the sheets this issue found free: another issue that took them meanwhile fails it.
    if (m_db.execute(QStringLiteral("update LIVROS_LIVRO set FOLHASEMITIDAS = %1 where ID = %2 and FOLHASEMITIDAS = %3")
                         .arg(issued)
                         .arg(book.id)
                         .arg(book.issuedSheets))
        != 1)
        throw data::DbError(QStringLiteral("As folhas %1 a %2 foram tomadas por outra emissão ao mesmo tempo; nada foi emitido.")
                                .arg(period.firstSheet)
                                .arg(period.lastSheet));
    if (own)
        own->commit();
}

} // namespace livros::registerbook
