#include "book/revised/revised_walk.h"

#include "book/revised/revised_book_builder.h"
#include "book/revised/revised_texts.h"
#include "platform/sql_literal.h"

#include <cstdlib>

namespace livros::revised {

namespace {

// The largest NUMERIC(15,6) the server keeps (a 64-bit count of millionths), with room for one sum.
constexpr qint64 kLargestStock = 4600000000000000000LL;

// The place of a kind within a date: entries, then losses, then exits.
int rankOf(ledger::MovementKind kind)
{
    switch (kind) {
    case ledger::MovementKind::Entry:
        return 0;
    case ledger::MovementKind::Loss:
        return 1;
    case ledger::MovementKind::Exit:
        break;
    }
    return 2;
}

QChar operationOf(ledger::MovementKind kind)
{
    switch (kind) {
    case ledger::MovementKind::Entry:
        return u'E';
    case ledger::MovementKind::Loss:
        return u'P';
    case ledger::MovementKind::Exit:
        break;
    }
    return u'S';
}

} // namespace

bool countsInRevisedBook(const ledger::Movement& m)
{
    return m.kind != ledger::MovementKind::Exit || comparedText(m.orderType) == QLatin1String("Pedido");
}

bool hasIdentifier(RevisedMode mode, const ComponentRow& product)
{
    const QString& identifier = mode == RevisedMode::Drogaria ? product.registration : product.dcb;
    return !identifier.trimmed().isEmpty();
}

QString registrationColumn(RevisedMode mode, const ComponentRow& product)
{
    return mode == RevisedMode::Drogaria ? product.registration.left(kIdentifierWidth) : QString();
}

QString dcbColumn(RevisedMode mode, const ComponentRow& product)
{
    switch (mode) {
    case RevisedMode::Drogaria:
        return {};
    case RevisedMode::InsumosCompleto:
        return product.dcb.left(kIdentifierWidth);
    case RevisedMode::Siproquim:
        break;
    }
    return product.fornecedor.left(kSupplierAsDcbWidth);
}

std::vector<RevisedLine> productLines(RevisedMode mode, const ledger::ProductLedger& product, const QDate& start)
{
    std::vector<RevisedLine> lines;
    RevisedLine opening;
    opening.date = start;
    opening.history = QStringLiteral("Estoque inicial ");
    opening.lot = QStringLiteral("-");
    opening.operation = u'I';
    opening.context = 0;
    opening.stock = product.opening.counted ? product.opening.exactBookQuantity() : ledger::ExactQuantity();
    opening.observation = QStringLiteral("Inventario");
    lines.push_back(opening);

    // The three kinds merged by date, each kind in the ledger's order.
    const auto& kinds = product.movements;
    std::array<std::size_t, 3> next{};
    ledger::ExactQuantity stock = opening.stock;
    for (;;) {
        const ledger::Movement* pick = nullptr;
        std::size_t pickedKind = 0;
        for (std::size_t kind = 0; kind < 3; ++kind) {
            while (next[kind] < kinds[kind].size() && !countsInRevisedBook(kinds[kind][next[kind]]))
                ++next[kind];
            if (next[kind] == kinds[kind].size())
                continue;
            const ledger::Movement& candidate = kinds[kind][next[kind]];
            if (!pick || candidate.date < pick->date
                || (candidate.date == pick->date && rankOf(candidate.kind) < rankOf(pick->kind))) {
                pick = &candidate;
                pickedKind = kind;
            }
        }
        if (!pick)
            break;
        ++next[pickedKind];
        RevisedLine line;
        line.date = pick->date;
        line.history = historyOf(*pick);
        line.lot = pick->lot;
        line.operation = operationOf(pick->kind);
        line.quantity = pick->exactBookQuantity();
        if (!line.quantity.valid() || std::llabs(line.quantity.millionths()) >= kLargestStock)
            throw QuantityOutOfRange{pick->date, pick->quantityText + u' ' + pick->unit.trimmed()};
        line.quantityKnown = !pick->quantityText.isEmpty();
        stock = pick->kind == ledger::MovementKind::Entry ? stock + line.quantity : stock - line.quantity;
        line.stock = stock;
        if (std::llabs(stock.millionths()) >= kLargestStock)
            throw QuantityOutOfRange{pick->date, pick->quantityText + u' ' + pick->unit.trimmed()};
        line.observation = observationOf(mode, *pick);
        line.order = int(lines.size());
        lines.push_back(std::move(line));
    }
    return lines;
}

QStringList revisedLineColumns()
{
    return {QStringLiteral("ID"),         QStringLiteral("CNPJ"),     QStringLiteral("DATA"),
            QStringLiteral("HISTORICO"),  QStringLiteral("LOTE"),     QStringLiteral("OPERACAO"),
            QStringLiteral("QUANTIDADE"), QStringLiteral("CONTEXTO"), QStringLiteral("ESTOQUE"),
            QStringLiteral("OBSERVACAO"), QStringLiteral("REGMSMEDICAM"), QStringLiteral("DCB"),
            QStringLiteral("COMPONENTE"), QStringLiteral("CODIGO"),   QStringLiteral("PERIODO"),
            QStringLiteral("LISTA"),      QStringLiteral("ORDEM")};
}

} // namespace livros::revised
