#include "book/build_transaction.h"

#include "book/stock_check.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/query.h"
#include "data/schema.h"
#include "platform/sql_literal.h"

#include <QFile>

namespace livros::book {

namespace {
QString withSentence(const QString& text) { return text + QLatin1Char('\n') + bookNotBuiltSentence(); }

const QString kLineSequence = QStringLiteral("LIVROS_LIVROREVCONTR_ID");

qint64 scalar(data::Connection& db, const QString& sql)
{
    data::Query query(db, QStringLiteral("BookBuilds"));
    query.setSql(sql);
    query.open();
    const qint64 value = query.eof() ? 0 : query.value(query.fieldNames().first()).toLongLong();
    query.close();
    return value;
}

bool buildRecordsExist(data::Connection& db)
{
    return scalar(db, QStringLiteral("select (select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = "
                                     "'LIVROS_MONTAGEM') + (select count(*) from RDB$GENERATORS where "
                                     "RDB$GENERATOR_NAME = '%1') from RDB$DATABASE")
                          .arg(kLineSequence))
        == 2;
}

// Creates the claims' table and the line numbering the first time, and brings the numbering
// above the lines the table holds: lines written otherwise (an older version of the program,
// another program of the suite) keep numbers of their own.
void ensureBuildRecords(data::Connection& db)
{
    if (!buildRecordsExist(db)) {
        QFile script(QStringLiteral(":/db/book_builds.sql"));
        if (!script.open(QIODevice::ReadOnly))
            throw data::DbError(QStringLiteral("O script das tabelas de montagem (book_builds.sql) não foi encontrado no programa"));
        try {
            db.executeAllOrNothing(data::splitSqlScript(QString::fromUtf8(script.readAll())));
        } catch (const data::DbError&) {
            // Another workstation may have created them at the same moment.
            if (!buildRecordsExist(db))
                throw;
        }
    }
    // Two workstations doing this at once only leave a gap.
    scalar(db, QStringLiteral("select gen_id(%1, maxvalue(0, coalesce((select max(ID) from LIVROREVCONTR), 0) - gen_id(%1, 0))) "
                              "from RDB$DATABASE")
                   .arg(kLineSequence));
}

QString stillBuildingMessage(int seconds)
{
    const QString waited = seconds == 0
        ? QStringLiteral("Outra estação está montando este livro e LIVROS_LOCK_TIMEOUT=0 pede para não esperar. ")
        : QStringLiteral("Outra estação continua montando este livro depois de %1 segundos de espera. ").arg(seconds);
    return waited + bookNotBuiltSentence() + QStringLiteral(" Tente novamente mais tarde. ") + data::longerWaitAdvice();
}
} // namespace

QString otherStationBuildingMessage()
{
    return QStringLiteral("Outra estação está montando este livro; aguardando...");
}

QString otherStationStillBuildingMessage() { return stillBuildingMessage(data::lockTimeoutSeconds()); }

std::unique_ptr<data::Transaction> startBuildTransaction(data::Connection& connection, const QString& bookTable,
                                                         const std::function<void(const QString&)>& showWaiting)
{
    try {
        return std::make_unique<data::Transaction>(connection, QStringList{bookTable}, [&] {
            if (showWaiting)
                showWaiting(otherStationBuildingMessage());
        });
    } catch (const data::LockTimeout&) {
        throw data::LockTimeout(otherStationStillBuildingMessage());
    }
}

std::unique_ptr<data::Transaction> startStoreBuildTransaction(data::Connection& connection, const QString& bookTable,
                                                              const QString& cnpj,
                                                              const std::function<void(const QString&)>& showWaiting)
{
    ensureBuildRecords(connection);
    const QString key = QStringLiteral("LIVRO = %1 and CNPJ = %2").arg(sqlLiteral(bookTable), sqlLiteral(cnpj));
    try {
        connection.execute(QStringLiteral("insert into LIVROS_MONTAGEM (LIVRO, CNPJ) select %1, %2 from RDB$DATABASE "
                                          "where not exists (select 1 from LIVROS_MONTAGEM where %3)")
                               .arg(sqlLiteral(bookTable), sqlLiteral(cnpj), key));
    } catch (const data::LockTimeout&) {
        throw;
    } catch (const data::DatabaseUnavailable&) {
        throw;
    } catch (const data::DbError&) {
        // The same store's first build from another workstation wrote the row at the same moment.
    }
    try {
        return std::make_unique<data::Transaction>(
            connection, QStringList{},
            [&] {
                if (showWaiting)
                    showWaiting(otherStationBuildingMessage());
            },
            QStringLiteral("update LIVROS_MONTAGEM set INICIO = current_timestamp where ") + key);
    } catch (const data::LockTimeout&) {
        throw data::LockTimeout(otherStationStillBuildingMessage());
    }
}

qint64 reserveRevisedLineIds(data::Connection& connection, int count)
{
    return scalar(connection, QStringLiteral("select gen_id(%1, %2) - %3 from RDB$DATABASE")
                                  .arg(kLineSequence)
                                  .arg(count)
                                  .arg(count - 1));
}

void rethrowAsNotBuilt()
{
    try {
        throw;
    } catch (const StockCheckFailed&) {
        throw; // says so already
    } catch (const data::LockTimeout& e) {
        if (e.message().contains(bookNotBuiltSentence()))
            throw;
        throw data::LockTimeout(withSentence(e.message()));
    } catch (const data::StaleAttachment& e) {
        throw data::StaleAttachment(withSentence(e.message()));
    } catch (const data::DatabaseUnavailable& e) {
        throw data::DatabaseUnavailable(withSentence(e.message()));
    } catch (const data::DbError& e) {
        throw data::DbError(withSentence(e.message()));
    }
}

} // namespace livros::book
