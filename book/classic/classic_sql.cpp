#include "book/classic/classic_sql.h"

#include "platform/date_text.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"

namespace livros::classic {

namespace {

QString dateLiteral(const QDate& date) { return sqlLiteral(sqlDateText(date)); }

QString inventorySql(const QString& columns, const QString& storeCnpj, const QString& codigo, const QDate& date)
{
    return QStringLiteral("Select ") + columns + QStringLiteral(" from BALANCOS where LOJA = ") + sqlLiteral(storeCnpj)
        + QStringLiteral(" and CODIGO = ") + sqlLiteral(codigo) + QStringLiteral(" and DATABALANCO = ")
        + dateLiteral(date);
}

} // namespace

QString storeInventoryCountSql(const QString& storeCnpj, const QDate& initialDate)
{
    return QStringLiteral("Select Count(*) AS QDE from BALANCOS where DATABALANCO = ") + dateLiteral(initialDate)
        + QStringLiteral(" and LOJA = ") + sqlLiteral(storeCnpj);
}

QString openingCountSql(const QString& storeCnpj, const QString& codigo, const QDate& initialDate)
{
    return inventorySql(QStringLiteral("count(*) as QDE"), storeCnpj, codigo, initialDate);
}

QString openingValuesSql(const QString& storeCnpj, const QString& codigo, const QDate& initialDate)
{
    return inventorySql(QStringLiteral("QDE, UNID"), storeCnpj, codigo, initialDate);
}

BookLine fittedToColumns(BookLine line)
{
    line.cnpj.truncate(18);
    line.dcb.truncate(20);
    line.bookName.truncate(90);
    line.history.truncate(kHistoricoLength);
    line.movement.truncate(15);
    line.observation.truncate(30);
    line.codigo.truncate(20);
    line.componente.truncate(70);
    line.period.truncate(40);
    line.unit.truncate(6);
    return line;
}

QString bookLineInsertSql(const BookLine& whole)
{
    const BookLine line = fittedToColumns(whole);
    const QString sep = QStringLiteral(", ");
    QString sql;
    sql.reserve(420 + line.history.size() + line.componente.size());
    sql += QStringLiteral("Insert into LIVROCONTR (ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, DATA, HISTORICO, MOVIMENTO, "
                          "SALDO, OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID) values (");
    sql += QString::number(line.id);
    sql += sep + sqlLiteral(line.cnpj);
    sql += sep + sqlLiteral(line.dcb);
    sql += sep + sqlNumber4(line.openingBalance);
    sql += sep + sqlLiteral(line.bookName);
    sql += sep + dateLiteral(line.date);
    sql += sep + sqlLiteral(line.history);
    sql += sep + sqlLiteral(line.movement);
    sql += sep + sqlNumber4(line.balance);
    sql += sep + sqlLiteral(line.observation);
    sql += sep + sqlLiteral(line.codigo);
    sql += sep + sqlLiteral(line.componente);
    sql += sep + sqlLiteral(line.period);
    sql += sep + sqlLiteral(line.unit);
    sql += QLatin1Char(')');
    return sql;
}

} // namespace livros::classic
