#include "book/revised/revised_texts.h"

#include <algorithm>

namespace livros::revised {

namespace {

QString padded(int number, int width) { return QString::number(number).rightJustified(width, QLatin1Char('0')); }

QString fullDate(const QDate& date)
{
    return padded(date.day(), 2) + u'/' + padded(date.month(), 2) + u'/' + padded(date.year(), 4);
}

QString prescription(const ledger::Movement& m)
{
    return QStringLiteral("Notificacao: ") + (m.notificationKnown ? m.notification : QStringLiteral("- N/A"))
        + QStringLiteral(" - ") + capitals(m.prescriber) + u' ' + m.council + QStringLiteral(": ") + m.registration
        + u'/' + m.councilState;
}

} // namespace

QString capitals(const QString& text)
{
    QString raised = text.left(100);
    for (QChar& c : raised) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
            c = QChar(char16_t(u - 0x20));
        else if (u == u'š')
            c = u'Š';
        else if (u == u'œ')
            c = u'Œ';
        else if (u == u'ž')
            c = u'Ž';
        else if (u == u'ÿ')
            c = u'Ÿ';
    }
    return raised;
}

QString twoDecimals(const QString& exactNumber)
{
    // Millionths of a hundred: the number in hundredths, rounded half away from zero.
    const qint64 hundredths = ledger::ExactQuantity::fromText(exactNumber, -4).millionths();
    const qint64 magnitude = hundredths < 0 ? -hundredths : hundredths;
    return (hundredths < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100) + u','
        + QString::number(magnitude % 100).rightJustified(2, u'0');
}

QString supplierHistory(const QString& supplier, const QString& cnpj, const QString& separator, int width)
{
    const QString tail = QStringLiteral(" (CNPJ") + separator + cnpj + u')';
    return supplier.left(std::max<qsizetype>(0, width - tail.size())) + tail;
}

QString historyOf(const ledger::Movement& m)
{
    switch (m.kind) {
    case ledger::MovementKind::Entry:
        return supplierHistory(m.supplier, m.supplierCnpj, QStringLiteral(": "), kHistoricoWidth);
    case ledger::MovementKind::Exit:
        return capitals(m.patient);
    case ledger::MovementKind::Loss:
        break;
    }
    return supplierHistory(m.supplier, m.supplierCnpj, QStringLiteral(" : "), kHistoricoWidth);
}

QString observationOf(RevisedMode mode, const ledger::Movement& m)
{
    switch (m.kind) {
    case ledger::MovementKind::Entry:
        if (mode == RevisedMode::Siproquim)
            return QStringLiteral("Nota Fiscal %1 - Densidade: %2 - Fat. Corr.: %3")
                .arg(m.invoice, twoDecimals(m.density), twoDecimals(m.correctionFactor));
        return QStringLiteral("Nota Fiscal ") + m.invoice;
    case ledger::MovementKind::Exit:
        if (mode == RevisedMode::Siproquim)
            return QStringLiteral("Pedido: %1%2 - Fórmula %3 - Densidade: %4")
                .arg(m.station, m.orderNumber, m.formula, twoDecimals(m.density));
        return prescription(m);
    case ledger::MovementKind::Loss:
        break;
    }
    return QStringLiteral("Motivo: ") + (m.reasonKnown ? m.reason : QStringLiteral("-"));
}

QString periodText(const QDate& start, const QDate& end)
{
    return fullDate(start) + QStringLiteral(" a ") + fullDate(end);
}

QString componenteText(const QString& componente, bool componenteKnown, const QString& codigo, const QString& unid)
{
    QString unit = unid.left(kUnidWidth);
    for (QChar& c : unit) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return ((componenteKnown ? componente : codigo) + QStringLiteral(" - (") + unit + u')').left(kComponenteWidth);
}

QString listText(const QString& lista)
{
    const QString list = lista.left(kListaWidth);
    const bool onlyBlanks = std::all_of(list.begin(), list.end(), [](QChar c) { return c == u' '; });
    return onlyBlanks ? QString() : list.left(kListaColumnWidth);
}

} // namespace livros::revised
