#pragma once
#include "book/ledger/ledger.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace livros::ledger {

// The statements of the ledger's readings. Values go apart from the text, as the values of its
// "?" placeholders: the store as a text placeholder wide enough for any value, the product keys
// as plain placeholders (a key wider than the column it is compared with is left out: it matches
// no row there), dates as dates.

// A reading's text and the values of its placeholders, in order.
struct LedgerStatement {
    QString sql;
    QVariantList values;
};

// Which book a product is in, as an SQL condition on COMPONEN: a drugstore product when its GRUPO
// begins with "REV" in any letter case, a compounding product otherwise (GRUPO empty or NULL too).
QString drugstoreProductCondition();
QString compoundingProductCondition();

// How many inventory rows the store has on `day`.
LedgerStatement storeInventoryCountSql(const QString& cnpj, const QDate& day);
// The inventory rows of a set of product codes on `day`: CODIGO, QDE, UNID.
LedgerStatement openingInventorySql(const QString& cnpj, const QStringList& codes, const QDate& day);

// The order of one kind's rows, after the date: the row's natural key, then every column the
// books show, so that two rows in the same place are the same line.
//   entries: invoice (NOTAFISCAL, FORNECEDOR), item (COMPRAS.ESTACAO, CODCOMPRA), then lot,
//            expiry, quantity, unit;
//   exits:   the formula component's key (COMPEDID.ESTACAO, NPEDIDO, NFORMULA, COMPONENTE);
//   losses:  supplier, lot, reason, quantity, unit (PERDAS has no key).
QString movementOrder(MovementKind kind);

// Entries of the store's invoices received from `first` to `last` of the product codes `codes`.
LedgerStatement entriesSql(const QString& cnpj, const QStringList& codes, const QDate& first, const QDate& last);
// Formula components of orders ("Pedido" and "Repos") of the period, with their formula's
// laboratory and notification (NULL when the formula has no PEDIFORM row).
LedgerStatement formulaExitsSql(const QStringList& codes, const QDate& first, const QDate& last);
// Drugstore items of orders ("Pedido") of the period whose code or description is one of the
// given ones, by order key.
LedgerStatement itemExitsSql(const QStringList& codes, const QStringList& names, const QDate& first, const QDate& last);
// The store's losses of the period whose DCB or product name is one of the given ones.
LedgerStatement lossesSql(const QString& cnpj, const QStringList& dcbs, const QStringList& names, const QDate& first,
                  const QDate& last);

} // namespace livros::ledger
