#include "forms/form_csv.h"

#include <QStringList>

#include <cmath>

namespace livros::forms {

namespace {

// A field with a separator, a quote or a line break goes between quotes, its quotes doubled.
QString csvField(QString text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void appendLine(QByteArray& out, const QStringList& fields)
{
    QStringList escaped;
    for (const QString& field : fields)
        escaped << csvField(field);
    out += escaped.join(QLatin1Char(';')).toUtf8();
    out += "\r\n";
}

} // namespace

QString csvQuantity(double value)
{
    // Rounded first so that a sum such as -0.00001 does not print "-0,0000".
    const double rounded = std::round(value * 10000.0) / 10000.0;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', 4);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QByteArray balanceCsv(const BalanceForm& balance)
{
    QByteArray out;
    appendLine(out, {QStringLiteral("DCB"), QStringLiteral("DISCRIMINACAO"), QStringLiteral("REGISTRO_MS"),
                     QStringLiteral("UNIDADE"), QStringLiteral("ESTOQUE_INICIAL"), QStringLiteral("ENTRADAS"),
                     QStringLiteral("SAIDAS"), QStringLiteral("PERDAS"), QStringLiteral("ESTOQUE_FINAL")});
    for (const BalanceRow& row : balance.rows)
        appendLine(out, {row.dcb, row.name, row.registration, row.unit, csvQuantity(row.opening),
                         csvQuantity(row.entries), csvQuantity(row.exits), csvQuantity(row.losses),
                         csvQuantity(row.closing())});
    return out;
}

QByteArray relationCsv(const NotificationRelation& relation)
{
    QByteArray out;
    appendLine(out, {QStringLiteral("NOTIFICACAO"), QStringLiteral("DATA_NOTIFICACAO"),
                     QStringLiteral("DATA_DISPENSACAO"), QStringLiteral("PEDIDO"), QStringLiteral("DCB"),
                     QStringLiteral("DISCRIMINACAO"), QStringLiteral("PRESCRITOR"), QStringLiteral("CONSELHO"),
                     QStringLiteral("NUMERO_CONSELHO"), QStringLiteral("UF_CONSELHO"), QStringLiteral("PACIENTE"),
                     QStringLiteral("QUANTIDADE_PRESCRITA"), QStringLiteral("QUANTIDADE_DISPENSADA"),
                     QStringLiteral("UNIDADE")});
    for (const ControlledSale& line : relation.lines)
        appendLine(out, {line.notification, QString(), line.date.toString(QStringLiteral("dd/MM/yyyy")),
                         line.orderText(), line.dcb, line.name, line.prescriber, line.council, line.councilNumber,
                         line.councilState, line.patient, QString(), csvQuantity(line.quantity), line.unit});
    return out;
}

} // namespace livros::forms
