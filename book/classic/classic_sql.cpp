#include "book/classic/classic_sql.h"

#include "platform/date_text.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"

namespace livros::classic {

namespace {

QString dateLiteral(const QDate& date) { return sqlLiteral(sqlDateText(date)); }

QString keyList(const QStringList& keys)
{
    QStringList quoted;
    quoted.reserve(keys.size());
    for (const QString& key : keys)
        quoted << sqlLiteral(key);
    return QLatin1Char('(') + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
}

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

QString openingInventorySql(const QString& storeCnpj, const QStringList& codes, const QDate& day)
{
    return QStringLiteral("Select CODIGO, QDE, UNID from BALANCOS where LOJA = ") + sqlLiteral(storeCnpj)
        + QStringLiteral(" and DATABALANCO = ") + dateLiteral(day) + QStringLiteral(" and CODIGO in ") + keyList(codes);
}

QString movementOrder(MovementKind kind)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, COMPRAS.ESTACAO, "
                              "COMPRAS.CODCOMPRA, COMPRAS.LOTE, COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE");
    case MovementKind::Exit:
        return QStringLiteral("PEDIDOS.DATAPEDIDO, COMPEDID.ESTACAO, COMPEDID.NPEDIDO, COMPEDID.NFORMULA, "
                              "COMPEDID.COMPONENTE");
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("DATA, FORNECEDOR, LOTE, MOTIVO, QUANTIDADE, UNIDADE");
}

QString movementProductColumn(MovementKind kind)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("CODIGO");
    case MovementKind::Exit:
        return QStringLiteral("CODIGOCOMP");
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("DCB");
}

QString periodMovementSql(MovementKind kind, const QString& storeCnpj, const QStringList& keys, const QDate& first,
                          const QDate& last, const std::optional<QString>& laboratory)
{
    const QString period = QStringLiteral(" between ") + sqlLiteral(first.toString(QStringLiteral("yyyy-MM-dd")))
        + QStringLiteral(" and ") + sqlLiteral(last.toString(QStringLiteral("yyyy-MM-dd")));
    const QString orderBy = QStringLiteral(" order by ") + movementOrder(kind);

    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("Select NFISCAL.LOJA, NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, "
                              "COMPRAS.LOTE, COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE, COMPRAS.CODIGO "
                              "from NFISCAL, COMPRAS where NFISCAL.DATARECEBIM")
            + period
            + QStringLiteral(" and NFISCAL.NOTAFISCAL = COMPRAS.NOTAFISCAL AND NFISCAL.FORNECEDOR = "
                             "COMPRAS.FORNECEDOR and NFISCAL.LOJA = ")
            + sqlLiteral(storeCnpj) + QStringLiteral(" and COMPRAS.CODIGO in ") + keyList(keys) + orderBy;
    case MovementKind::Exit: {
        // The orders carry no store: with several stores, the formula's laboratory names it.
        QString sql = QStringLiteral("Select PEDIDOS.DATAPEDIDO, PEDIDOS.ESTACAO, PEDIDOS.NPEDIDO, COMPEDID.LOTE, "
                                     "COMPEDID.FORNECEDOR, COMPEDID.VALIDADELOTE, COMPEDID.QDEESTOQUE, COMPEDID.UNID, "
                                     "COMPEDID.CODIGOCOMP from PEDIDOS, COMPEDID");
        if (laboratory)
            sql += QStringLiteral(", PEDIFORM");
        sql += QStringLiteral(" where PEDIDOS.DATAPEDIDO") + period
            + QStringLiteral(" and ((PEDIDOS.TIPOPEDIDO='Pedido') or (PEDIDOS.TIPOPEDIDO='Repos')) and "
                             "PEDIDOS.ESTACAO=COMPEDID.ESTACAO AND PEDIDOS.NPEDIDO=COMPEDID.NPEDIDO and "
                             "COMPEDID.CODIGOCOMP in ")
            + keyList(keys);
        if (laboratory)
            sql += QStringLiteral(" and PEDIFORM.ESTACAO=COMPEDID.ESTACAO and PEDIFORM.NPEDIDO=COMPEDID.NPEDIDO and "
                                  "PEDIFORM.NFORMULA=COMPEDID.NFORMULA and PEDIFORM.LABORATORIO = ")
                + sqlLiteral(*laboratory);
        return sql + orderBy;
    }
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("Select LOJA, DATA, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO, DCB from PERDAS where "
                          "DATA")
        + period + QStringLiteral(" and LOJA = ") + sqlLiteral(storeCnpj) + QStringLiteral(" and DCB in ") + keyList(keys)
        + orderBy;
}

BookLine fittedToColumns(BookLine line)
{
    line.cnpj.truncate(18);
    line.dcb.truncate(20);
    line.bookName.truncate(90);
    line.history.truncate(90);
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
