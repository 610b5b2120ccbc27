#include "book/ledger/ledger_sql.h"

namespace livros::ledger {

namespace {

// A text placeholder for a single value (the store): the server takes "?" to be of the type it is
// compared with, and a value wider than that column would fail as a truncation instead of
// matching nothing.
const QString kText = QStringLiteral("cast(? as varchar(255))");

// The widths of the columns the lists of keys are compared with. A key wider than its column
// matches no row there and is left out of the list, which can then take plain placeholders: a
// cast in a list of hundreds of keys would be evaluated for every key on every row read.
constexpr qsizetype kStockCodeWidth = 13;  // BALANCOS.CODIGO, COMPRAS.CODIGO
constexpr qsizetype kOrderCodeWidth = 20;  // COMPEDID.CODIGOCOMP, ITENS.CODPROD
constexpr qsizetype kLossDcbWidth = 15;    // PERDAS.DCB
constexpr qsizetype kNameWidth = 70;       // PERDAS.COMPONENTE, ITENS.DESCRICAO

// Composes a statement: text pieces and placeholders, with the values in order.
class Composer {
public:
    Composer& operator<<(const QString& text)
    {
        m_statement.sql += text;
        return *this;
    }
    Composer& text(const QString& value)
    {
        m_statement.sql += kText;
        m_statement.values << value;
        return *this;
    }
    Composer& date(const QDate& day)
    {
        m_statement.sql += QLatin1Char('?');
        m_statement.values << day;
        return *this;
    }
    Composer& between(const QDate& first, const QDate& last)
    {
        m_statement.sql += QStringLiteral(" between ? and ?");
        m_statement.values << first << last;
        return *this;
    }
    // The keys that fit `width`; a list left empty holds one NULL, which matches nothing.
    Composer& keyList(const QStringList& keys, qsizetype width)
    {
        QStringList marks;
        marks.reserve(keys.size());
        for (const QString& key : keys) {
            if (key.size() > width)
                continue;
            marks << QStringLiteral("?");
            m_statement.values << key;
        }
        if (marks.isEmpty()) {
            marks << QStringLiteral("?");
            m_statement.values << QVariant();
        }
        m_statement.sql += QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        return *this;
    }
    LedgerStatement take() { return std::move(m_statement); }

private:
    LedgerStatement m_statement;
};

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

LedgerStatement storeInventoryCountSql(const QString& cnpj, const QDate& day)
{
    Composer c;
    c << QStringLiteral("Select Count(*) AS QDE from BALANCOS where DATABALANCO = ");
    c.date(day) << QStringLiteral(" and LOJA = ");
    c.text(cnpj);
    return c.take();
}

LedgerStatement openingInventorySql(const QString& cnpj, const QStringList& codes, const QDate& day)
{
    Composer c;
    c << QStringLiteral("Select CODIGO, QDE, UNID from BALANCOS where LOJA = ");
    c.text(cnpj) << QStringLiteral(" and DATABALANCO = ");
    c.date(day) << QStringLiteral(" and CODIGO in ");
    c.keyList(codes, kStockCodeWidth);
    return c.take();
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

LedgerStatement entriesSql(const QString& cnpj, const QStringList& codes, const QDate& first, const QDate& last)
{
    Composer c;
    c << QStringLiteral("Select NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, COMPRAS.LOTE, "
                        "COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE, COMPRAS.CODIGO, COMPRAS.DENSIDADE, "
                        "COMPRAS.FATORCORRECAO, ")
      << supplierCnpj(QStringLiteral("COMPRAS.FORNECEDOR"))
      << QStringLiteral(" from NFISCAL, COMPRAS where NFISCAL.DATARECEBIM");
    c.between(first, last)
        << QStringLiteral(" and NFISCAL.NOTAFISCAL = COMPRAS.NOTAFISCAL AND NFISCAL.FORNECEDOR = COMPRAS.FORNECEDOR "
                          "and NFISCAL.LOJA = ");
    c.text(cnpj) << QStringLiteral(" and COMPRAS.CODIGO in ");
    c.keyList(codes, kStockCodeWidth) << QStringLiteral(" order by ") << movementOrder(MovementKind::Entry);
    return c.take();
}

LedgerStatement formulaExitsSql(const QStringList& codes, const QDate& first, const QDate& last)
{
    Composer c;
    c << QStringLiteral("Select ") << kOrderColumns
      << QStringLiteral("COMPEDID.NFORMULA, COMPEDID.LOTE, COMPEDID.FORNECEDOR, COMPEDID.VALIDADELOTE, "
                        "COMPEDID.QDEESTOQUE, COMPEDID.UNID, COMPEDID.CODIGOCOMP, COMPEDID.DENSIDADE, "
                        "PEDIFORM.LABORATORIO, PEDIFORM.NUMERONOTIFICACAO, PEDIFORM.NFORMULA as FORMULA_ROW "
                        "from PEDIDOS join COMPEDID on PEDIDOS.ESTACAO = COMPEDID.ESTACAO and "
                        "PEDIDOS.NPEDIDO = COMPEDID.NPEDIDO "
                        "left join PEDIFORM on PEDIFORM.ESTACAO = COMPEDID.ESTACAO and "
                        "PEDIFORM.NPEDIDO = COMPEDID.NPEDIDO and PEDIFORM.NFORMULA = COMPEDID.NFORMULA "
                        "where PEDIDOS.DATAPEDIDO");
    c.between(first, last) << QStringLiteral(" and ((PEDIDOS.TIPOPEDIDO='Pedido') or (PEDIDOS.TIPOPEDIDO='Repos')) "
                                             "and COMPEDID.CODIGOCOMP in ");
    c.keyList(codes, kOrderCodeWidth) << QStringLiteral(" order by ") << movementOrder(MovementKind::Exit);
    return c.take();
}

LedgerStatement itemExitsSql(const QStringList& codes, const QStringList& names, const QDate& first,
                             const QDate& last)
{
    Composer c;
    c << QStringLiteral("Select ") << kOrderColumns
      << QStringLiteral("ITENS.CODPROD, ITENS.DESCRICAO, ITENS.QDE, ITENS.NUMLOTEMEDICAM, ITENS.NUMERONOTIFICACAO, "
                        "ITENS.LABORATORIO from PEDIDOS join ITENS on PEDIDOS.ESTACAO = ITENS.ESTACAO and "
                        "PEDIDOS.NPEDIDO = ITENS.NPEDIDO where PEDIDOS.DATAPEDIDO");
    c.between(first, last) << QStringLiteral(" and PEDIDOS.TIPOPEDIDO = 'Pedido' and ");
    if (!names.isEmpty())
        c << QStringLiteral("(");
    c << QStringLiteral("ITENS.CODPROD in ");
    c.keyList(codes, kOrderCodeWidth);
    if (!names.isEmpty()) {
        c << QStringLiteral(" or ITENS.DESCRICAO in ");
        c.keyList(names, kNameWidth) << QStringLiteral(")");
    }
    c << QStringLiteral(" order by PEDIDOS.DATAPEDIDO, ITENS.ESTACAO, ITENS.NPEDIDO, ITENS.CODPROD");
    return c.take();
}

LedgerStatement lossesSql(const QString& cnpj, const QStringList& dcbs, const QStringList& names,
                          const QDate& first, const QDate& last)
{
    Composer c;
    c << QStringLiteral("Select DATA, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO, DCB, COMPONENTE, ")
      << supplierCnpj(QStringLiteral("PERDAS.FORNECEDOR")) << QStringLiteral(" from PERDAS where DATA");
    c.between(first, last) << QStringLiteral(" and LOJA = ");
    c.text(cnpj) << QStringLiteral(" and (");
    if (!dcbs.isEmpty()) {
        c << QStringLiteral("DCB in ");
        c.keyList(dcbs, kLossDcbWidth);
    }
    if (!names.isEmpty()) {
        c << (dcbs.isEmpty() ? QString() : QStringLiteral(" or ")) << QStringLiteral("COMPONENTE in ");
        c.keyList(names, kNameWidth);
    }
    c << QStringLiteral(") order by ") << movementOrder(MovementKind::Loss);
    return c.take();
}

} // namespace livros::ledger
