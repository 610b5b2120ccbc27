#include "book/revised/revised_book_builder.h"

#include "book/build_transaction.h"
#include "book/revised/revised_book_check.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "platform/date_text.h"
#include "platform/sql_literal.h"

namespace livros::revised {

namespace {

constexpr int kComponenteWidth = 80;

const char16_t kSelectionHead[] =
    u"Select CODIGO, COMPONENTE, UNID, LISTA, CONTROLADA, REGMSMEDICAM DCB, FORNECEDOR from COMPONEN WHERE ";

} // namespace

QString laboratorySelect(const QString& cnpj)
{
    return QStringLiteral("Select FIRST 1 LABORATORIO from TABLAB WHERE LOJA = ") + sqlLiteral(cnpj);
}

QString deleteStoreBook(const QString& cnpj)
{
    return QStringLiteral("DELETE FROM LIVROREVCONTR WHERE CNPJ = ") + sqlLiteral(cnpj);
}

QString componentSelection(RevisedMode mode)
{
    QString sql = QString::fromUtf16(kSelectionHead);
    switch (mode) {
    case RevisedMode::Drogaria:
        sql += u"SUBSTRING(UPPER(GRUPO) FROM 1 FOR 3) = 'REV' and controlada = 'Sim' ORDER BY LISTA, COMPONENTE";
        break;
    case RevisedMode::InsumosCompleto:
        sql += u"SUBSTRING(UPPER(GRUPO) FROM 1 FOR 3) <> 'REV' and controlada = 'Sim' ORDER BY LISTA, COMPONENTE";
        break;
    case RevisedMode::Siproquim:
        sql += siproquimComponentCondition() + QStringLiteral(" ORDER BY LISTA, COMPONENTE");
        break;
    }
    return sql;
}

QString siproquimComponentCondition()
{
    return QStringLiteral("SUBSTRING(UPPER(GRUPO) FROM 1 FOR 3) <> 'REV' and upper(substring(FORNECEDOR FROM 1 FOR 3)) = 'TPN'");
}

RevisedBookBuilder::RevisedBookBuilder(data::TDM& dm, RevisedBuildView& view)
    : m_dm(dm), m_view(view)
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
    values.lab = readStoreLaboratory(m_dm.SQLQuery1, cnpj);
    values.start = start;
    values.end = end;
    m_view.processEvents();

    try {
        // One transaction for the whole build, holding this store's claim on LIVROREVCONTR: the
        // delete, every product's lines and their check commit together before the preview, or
        // not at all. Other stores' books build meanwhile.
        const auto build = book::startStoreBuildTransaction(m_dm.sqlcon1, QStringLiteral("LIVROREVCONTR"), cnpj,
                                                            [&](const QString& text) { m_view.showWaiting(text); });
        build->execute(deleteStoreBook(cnpj));
        // The whole selection is read before the first statement: the gauge needs its size, and
        // no query stays open while the window processes events between statements.
        const std::vector<ComponentRow> components = readComponentRows(m_dm.SQLQuery1, mode);
        result = writeBook(mode, values, components);
        if (result.outcome != RevisedBuildOutcome::Built)
            return result; // rolled back
        build->commit();
    } catch (const std::exception&) {
        m_dm.SQLQuery1.close();
        book::rethrowAsNotBuilt();
    }

    m_view.showRevisedBook(mode);
    m_view.afterPreview();
    return result;
}

RevisedBuildResult RevisedBookBuilder::writeBook(RevisedMode mode, MovementValues values,
                                                 const std::vector<ComponentRow>& components)
{
    RevisedBuildResult result;
    result.components = int(components.size());
    m_view.setGaugeRange(result.components);

    for (const ComponentRow& row : components) {
        m_view.setProgressFooter(row.componente);
        m_view.processEvents();

        values = forComponent(values, row);
        values.lineId = book::reserveRevisedLineIds(m_dm.sqlcon1);
        const QString statement = composeMovementStatement(mode, values);
        try {
            m_dm.sqlcon1.execute(statement);
        } catch (const data::DatabaseUnavailable&) {
            throw; // the server is gone or the database read-only: no fault of this statement
        } catch (const data::LockTimeout&) {
            throw; // rows held by another program: no fault of this statement either
        } catch (const data::DbError& error) {
            m_view.showStatementFailure(QString::fromUtf16(kStatementFailedMessage), error.message(), statement);
            result.outcome = RevisedBuildOutcome::StatementFailed;
            result.failedStatement = statement;
            result.failureReason = error.message();
            return result;
        }
        // The running stock lives in a context variable of the build's transaction named after
        // the product, unset when the transaction starts: cleared after each product, the next
        // one of that code starts from its own opening stock, and the variables do not pile up
        // to the server's limit of a thousand per transaction.
        resetRunningStock(m_dm.SQLQuery1, values.codigo);
        ++result.statementsRun;
        m_view.advanceGauge();
    }
    checkStoreLines(m_dm.SQLQuery1, mode, values, components);
    result.outcome = RevisedBuildOutcome::Built;
    return result;
}

MovementValues forComponent(MovementValues values, const ComponentRow& row)
{
    values.codigo = row.codigo;
    values.fornecedor = row.fornecedor;
    values.unid = row.unid;
    values.lista = row.lista;
    return values;
}

QString readStoreLaboratory(data::Query& query, const QString& cnpj)
{
    query.close();
    query.setSql(laboratorySelect(cnpj));
    query.open();
    const QString laboratory = query.eof() ? QString() : query.asString(QStringLiteral("LABORATORIO"));
    query.close();
    return laboratory;
}

std::vector<ComponentRow> readComponentRows(data::Query& query, RevisedMode mode)
{
    query.close();
    query.setSql(componentSelection(mode));
    query.open();
    std::vector<ComponentRow> rows;
    for (; !query.eof(); query.next()) {
        rows.push_back(ComponentRow{query.asString(QStringLiteral("CODIGO")),
                                    query.asString(QStringLiteral("COMPONENTE")).left(kComponenteWidth),
                                    query.asString(QStringLiteral("UNID")),
                                    query.asString(QStringLiteral("LISTA")),
                                    query.asString(QStringLiteral("FORNECEDOR"))});
    }
    query.close();
    return rows;
}

} // namespace livros::revised
