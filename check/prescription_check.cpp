#include "check/prescription_check.h"

#include "forms/controlled_sales.h"

#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace livros::check {

namespace {

// The national numbers are written "AAMM.U-SS.NNNNNNN": fourteen digits in all.
constexpr int kNationalDigits = 14;

QString saleText(const forms::ControlledSale& sale)
{
    return QStringLiteral("pedido %1 (%2), paciente %3")
        .arg(sale.orderText(),
             sale.drugstore ? QStringLiteral("drogaria") : QStringLiteral("fórmula"),
             sale.patient.isEmpty() ? QStringLiteral("não informado") : QLatin1Char('"') + sale.patient + QLatin1Char('"'));
}

Finding finding(FindingKind kind, const forms::ControlledSale& sale, const QString& what)
{
    return {kind, sale.codigo, sale.name, sale.date, saleText(sale) + QStringLiteral("; ") + what};
}

} // namespace

QString requiredNotification(const QString& lista)
{
    const QString list = lista.trimmed().toUpper();
    if (list == u"A1" || list == u"A2" || list == u"A3")
        return QStringLiteral("Notificação de Receita A");
    if (list == u"B1")
        return QStringLiteral("Notificação de Receita B");
    if (list == u"B2")
        return QStringLiteral("Notificação de Receita B2");
    if (list == u"C2")
        return QStringLiteral("Notificação de Receita Especial de retinoides");
    if (list == u"C3")
        return QStringLiteral("Notificação de Receita Especial de talidomida");
    return QString();
}

bool isCutNationalNumber(const QString& number)
{
    static const QRegularExpression nationalStart(QStringLiteral("^\\d{4}\\.\\d-\\d{2}\\.\\d*$"));
    if (!nationalStart.match(number).hasMatch())
        return false;
    const qsizetype digits = std::count_if(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
    return digits < kNationalDigits;
}

std::vector<Finding> prescriptionFindings(const std::vector<forms::ControlledSale>& sales)
{
    std::vector<Finding> findings;
    std::set<QString> ordersSeen;
    for (const forms::ControlledSale& sale : sales) {
        const QString document = requiredNotification(sale.lista);
        if (!document.isEmpty() && sale.notification.isEmpty())
            findings.push_back(finding(FindingKind::NotificationMissing, sale,
                                       QStringLiteral("lista %1 exige %2 (Portaria 344/98, art. 35)")
                                           .arg(sale.lista, document)));
        else if (sale.notification.size() > kNotificationLength)
            findings.push_back(finding(FindingKind::NotificationNumberCut, sale,
                                       QStringLiteral("notificação \"%1\" com %2 caracteres, mais que os %3 da suíte "
                                                      "(RDC 1.000/2025)")
                                           .arg(sale.notification)
                                           .arg(sale.notification.size())
                                           .arg(kNotificationLength)));
        else if (isCutNationalNumber(sale.notification))
            findings.push_back(finding(FindingKind::NotificationNumberCut, sale,
                                       QStringLiteral("notificação \"%1\": número do SNCR cortado, sem os seus %2 "
                                                      "dígitos (RDC 1.000/2025)")
                                           .arg(sale.notification)
                                           .arg(kNationalDigits)));
        if (!ordersSeen.insert(sale.orderText()).second)
            continue;
        QStringList missing;
        if (sale.council.isEmpty())
            missing << QStringLiteral("conselho");
        if (sale.councilNumber.isEmpty())
            missing << QStringLiteral("número de inscrição");
        if (sale.councilState.isEmpty())
            missing << QStringLiteral("UF do conselho");
        if (!missing.isEmpty())
            findings.push_back(finding(FindingKind::PrescriberIncomplete, sale,
                                       QStringLiteral("prescritor \"%1\" sem %2 (Portaria 344/98, arts. 36 e 55)")
                                           .arg(sale.prescriber, missing.join(QStringLiteral(", ")))));
        if (sale.patient.isEmpty())
            findings.push_back(finding(FindingKind::PatientMissing, sale,
                                       QStringLiteral("sem o nome do paciente (Portaria 344/98, arts. 36 e 55)")));
    }
    return findings;
}

void checkPrescriptions(data::TDM& dm, CheckReport& report)
{
    const std::vector<Finding> found =
        prescriptionFindings(forms::readControlledSales(dm, report.cnpj, report.from, report.to));
    report.findings.insert(report.findings.end(), found.begin(), found.end());
}

} // namespace livros::check
