#include "book/ledger/ledger.h"

#include "book/ledger/ledger_sql.h"
#include "book/ledger/units.h"
#include "data/db_error.h"
#include "data/query.h"
#include "data/statement_text.h"
#include "platform/sql_literal.h"

#include <QHash>
#include <QSet>

namespace livros::ledger {

namespace {

const QString kCodigo = QStringLiteral("CODIGO");
const QString kFornecedor = QStringLiteral("FORNECEDOR");
const QString kFornecedorCnpj = QStringLiteral("FORNECEDOR_CNPJ");
const QString kLote = QStringLiteral("LOTE");

// Each distinct compared text once, in the book's order, with the products it names.
struct KeyIndex {
    QStringList keys;
    QHash<QString, std::vector<std::size_t>> owners;

    void add(const QString& text, std::size_t product)
    {
        const QString key = comparedText(text);
        auto& list = owners[key];
        if (list.empty())
            keys << key;
        list.push_back(product);
    }
    const std::vector<std::size_t>* find(const QString& text) const
    {
        const auto found = owners.constFind(comparedText(text));
        return found == owners.constEnd() ? nullptr : &*found;
    }
};

QString kindName(MovementKind kind)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("Entrada");
    case MovementKind::Exit:
        return QStringLiteral("Saída");
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("Perda");
}

// The movement as the refusals name it: kind, date, the row's own key and its quantity.
QString describe(const Movement& m)
{
    QString where;
    switch (m.kind) {
    case MovementKind::Entry:
        where = QStringLiteral("nota fiscal %1 de %2").arg(m.invoice, m.supplier);
        break;
    case MovementKind::Exit:
        where = m.drugstoreItem ? QStringLiteral("pedido %1-%2").arg(m.station, m.orderNumber)
                                : QStringLiteral("pedido %1-%2, fórmula %3").arg(m.station, m.orderNumber, m.formula);
        break;
    case MovementKind::Loss:
        where = QStringLiteral("Forn: %1, Lote: %2").arg(m.supplier, m.lot);
        break;
    }
    const QString quantity = m.quantityText.isEmpty() ? QStringLiteral("0") : m.quantityText;
    return QStringLiteral("%1 de %2 (%3; %4 %5)")
        .arg(kindName(m.kind), refusalDate(m.date), where, quantity, m.unit.trimmed());
}

QString productName(const LedgerProduct& p)
{
    return QStringLiteral("\"%1\" (código %2)").arg(p.componente, comparedText(p.codigo));
}

// The order an exit belongs to, with its prescription data.
void readOrder(const data::Query& query, Movement& m)
{
    m.station = query.asString(QStringLiteral("ESTACAO"));
    m.orderNumber = query.asString(QStringLiteral("NPEDIDO"));
    m.orderType = query.asString(QStringLiteral("TIPOPEDIDO"));
    m.patient = query.asString(QStringLiteral("PACIENTE"));
    m.prescriber = query.asString(QStringLiteral("MEDICO"));
    m.council = query.asString(QStringLiteral("CONSELHOPROFISSIONAL"));
    m.registration = query.asString(QStringLiteral("CRM"));
    m.councilState = query.asString(QStringLiteral("UFCONSELHO"));
}

} // namespace

void walkInBookOrder(const ProductLedger& product, const std::function<void(const Movement&)>& visit)
{
    const auto& rows = product.movements;
    std::array<std::size_t, 3> next{};
    for (;;) {
        int pick = -1;
        for (int kind = 0; kind < 3; ++kind) {
            if (next[kind] == rows[kind].size())
                continue;
            if (pick < 0 || rows[kind][next[kind]].date < rows[pick][next[pick]].date)
                pick = kind;
        }
        if (pick < 0)
            return;
        visit(rows[pick][next[pick]++]);
    }
}

