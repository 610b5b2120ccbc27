#include "book/revised/revised_book_builder.h"

#include "book/batched_insert.h"
#include "book/build_transaction.h"
#include "book/ledger/ledger_sql.h"
#include "book/revised/order_column.h"
#include "book/revised/revised_book_check.h"
#include "book/revised/revised_texts.h"
#include "book/revised/revised_walk.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"

#include <algorithm>

namespace livros::revised {

namespace {

constexpr int kProgressNameWidth = 80;

const char16_t kSelectionHead[] =
    u"Select CODIGO, COMPONENTE, UNID, LISTA, CONTROLADA, REGMSMEDICAM, DCB, FORNECEDOR from COMPONEN WHERE ";

} // namespace

QString deleteStoreBook(const QString& cnpj)
{
    return QStringLiteral("DELETE FROM LIVROREVCONTR WHERE CNPJ = ") + sqlLiteral(cnpj);
}

QString componentSelection(RevisedMode mode)
{
    QString sql = QString::fromUtf16(kSelectionHead);
    switch (mode) {
    case RevisedMode::Drogaria:
        sql += ledger::drugstoreProductCondition() + QStringLiteral(" and controlada = 'Sim' ORDER BY LISTA, COMPONENTE");
        break;
    case RevisedMode::InsumosCompleto:
        sql += ledger::compoundingProductCondition()
            + QStringLiteral(" and controlada = 'Sim' ORDER BY LISTA, COMPONENTE");
        break;
    case RevisedMode::Siproquim:
        sql += siproquimComponentCondition() + QStringLiteral(" ORDER BY LISTA, COMPONENTE");
        break;
    }
    return sql;
}

QString siproquimComponentCondition()
{
    return ledger::compoundingProductCondition()
        + QStringLiteral(" and upper(substring(FORNECEDOR FROM 1 FOR 3)) = 'TPN'");
}

RevisedBookBuilder::RevisedBookBuilder(data::TDM& dm, RevisedBuildView& view)
    : m_dm(dm), m_view(view), m_query(dm.sqlcon1, QStringLiteral("RevisedBookQuery"))
{
}

RevisedBuildResult RevisedBookBuilder::build(RevisedMode mode, const QString& cnpj,
                                             const QString& startText, const QString& endText)
{
    const std::optional<QDate> start = parseDateText(startText);
    const std::optional<QDate> end = start ? parseDateText(endText) : std::nullopt;
    return build(mode, cnpj, start.value_or(QDate()), end.value_or(QDate()));
}

RevisedBuildResult RevisedBookBuilder::build(RevisedMode mode, const QString& cnpj,
                                             const QDate& start, const QDate& end)
{
    RevisedBuildResult result;
    if (!start.isValid()) {
        m_view.showMessage(QString::fromUtf16(kBadStartDateMessage));
        m_view.focusStartDate();
        result.outcome = RevisedBuildOutcome::BadStartDate;
        return result;
    }
    // A final date before the initial one would give a book of opening lines only.
    if (!end.isValid() || end < start) {
        m_view.showMessage(QString::fromUtf16(kBadEndDateMessage));
        m_view.focusEndDate();
        result.outcome = RevisedBuildOutcome::BadEndDate;
        return result;
    }

    m_view.hidePeriodPanel();
    m_view.showProgressPanel(QStringLiteral("Verificando movimentação..."), QStringLiteral("Preparação"));

    MovementValues values;
    values.cnpj = cnpj;
    values.start = start;
    values.end = end;
    m_view.processEvents();
    // The first use of the database: a database that cannot serve the build says so plainly.
    ensureRevisedOrderColumn(m_dm.sqlcon1);

    try {
        // One transaction for the whole build, holding this store's claim on LIVROREVCONTR: the
        // delete, every product's lines and their check commit together before the preview, or
        // not at all. Other stores' books build meanwhile.
        const auto build = book::startStoreBuildTransaction(m_dm.sqlcon1, QStringLiteral("LIVROREVCONTR"), cnpj,
                                                            [&](const QString& text) { m_view.showWaiting(text); });
        build->execute(deleteStoreBook(cnpj));
        // The whole selection is read before the first statement: the gauge needs its size, and
        // no query stays open while the window processes events between statements.
        const std::vector<ComponentRow> components = readComponentRows(m_query, mode);
        result = writeBook(mode, values, components, *build);
        if (result.outcome != RevisedBuildOutcome::Built)
            return result; // rolled back
        build->commit();
    } catch (const std::exception&) {
        m_query.close();
        book::rethrowAsNotBuilt();
    }

    m_view.showRevisedBook(mode);
    m_view.afterPreview();
    return result;
}

namespace {

QString refusalsMessage(const std::vector<ledger::Refusal>& refusals)
{
    return QStringLiteral("O livro não pode ser montado com estas movimentações:\n%1\n\nCorrija-as no sistema e "
                          "monte o livro de novo; \"livros-cli check\" lista todas.")
        .arg(ledger::refusalLines(refusals));
}

std::vector<ledger::LedgerProduct> ledgerProducts(const std::vector<ComponentRow>& components)
{
    std::vector<ledger::LedgerProduct> products;
    products.reserve(components.size());
    for (const ComponentRow& row : components)
        products.push_back({row.codigo, row.name, row.dcb, row.unid});
    return products;
}

} // namespace

RevisedBuildResult RevisedBookBuilder::writeBook(RevisedMode mode, const MovementValues& values,
                                                 const std::vector<ComponentRow>& components,
                                                 data::Transaction& transaction)
{
    RevisedBuildResult result;
    result.components = int(components.size());
    m_view.setGaugeRange(result.components);

    const ledger::StoreScope scope = ledger::readStoreScope(m_query, values.cnpj);
    ledger::Ledger ledger;
    try {
        ledger::LedgerRequest request;
        request.drugstoreItems = mode == RevisedMode::Drogaria;
        request.whenOneStore = ledger::StoreScope::OneStore::StoreLaboratories;
        ledger.read(m_query, scope, ledgerProducts(components), values.start, values.end, request);
    } catch (const ledger::LedgerQueryFailed& failure) {
        m_view.showStatementFailure(QString::fromUtf16(kStatementFailedMessage), failure.reason, failure.statement);
        result.outcome = RevisedBuildOutcome::StatementFailed;
        result.failedStatement = failure.statement;
        result.failureReason = failure.reason;
        return result;
    }
    if (!ledger.storeCounted()) {
        m_view.showMessage(ledger::noInventoryMessage(values.start));
        result.outcome = RevisedBuildOutcome::NoInventory;
        return result;
    }
    if (!ledger.refusals().empty()) {
        m_view.showMessage(refusalsMessage(ledger.refusals()));
        result.outcome = RevisedBuildOutcome::Refused;
        return result;
    }

    // The products with lines take consecutive numbers from the shared numbering, taken at once:
    // a build of another store meanwhile takes numbers of its own.
    const auto withLines = std::count_if(components.begin(), components.end(),
                                         [&](const ComponentRow& row) { return hasIdentifier(mode, row); });
    qint64 nextId = withLines > 0 ? book::reserveRevisedLineIds(m_dm.sqlcon1, int(withLines)) : 0;
    book::BatchedInsert insert(transaction, QStringLiteral("LIVROREVCONTR"), revisedLineColumns());
    const QString period = periodText(values.start, values.end);
    std::vector<QString> writtenLines; // each line written, named for a refusal's message
    std::vector<RevisedOpening> openings;
    try {
        for (std::size_t index = 0; index < components.size(); ++index) {
            const ComponentRow& row = components[index];
            m_view.setProgressFooter(row.componente);
            m_view.processEvents();
            if (hasIdentifier(mode, row)) {
                std::vector<RevisedLine> lines;
                try {
                    lines = productLines(mode, ledger.product(index), values.start);
                } catch (const QuantityOutOfRange& tooLarge) {
                    const QString reason = QStringLiteral("A quantidade %1 de %2 leva o estoque além do que o livro guarda "
                                                          "(4,6 trilhões).")
                                               .arg(tooLarge.quantity, tooLarge.date.toString(QStringLiteral("dd/MM/yyyy")));
                    const QString where = QStringLiteral("LIVROREVCONTR: %1 (código %2)").arg(row.componente, row.codigo);
                    m_view.showStatementFailure(QString::fromUtf16(kStatementFailedMessage), reason, where);
                    result.outcome = RevisedBuildOutcome::StatementFailed;
                    result.failedStatement = where;
                    result.failureReason = reason;
                    return result;
                }
                openings.push_back({row.codigo, lines.front().stock});
                const qint64 id = nextId++;
                const QString componente = componenteText(row.name, row.nameKnown, row.codigo, row.unid);
                const QString codigo = row.codigo.left(kCodigoColumnWidth);
                const QString lista = listText(row.lista);
                const QString registration = registrationColumn(mode, row);
                const QString dcb = dcbColumn(mode, row);
                for (const RevisedLine& line : lines) {
                    using V = book::ColumnValue;
                    insert.write({V::ofInteger(id), V::ofText(values.cnpj.left(18)), V::ofDate(line.date),
                                  V::ofText(line.history.left(kHistoricoWidth)), V::ofText(line.lot.left(kLoteWidth)),
                                  V::ofText(QString(line.operation)),
                                  line.quantityKnown ? V::ofDecimal(line.quantity.text()) : V(),
                                  V::ofInteger(line.context), V::ofDecimal(line.stock.text()),
                                  V::ofText(line.observation.left(kObservacaoWidth)), V::ofText(registration),
                                  V::ofText(dcb), V::ofText(componente), V::ofText(codigo), V::ofText(period),
                                  V::ofText(lista), V::ofInteger(line.order)});
                    writtenLines.push_back(QStringLiteral("LIVROREVCONTR: %1 (código %2), %3, operação %4, estoque %5")
                                               .arg(row.componente, codigo, line.date.toString(QStringLiteral("dd/MM/yyyy")),
                                                    QString(line.operation), line.stock.text()));
                }
            }
            ++result.statementsRun;
            m_view.advanceGauge();
        }
        insert.flush();
    } catch (const book::RowRefused& refused) {
        const QString product = refused.row() < writtenLines.size() ? writtenLines[refused.row()] : QString();
        m_view.showStatementFailure(QString::fromUtf16(kStatementFailedMessage), refused.message(), product);
        result.outcome = RevisedBuildOutcome::StatementFailed;
        result.failedStatement = product;
        result.failureReason = refused.message();
        return result;
    }
    checkStoreLines(m_query, mode, values, components, openings);
    result.outcome = RevisedBuildOutcome::Built;
    return result;
}

std::vector<ComponentRow> readComponentRows(data::Query& query, RevisedMode mode)
{
    query.close();
    query.setSql(componentSelection(mode));
    query.open();
    std::vector<ComponentRow> rows;
    for (; !query.eof(); query.next()) {
        ComponentRow row;
        row.codigo = query.asString(QStringLiteral("CODIGO"));
        row.name = query.asString(QStringLiteral("COMPONENTE"));
        row.nameKnown = !query.isNull(QStringLiteral("COMPONENTE"));
        row.componente = row.name.left(kProgressNameWidth);
        row.unid = query.asString(QStringLiteral("UNID"));
        row.lista = query.asString(QStringLiteral("LISTA"));
        row.fornecedor = query.asString(QStringLiteral("FORNECEDOR"));
        row.dcb = query.asString(QStringLiteral("DCB"));
        row.registration = query.asString(QStringLiteral("REGMSMEDICAM"));
        rows.push_back(std::move(row));
    }
    query.close();
    return rows;
}

} // namespace livros::revised
