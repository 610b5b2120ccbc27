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

QString movementSql(MovementKind kind, const QString& storeCnpj, const QString& codigo, const QString& dcb,
                    const QDate& day)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("Select NFISCAL.LOJA, NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, "
                              "COMPRAS.LOTE, COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE from NFISCAL, "
                              "COMPRAS where NFISCAL.DATARECEBIM = ")
            + dateLiteral(day)
            + QStringLiteral(" and NFISCAL.NOTAFISCAL = COMPRAS.NOTAFISCAL AND NFISCAL.FORNECEDOR = "
                             "COMPRAS.FORNECEDOR and NFISCAL.LOJA = ")
            + sqlLiteral(storeCnpj) + QStringLiteral(" and COMPRAS.CODIGO = ") + sqlLiteral(codigo);
    case MovementKind::Exit:
        // Exits of every store count: the orders carry no store.
        return QStringLiteral("Select PEDIDOS.DATAPEDIDO, PEDIDOS.ESTACAO, PEDIDOS.NPEDIDO, COMPEDID.LOTE, "
                              "COMPEDID.FORNECEDOR, COMPEDID.VALIDADELOTE, COMPEDID.QDEESTOQUE, COMPEDID.UNID "
                              "from PEDIDOS, COMPEDID where PEDIDOS.DATAPEDIDO = ")
            + dateLiteral(day)
            + QStringLiteral(" and ((PEDIDOS.TIPOPEDIDO='Pedido') or (PEDIDOS.TIPOPEDIDO='Repos')) and "
                             "PEDIDOS.ESTACAO=COMPEDID.ESTACAO AND PEDIDOS.NPEDIDO=COMPEDID.NPEDIDO and "
                             "COMPEDID.CODIGOCOMP = ")
            + sqlLiteral(codigo);
    case MovementKind::Loss:
        return QStringLiteral("Select LOJA, DATA, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO from PERDAS where "
                              "DATA = ")
            + dateLiteral(day) + QStringLiteral(" and LOJA = ") + sqlLiteral(storeCnpj)
            + QStringLiteral(" and DCB = ") + sqlLiteral(dcb);
    }
    return {};
}

QString bookLineInsertSql(const BookLine& line)
{
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
