#include "book/classic/classic_book_builder.h"

#include "book/classic/book_listing.h"
#include "book/classic/classic_sql.h"
#include "book/classic/movement_texts.h"
#include "data/data_module.h"
#include "data/query.h"
#include "data/db_error.h"
#include "platform/date_text.h"

#include <cstdlib>

namespace livros::classic {

ClassicBookBuilder::ClassicBookBuilder(data::TDM& dm, data::Transaction& transaction, ClassicBuildView& view,
                                       const QString& storeCnpj, const QDate& initialDate, const QDate& finalDate,
                                       const QLocale& locale)
    : m_dm(dm)
    , m_view(view)
    , m_store{storeCnpj, {}, false}
    , m_initialDate(initialDate)
    , m_finalDate(finalDate)
    , m_dayCount(int(std::llabs(initialDate.daysTo(finalDate))) + 1)
    , m_periodText(dateText(initialDate) + QStringLiteral(" a ") + dateText(finalDate))
    , m_locale(locale)
    , m_lineWriter(transaction)
    , m_ledgerQuery(dm.sqlcon1, QStringLiteral("LedgerQuery"))
{
}

void ClassicBookBuilder::append(const QStringList& lines)
{
    for (const QString& line : lines)
        m_view.appendListingLine(line);
}

namespace {

QString movementsName(MovementKind kind)
{
    switch (kind) {
    case MovementKind::Entry:
        return QStringLiteral("entradas");
    case MovementKind::Exit:
        return QStringLiteral("saídas");
    case MovementKind::Loss:
        break;
    }
    return QStringLiteral("perdas");
}

const QString kNotBuilt = QStringLiteral("O livro não foi montado.");

} // namespace

[[noreturn]] void ClassicBookBuilder::fail(const QString& message)
{
    m_view.showMessage(message);
    throw Failed{};
}

bool ClassicBookBuilder::buildGroup(int groupNumber, const ComponentLists& lists)
{
    const ListGroupTable* table = lists.group(groupNumber);
    if (!table || table->isEmpty())
        return true;
    m_titleLine = groupTitleLine(groupNumber);
    m_bookName = groupBookName(groupNumber);
    m_store = ledger::readStoreScope(m_ledgerQuery, m_store.cnpj);

    m_view.setGaugeMaximum(table->count());
    try {
        const QDate last = m_initialDate.addDays(m_dayCount - 1);
        try {
            m_periodMovements.startGroup(m_ledgerQuery, m_store, *table, m_initialDate, last);
            if (m_movements != &m_periodMovements)
                m_movements->startGroup(m_ledgerQuery, m_store, *table, m_initialDate, last);
        } catch (const MovementQueryFailed& failure) {
            failedQuery(failure);
        }
        if (!m_periodMovements.refusals().empty())
            refuse(m_periodMovements.refusals());
        for (int index = 1; index <= table->count(); ++index)
            walkComponent(index, table->entry(index));
        sendLines([&] { m_lineWriter.flush(); });
    } catch (const Failed&) {
        return false;
    }
    append(groupClosing());
    return true;
}

void ClassicBookBuilder::walkComponent(int index, const ControlledComponent& component)
{
    m_view.setGaugePosition(index);
    m_view.setStatusText(component.componente + QStringLiteral(" - ") + m_periodText);
    m_view.processEvents();
    m_movementCount = 0;

    append(componentHeading(m_titleLine, m_initialDate, m_finalDate));
    openBalance(component, m_periodMovements.opening(index));
    append(columnHeading());
    m_walked.push_back({component.codigo, component.componente, m_openingBalance, {}, 0});

    try {
        m_movements->walkProduct(index, [&](MovementKind kind, const MovementRow& row) {
            walkMovement(kind, component, row);
        });
    } catch (const MovementQueryFailed& failure) {
        failedQuery(failure);
    }

    m_walked.back().closing = m_runningBalance;
    if (m_movementCount == 0)
        m_view.appendListingLine(noMovementLine());
    m_view.processEvents();
    append(componentClosing());
}

// The book counts in the catalogue unit: an inventory counted in another unit of its family is
// converted (the listing still shows the difference).
void ClassicBookBuilder::openBalance(const ControlledComponent& component, const ledger::Opening& opening)
{
    m_openingBalance = 0;
    m_runningBalance = 0;
    m_bookUnit = component.unid;
    if (!opening.counted) {
        m_view.appendListingLine(balanceLineWithoutInventory(component.componente, component.dcb, m_bookUnit));
        return;
    }
    m_openingBalance = opening.bookQuantity();
    m_runningBalance = m_openingBalance;
    const QString inventoryUnit = opening.unit.left(kUnidLength);
    if (inventoryUnit != component.unid)
        append(unitErrorBlock(component.unid, inventoryUnit, opening.quantity, m_locale));
    m_view.appendListingLine(
        balanceLineWithInventory(component.componente, component.dcb, m_openingBalance, m_bookUnit, m_locale));
}

// Rows the ledger cannot give to one product in its unit: a book without them would be wrong.
void ClassicBookBuilder::refuse(const std::vector<ledger::Refusal>& refusals)
{
    m_refused = true;
    fail(QStringLiteral("O livro não pode ser montado com estas movimentações:\n%1\n\nCorrija-as no sistema e "
                        "monte o livro de novo; \"livros-cli check\" lista todas.\n\n%2")
             .arg(ledger::refusalLines(refusals), kNotBuilt));
}

// Without the movements the query left out every later balance would be wrong: the build stops.
void ClassicBookBuilder::failedQuery(const MovementQueryFailed& failure)
{
    fail(QStringLiteral("Não foi possível ler as %1 %2.\n%3\n\n%4\n\n%5")
             .arg(movementsName(failure.kind), failure.where, failure.reason, failure.statement, kNotBuilt));
}

void ClassicBookBuilder::walkMovement(MovementKind kind, const ControlledComponent& component, const MovementRow& row)
{
    const double quantity = bookQuantity(row, m_bookUnit);
    const double signedQuantity = kind == MovementKind::Entry ? quantity : -quantity;
    m_runningBalance += signedQuantity;
    m_walked.back().quantities.push_back(signedQuantity);
    const QString history = historyText(kind, row, m_locale);
    const QString observation = observationText(kind, row);
    m_view.appendListingLine(movementLine(kind, row.date, history, m_runningBalance, observation, m_locale));
    ++m_movementCount;
    ++m_bookLineNumber;
    writeBookLine(kind, component, row, history, observation);
}

void ClassicBookBuilder::writeBookLine(MovementKind kind, const ControlledComponent& component,
                                       const MovementRow& row, const QString& history, const QString& observation)
{
    BookLine line;
    line.id = m_bookLineNumber;
    line.cnpj = m_store.cnpj;
    line.dcb = component.dcb;
    line.openingBalance = m_openingBalance;
    line.bookName = m_bookName;
    line.date = row.date;
    line.history = fittedHistoryText(kind, row, kHistoricoLength, m_locale);
    line.movement = movementName(kind);
    line.balance = m_runningBalance;
    line.observation = observation;
    line.codigo = component.codigo;
    line.componente = component.componente;
    line.period = m_periodText;
    line.unit = m_bookUnit;
    sendLines([&] { m_lineWriter.write(line); });
}

void ClassicBookBuilder::sendLines(const std::function<void()>& sending)
{
    try {
        sending();
    } catch (const data::DatabaseUnavailable&) {
        throw; // the database is gone: the walk cannot go on writing
    } catch (const BookLineRefused& refused) {
        // The texts are cut to their columns, so this is no width: a book missing this line
        // would still count it in every later balance. The statement stays in the listing.
        const BookLine& line = refused.line();
        const QString sql = bookLineInsertSql(line);
        m_view.appendListingLine(sql);
        fail(QStringLiteral("A linha %1 do livro (%2, %3) não foi gravada.\n%4\n\n%5\n\n%6")
                 .arg(QString::number(line.id), line.componente, dateText(line.date), refused.message(), sql,
                      kNotBuilt));
    } catch (const data::DbError& error) {
        fail(QStringLiteral("As linhas do livro não foram gravadas.\n%1\n\n%2").arg(error.message(), kNotBuilt));
    }
}

} // namespace livros::classic
