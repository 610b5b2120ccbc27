#include "book/ledger/ledger_sql.h"

#include "platform/sql_literal.h"

namespace livros::ledger {

namespace {

QString dateLiteral(const QDate& date) { return sqlLiteral(date.toString(QStringLiteral("yyyy-MM-dd"))); }

QString between(const QDate& first, const QDate& last)
{
    return QStringLiteral(" between ") + dateLiteral(first) + QStringLiteral(" and ") + dateLiteral(last);
}

QString keyList(const QStringList& keys)
{
    QStringList quoted;
    quoted.reserve(keys.size());
    for (const QString& key : keys)
        quoted << sqlLiteral(key);
    return QLatin1Char('(') + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// The trade name's CNPJ: the smallest of its FORNECED rows (a head office and its branch share
// a trade name), looked up apart from the movement's joins so that every movement counts once.
QString supplierCnpj(const QString& supplierColumn)
{
    return QStringLiteral("(select min(FC.CNPJ) from FORNECED FC where FC.NOMEFANTASIA = ") + supplierColumn
        + QStringLiteral(") FORNECEDOR_CNPJ");
}

const QString kOrderColumns = QStringLiteral(
    "PEDIDOS.DATAPEDIDO, PEDIDOS.ESTACAO, PEDIDOS.NPEDIDO, PEDIDOS.TIPOPEDIDO, PEDIDOS.PACIENTE, PEDIDOS.MEDICO, "
    "PEDIDOS.CONSELHOPROFISSIONAL, PEDIDOS.CRM, PEDIDOS.UFCONSELHO, ");

} // namespace

QString drugstoreProductCondition()
{
    return QStringLiteral("SUBSTRING(UPPER(GRUPO) FROM 1 FOR 3) = 'REV'");
}

QString compoundingProductCondition()
{
    return QStringLiteral("(GRUPO IS NULL OR SUBSTRING(UPPER(GRUPO) FROM 1 FOR 3) <> 'REV')");
}

QString storeInventoryCountSql(const QString& cnpj, const QDate& day)
{
    return QStringLiteral("Select Count(*) AS QDE from BALANCOS where DATABALANCO = ") + dateLiteral(day)
        + QStringLiteral(" and LOJA = ") + sqlLiteral(cnpj);
}

QString openingInventorySql(const QString& cnpj, const QStringList& codes, const QDate& day)
{
    return QStringLiteral("Select CODIGO, QDE, UNID from BALANCOS where LOJA = ") + sqlLiteral(cnpj)
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

QString entriesSql(const QString& cnpj, const QStringList& codes, const QDate& first, const QDate& last)
{
    return QStringLiteral("Select NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, COMPRAS.LOTE, "
                          "COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE, COMPRAS.CODIGO, COMPRAS.DENSIDADE, "
                          "COMPRAS.FATORCORRECAO, ")
        + supplierCnpj(QStringLiteral("COMPRAS.FORNECEDOR"))
        + QStringLiteral(" from NFISCAL, COMPRAS where NFISCAL.DATARECEBIM") + between(first, last)
        + QStringLiteral(" and NFISCAL.NOTAFISCAL = COMPRAS.NOTAFISCAL AND NFISCAL.FORNECEDOR = COMPRAS.FORNECEDOR "
                         "and NFISCAL.LOJA = ")
        + sqlLiteral(cnpj) + QStringLiteral(" and COMPRAS.CODIGO in ") + keyList(codes)
        + QStringLiteral(" order by ") + movementOrder(MovementKind::Entry);
}

QString formulaExitsSql(const QStringList& codes, const QDate& first, const QDate& last)
{
    return QStringLiteral("Select ") + kOrderColumns
        + QStringLiteral("COMPEDID.NFORMULA, COMPEDID.LOTE, COMPEDID.FORNECEDOR, COMPEDID.VALIDADELOTE, "
                         "COMPEDID.QDEESTOQUE, COMPEDID.UNID, COMPEDID.CODIGOCOMP, COMPEDID.DENSIDADE, "
                         "PEDIFORM.LABORATORIO, PEDIFORM.NUMERONOTIFICACAO, PEDIFORM.NFORMULA as FORMULA_ROW "
                         "from PEDIDOS join COMPEDID on PEDIDOS.ESTACAO = COMPEDID.ESTACAO and "
                         "PEDIDOS.NPEDIDO = COMPEDID.NPEDIDO "
                         "left join PEDIFORM on PEDIFORM.ESTACAO = COMPEDID.ESTACAO and "
                         "PEDIFORM.NPEDIDO = COMPEDID.NPEDIDO and PEDIFORM.NFORMULA = COMPEDID.NFORMULA "
                         "where PEDIDOS.DATAPEDIDO")
        + between(first, last)
        + QStringLiteral(" and ((PEDIDOS.TIPOPEDIDO='Pedido') or (PEDIDOS.TIPOPEDIDO='Repos')) and "
                         "COMPEDID.CODIGOCOMP in ")
        + keyList(codes) + QStringLiteral(" order by ") + movementOrder(MovementKind::Exit);
}

QString itemExitsSql(const QStringList& codes, const QStringList& names, const QDate& first, const QDate& last)
{
    QString match = QStringLiteral("ITENS.CODPROD in ") + keyList(codes);
    if (!names.isEmpty())
        match = QLatin1Char('(') + match + QStringLiteral(" or ITENS.DESCRICAO in ") + keyList(names)
            + QLatin1Char(')');
    return QStringLiteral("Select ") + kOrderColumns
        + QStringLiteral("ITENS.CODPROD, ITENS.DESCRICAO, ITENS.QDE, ITENS.NUMLOTEMEDICAM, ITENS.NUMERONOTIFICACAO, "
                         "ITENS.LABORATORIO from PEDIDOS join ITENS on PEDIDOS.ESTACAO = ITENS.ESTACAO and "
                         "PEDIDOS.NPEDIDO = ITENS.NPEDIDO where PEDIDOS.DATAPEDIDO")
        + between(first, last) + QStringLiteral(" and PEDIDOS.TIPOPEDIDO = 'Pedido' and ") + match
        + QStringLiteral(" order by PEDIDOS.DATAPEDIDO, ITENS.ESTACAO, ITENS.NPEDIDO, ITENS.CODPROD");
}

QString lossesSql(const QString& cnpj, const QStringList& dcbs, const QStringList& names, const QDate& first,
                  const QDate& last)
{
    QStringList match;
    if (!dcbs.isEmpty())
        match << QStringLiteral("DCB in ") + keyList(dcbs);
    if (!names.isEmpty())
        match << QStringLiteral("COMPONENTE in ") + keyList(names);
    return QStringLiteral("Select DATA, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO, DCB, COMPONENTE, ")
        + supplierCnpj(QStringLiteral("PERDAS.FORNECEDOR")) + QStringLiteral(" from PERDAS where DATA")
        + between(first, last) + QStringLiteral(" and LOJA = ") + sqlLiteral(cnpj) + QStringLiteral(" and (")
        + match.join(QStringLiteral(" or ")) + QStringLiteral(") order by ") + movementOrder(MovementKind::Loss);
}

} // namespace livros::ledger
