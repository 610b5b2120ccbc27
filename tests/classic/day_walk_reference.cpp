#include "day_walk_reference.h"

#include "book/classic/classic_sql.h"
#include "book/ledger/ledger_sql.h"
#include "data/db_error.h"
#include "data/query.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"

#include <algorithm>

namespace livros::classic::testing {

QString dayMovementSql(MovementKind kind, const QString& storeCnpj, const QString& codigo, const QString& dcb,
                       const QDate& day, const std::optional<QString>& laboratory)
{
    const QString date = sqlLiteral(sqlDateText(day));
    const QString orderBy = QStringLiteral(" order by ") + ledger::movementOrder(kind);
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("Select NFISCAL.LOJA, NFISCAL.DATARECEBIM, NFISCAL.NOTAFISCAL, NFISCAL.FORNECEDOR, "
                              "COMPRAS.LOTE, COMPRAS.VALIDADE, COMPRAS.QUANTIDADE, COMPRAS.UNIDADE from NFISCAL, "
                              "COMPRAS where NFISCAL.DATARECEBIM = ")
            + date
            + QStringLiteral(" and NFISCAL.NOTAFISCAL = COMPRAS.NOTAFISCAL AND NFISCAL.FORNECEDOR = "
                             "COMPRAS.FORNECEDOR and NFISCAL.LOJA = ")
            + sqlLiteral(storeCnpj) + QStringLiteral(" and COMPRAS.CODIGO = ") + sqlLiteral(codigo) + orderBy;
    case MovementKind::Exit: {
        QString sql = QStringLiteral("Select PEDIDOS.DATAPEDIDO, PEDIDOS.ESTACAO, PEDIDOS.NPEDIDO, COMPEDID.LOTE, "
                                     "COMPEDID.FORNECEDOR, COMPEDID.VALIDADELOTE, COMPEDID.QDEESTOQUE, COMPEDID.UNID "
                                     "from PEDIDOS, COMPEDID");
        if (laboratory)
            sql += QStringLiteral(", PEDIFORM");
        sql += QStringLiteral(" where PEDIDOS.DATAPEDIDO = ") + date
            + QStringLiteral(" and ((PEDIDOS.TIPOPEDIDO='Pedido') or (PEDIDOS.TIPOPEDIDO='Repos')) and "
                             "PEDIDOS.ESTACAO=COMPEDID.ESTACAO AND PEDIDOS.NPEDIDO=COMPEDID.NPEDIDO and "
                             "COMPEDID.CODIGOCOMP = ")
            + sqlLiteral(codigo);
        if (laboratory)
            sql += QStringLiteral(" and PEDIFORM.ESTACAO=COMPEDID.ESTACAO and PEDIFORM.NPEDIDO=COMPEDID.NPEDIDO and "
                                  "PEDIFORM.NFORMULA=COMPEDID.NFORMULA and PEDIFORM.LABORATORIO = ")
                + sqlLiteral(*laboratory);
        return sql + orderBy;
    }
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("Select LOJA, DATA, FORNECEDOR, LOTE, QUANTIDADE, UNIDADE, MOTIVO from PERDAS where DATA = ")
        + date + QStringLiteral(" and LOJA = ") + sqlLiteral(storeCnpj) + QStringLiteral(" and DCB = ")
        + sqlLiteral(dcb) + orderBy;
}

void DayByDayMovements::startGroup(data::Query& query, const StoreScope& store, const ListGroupTable& products,
                                   const QDate& first, const QDate& last)
{
    m_query = &query;
    m_store = store;
    m_products = &products;
    m_first = first;
    m_last = last;
}

void DayByDayMovements::walkProduct(int number, const MovementVisitor& visit)
{
    const ControlledComponent& product = m_products->entry(number);
    std::vector<MovementRow> rows;
    const bool sharedDcb = std::count_if(m_products->begin(), m_products->end(), [&](const ControlledComponent& other) {
                               return comparedText(other.dcb) == comparedText(product.dcb);
                           }) > 1;
    for (QDate day = m_first; day <= m_last; day = day.addDays(1)) {
        for (const MovementKind kind : {MovementKind::Entry, MovementKind::Exit, MovementKind::Loss}) {
            // The reference knows one laboratory per store, the first of its TABLAB rows.
            const std::optional<QString> laboratory =
                m_store.severalStores ? std::optional<QString>(m_store.laboratories.value(0)) : std::nullopt;
            QString sql = dayMovementSql(kind, m_store.cnpj, product.codigo, product.dcb, day, laboratory);
            // A loss of a DCB that several products of the group share is the one it names.
            if (kind == MovementKind::Loss && sharedDcb)
                sql.replace(QStringLiteral(" order by "),
                            QStringLiteral(" and COMPONENTE = ") + sqlLiteral(product.componente) + QStringLiteral(" order by "));
            rows.clear();
            try {
                m_query->close();
                m_query->setSql(sql);
                m_query->open();
                for (; !m_query->eof(); m_query->next())
                    rows.push_back(readMovementRow(*m_query, kind));
                m_query->close();
            } catch (const data::DatabaseUnavailable&) {
                throw;
            } catch (const data::DbError& error) {
                throw MovementQueryFailed{kind, QStringLiteral("de %1 do dia %2").arg(product.componente, dateText(day)),
                                          error.message(), sql};
            }
            for (const MovementRow& row : rows)
                visit(kind, row);
        }
    }
}

} // namespace livros::classic::testing