QString refusalDate(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yy")); }

QString refusalLines(const std::vector<Refusal>& refusals)
{
    QStringList texts;
    for (const Refusal& refusal : refusals)
        texts << refusal.text;
    return texts.join(u'\n');
}

QString noInventoryMessage(const QDate& initialDate)
{
    const QChar carriageReturn(13);
    return QStringLiteral("Antes de prosseguir, favor incluir um inventário") + carriageReturn
        + QStringLiteral("com a posição do estoque do dia ") + QLatin1Char('"') + refusalDate(initialDate)
        + QLatin1Char('"') + QLatin1Char('.') + carriageReturn + carriageReturn
        + QStringLiteral("Na tela inicial do sistema, acesse a opção ") + carriageReturn
        + QStringLiteral("ESTOQUE / INVENTÁRIOS");
}

ExactQuantity Movement::exactBookQuantity() const
{
    return ExactQuantity::fromText(quantityText, powerOfTenOf(factor));
}

ExactQuantity Opening::exactBookQuantity() const
{
    return ExactQuantity::fromText(quantityText, powerOfTenOf(factor));
}

void Ledger::read(data::Query& query, const StoreScope& scope, const std::vector<LedgerProduct>& products,
                  const QDate& first, const QDate& last, const LedgerRequest& request)
{
    m_scope = scope;
    m_productList = products;
    m_first = first;
    m_last = last;
    m_request = request;
    m_products.assign(products.size(), ProductLedger{});
    m_refusals.clear();

    const LedgerStatement count = storeInventoryCountSql(scope.cnpj, first);
    query.setSql(count.sql, count.values);
    query.open();
    m_storeCounted = query.asInteger(QStringLiteral("QDE")) > 0;
    query.close();
    if (products.empty())
        return;

    readOpenings(query);
    readKind(query, MovementKind::Entry);
    if (request.drugstoreItems)
        readItems(query);
    else
        readKind(query, MovementKind::Exit);
    readKind(query, MovementKind::Loss);
}

void Ledger::refuse(const LedgerProduct* product, const QDate& date, const QString& text)
{
    for (const Refusal& known : m_refusals) {
        if (known.text == text)
            return; // a row met again in another batch of products
    }
    m_refusals.push_back(
        {product ? product->codigo : QString(), product ? product->componente : QString(), date, text});
}

void Ledger::place(std::size_t owner, Movement movement)
{
    const LedgerProduct& product = m_productList[owner];
    const std::optional<double> factor = unitFactor(movement.unit, product.unid);
    if (!factor) {
        refuse(&product, movement.date,
               QStringLiteral("%1 do produto %2: a unidade \"%3\" não se converte na unidade do produto (\"%4\").")
                   .arg(describe(movement), productName(product), movement.unit.trimmed(), product.unid.trimmed()));
        return;
    }
    movement.factor = *factor;
    m_products[owner].movements[std::size_t(movement.kind)].push_back(std::move(movement));
}

void Ledger::readOpenings(data::Query& query)
{
    KeyIndex codes;
    for (std::size_t i = 0; i < m_productList.size(); ++i)
        codes.add(m_productList[i].codigo, i);

    for (qsizetype from = 0; from < codes.keys.size(); from += kKeysPerQuery) {
        const LedgerStatement openings = openingInventorySql(m_scope.cnpj, codes.keys.mid(from, kKeysPerQuery), m_first);
        query.setSql(openings.sql, openings.values);
        query.open();
        for (; !query.eof(); query.next()) {
            const auto* owners = codes.find(query.asString(kCodigo));
            if (!owners)
                // Only a server comparing texts otherwise (another collation) gets here.
                throw data::DbError(QStringLiteral("O servidor devolveu o produto \"%1\", que não está na lista.")
                                        .arg(query.asString(kCodigo)));
            for (const std::size_t owner : *owners) {
                const LedgerProduct& product = m_productList[owner];
                Opening& opening = m_products[owner].opening;
                if (opening.rows++ > 0) {
                    refuse(&product, m_first,
                           QStringLiteral("Inventário de %1: o produto %2 tem mais de uma linha no dia.")
                               .arg(refusalDate(m_first), productName(product)));
                    continue;
                }
                opening.counted = true;
                opening.quantity = query.asFloat(QStringLiteral("QDE"));
                opening.quantityText = query.asExactNumber(QStringLiteral("QDE"));
                opening.unit = query.asString(QStringLiteral("UNID"));
                const std::optional<double> factor = unitFactor(opening.unit, product.unid);
                if (!factor) {
                    refuse(&product, m_first,
                           QStringLiteral("Inventário de %1 do produto %2: a unidade \"%3\" não se converte na "
                                          "unidade do produto (\"%4\").")
                               .arg(refusalDate(m_first), productName(product), opening.unit.trimmed(),
                                    product.unid.trimmed()));
                    continue;
                }
                opening.factor = *factor;
            }
        }
        query.close();
    }
}

void Ledger::readKind(data::Query& query, MovementKind kind)
{
    // Entries and exits name their product by code; losses by DCB, else by name.
    KeyIndex keys;
    KeyIndex names;
    for (std::size_t i = 0; i < m_productList.size(); ++i) {
        const LedgerProduct& p = m_productList[i];
        if (kind != MovementKind::Loss) {
            keys.add(p.codigo, i);
            continue;
        }
        if (!comparedText(p.dcb).isEmpty())
            keys.add(p.dcb, i);
        names.add(p.componente, i);
    }

    LedgerStatement statement;
    try {
        const qsizetype batches = std::max(keys.keys.size(), names.keys.size());
        for (qsizetype from = 0; from < batches || from == 0; from += kKeysPerQuery) {
            const QStringList keyBatch = keys.keys.mid(from, kKeysPerQuery);
            const QStringList nameBatch = names.keys.mid(from, kKeysPerQuery);
            if (keyBatch.isEmpty() && nameBatch.isEmpty())
                break;
            switch (kind) {
            case MovementKind::Entry:
                statement = entriesSql(m_scope.cnpj, keyBatch, m_first, m_last);
                break;
            case MovementKind::Exit:
                statement = formulaExitsSql(keyBatch, m_first, m_last);
                break;
            case MovementKind::Loss:
                statement = lossesSql(m_scope.cnpj, keyBatch, nameBatch, m_first, m_last);
                break;
            }
            query.setSql(statement.sql, statement.values);
            query.open();
            for (; !query.eof(); query.next()) {
                Movement m;
                m.kind = kind;
                m.supplier = query.asString(kFornecedor);
                m.lot = query.asString(kLote);
                switch (kind) {
                case MovementKind::Entry:
                    m.date = query.asDateTime(QStringLiteral("DATARECEBIM")).date();
                    m.quantity = query.asFloat(QStringLiteral("QUANTIDADE"));
                    m.quantityText = query.asExactNumber(QStringLiteral("QUANTIDADE"));
                    m.unit = query.asString(QStringLiteral("UNIDADE"));
                    m.expiry = query.asString(QStringLiteral("VALIDADE"));
                    m.invoice = query.asString(QStringLiteral("NOTAFISCAL"));
                    m.density = query.asExactNumber(QStringLiteral("DENSIDADE"));
                    m.correctionFactor = query.asExactNumber(QStringLiteral("FATORCORRECAO"));
                    m.supplierCnpj = query.asString(kFornecedorCnpj);
                    break;
                case MovementKind::Exit: {
                    const QString laboratory = query.asString(QStringLiteral("LABORATORIO"));
                    const bool formulaKnown = !query.isNull(QStringLiteral("FORMULA_ROW"));
                    if (!m_scope.owns(laboratory, formulaKnown && !query.isNull(QStringLiteral("LABORATORIO")),
                                      m_request.whenOneStore))
                        continue;
                    m.date = query.asDateTime(QStringLiteral("DATAPEDIDO")).date();
                    m.quantity = query.asFloat(QStringLiteral("QDEESTOQUE"));
                    m.quantityText = query.asExactNumber(QStringLiteral("QDEESTOQUE"));
                    m.unit = query.asString(QStringLiteral("UNID"));
                    m.expiry = query.asString(QStringLiteral("VALIDADELOTE"));
                    m.formula = query.asString(QStringLiteral("NFORMULA"));
                    m.density = query.asExactNumber(QStringLiteral("DENSIDADE"));
                    m.notification = query.asString(QStringLiteral("NUMERONOTIFICACAO"));
                    m.notificationKnown = !query.isNull(QStringLiteral("NUMERONOTIFICACAO"));
                    break;
                }
                case MovementKind::Loss:
                    m.date = query.asDateTime(QStringLiteral("DATA")).date();
                    m.quantity = query.asFloat(QStringLiteral("QUANTIDADE"));
                    m.quantityText = query.asExactNumber(QStringLiteral("QUANTIDADE"));
                    m.unit = query.asString(QStringLiteral("UNIDADE"));
                    m.reason = query.asString(QStringLiteral("MOTIVO"));
                    m.reasonKnown = !query.isNull(QStringLiteral("MOTIVO"));
                    m.supplierCnpj = query.asString(kFornecedorCnpj);
                    break;
                }
                if (kind == MovementKind::Exit) {
                    readOrder(query, m);
                }

                if (kind != MovementKind::Loss) {
                    const QString column = kind == MovementKind::Entry ? kCodigo : QStringLiteral("CODIGOCOMP");
                    const auto* owners = keys.find(query.asString(column));
                    if (!owners)
                        throw data::DbError(
                            QStringLiteral("O servidor devolveu o produto \"%1\", que não está na lista.")
                                .arg(query.asString(column)));
                    // Two products of one code (trailing blanks apart) are one product.
                    place(owners->front(), m);
                    continue;
                }

                // A loss: the product of its DCB named as the loss names it, or the only product
                // of its DCB; without a product of its DCB, the one product of its name.
                const QString dcb = query.asString(QStringLiteral("DCB"));
                const QString name = comparedText(query.asString(QStringLiteral("COMPONENTE")));
                const auto* ofDcb = comparedText(dcb).isEmpty() ? nullptr : keys.find(dcb);
                const auto* ofName = names.find(name);
                std::vector<std::size_t> named;
                if (ofDcb) {
                    for (const std::size_t i : *ofDcb) {
                        if (comparedText(m_productList[i].componente) == name)
                            named.push_back(i);
                    }
                    if (named.empty() && ofDcb->size() == 1)
                        named.push_back(ofDcb->front());
                } else if (ofName) {
                    named = *ofName;
                } else {
                    continue; // another book's loss
                }
                if (named.size() != 1) {
                    refuse(nullptr, m.date,
                           ofDcb ? QStringLiteral("%1: o DCB \"%2\" é de %3 produtos do livro e %4 deles se "
                                                  "chama \"%5\".")
                                       .arg(describe(m), comparedText(dcb), QString::number(ofDcb->size()),
                                            QString::number(named.size()), name)
                                 : QStringLiteral("%1: %2 produtos do livro se chamam \"%3\".")
                                       .arg(describe(m), QString::number(named.size()), name));
                    continue;
                }
                // Read in the batch of its product only, so that it counts once.
                const qsizetype batchOfOwner = [&] {
                    const QString ownKey = ofDcb ? comparedText(dcb) : name;
                    const QStringList& list = ofDcb ? keys.keys : names.keys;
                    return list.indexOf(ownKey) / kKeysPerQuery;
                }();
                if (batchOfOwner != from / kKeysPerQuery)
                    continue;
                place(named.front(), m);
            }
            query.close();
        }
    } catch (const data::DatabaseUnavailable&) {
        throw; // not this query's fault: no query can run now
    } catch (const data::DbError& error) {
        query.close();
        throw LedgerQueryFailed{kind, error.message(), data::statementWithValues(statement.sql, statement.values)};
    }
}

void Ledger::readItems(data::Query& query)
{
    // Every catalogue code, and how many products bear each name: a sale goes by its code, and
    // by its description only when no product has that code.
    QSet<QString> catalogueCodes;
    QHash<QString, int> catalogueNames;
    query.close();
    query.setSql(QStringLiteral("Select CODIGO, COMPONENTE from COMPONEN"));
    query.open();
    for (; !query.eof(); query.next()) {
        catalogueCodes.insert(comparedText(query.asString(kCodigo)));
        ++catalogueNames[comparedText(query.asString(QStringLiteral("COMPONENTE")))];
    }
    query.close();

    KeyIndex codes;
    KeyIndex names;
    for (std::size_t i = 0; i < m_productList.size(); ++i) {
        codes.add(m_productList[i].codigo, i);
        names.add(m_productList[i].componente, i);
    }

    LedgerStatement statement;
    QSet<QString> seen; // ITENS rows by key: a row may match one batch by code and another by name
    try {
        for (qsizetype from = 0; from < codes.keys.size(); from += kKeysPerQuery) {
            statement = itemExitsSql(codes.keys.mid(from, kKeysPerQuery), names.keys.mid(from, kKeysPerQuery),
                                     m_first, m_last);
            query.setSql(statement.sql, statement.values);
            query.open();
            for (; !query.eof(); query.next()) {
                const QString code = comparedText(query.asString(QStringLiteral("CODPROD")));
                const QString description = comparedText(query.asString(QStringLiteral("DESCRICAO")));
                Movement m;
                m.kind = MovementKind::Exit;
                m.drugstoreItem = true;
                m.date = query.asDateTime(QStringLiteral("DATAPEDIDO")).date();
                readOrder(query, m);
                m.quantity = query.asFloat(QStringLiteral("QDE"));
                m.quantityText = query.asExactNumber(QStringLiteral("QDE"));
                m.lot = query.asString(QStringLiteral("NUMLOTEMEDICAM"));
                m.notification = query.asString(QStringLiteral("NUMERONOTIFICACAO"));
                m.notificationKnown = !query.isNull(QStringLiteral("NUMERONOTIFICACAO"));
                m.supplier = description;

                const QString key = m.station + u'\x1f' + m.orderNumber + u'\x1f' + code;
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                const QString laboratory = query.asString(QStringLiteral("LABORATORIO"));
                if (!m_scope.owns(laboratory, !query.isNull(QStringLiteral("LABORATORIO")), m_request.whenOneStore))
                    continue;

                if (catalogueCodes.contains(code)) {
                    if (const auto* owners = codes.find(code))
                        place(owners->front(), m);
                    continue; // another product's sale
                }
                const int bearers = catalogueNames.value(description);
                const auto* owners = names.find(description);
                if (!owners)
                    continue;
                if (bearers != 1 || owners->size() != 1) {
                    refuse(nullptr, m.date,
                           QStringLiteral("%1: nenhum produto tem o código \"%2\" e %3 produtos se chamam \"%4\".")
                               .arg(describe(m), code, QString::number(std::max<qsizetype>(bearers, owners->size())),
                                    description));
                    continue;
                }
                place(owners->front(), m);
            }
            query.close();
        }
    } catch (const data::DatabaseUnavailable&) {
        throw;
    } catch (const data::DbError& error) {
        query.close();
        throw LedgerQueryFailed{MovementKind::Exit, error.message(),
                                data::statementWithValues(statement.sql, statement.values)};
    }
}

} // namespace livros::ledger
