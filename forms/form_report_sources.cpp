#include "forms/form_report_sources.h"

#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/named_report_export.h"
#include "report/project_loader.h"

namespace livros::forms {

namespace {

const QStringList kHeadingFields = {QStringLiteral("FORMULARIO"), QStringLiteral("TITULO"),
                                    QStringLiteral("CNPJ"),       QStringLiteral("PERIODO"),
                                    QStringLiteral("EXERCICIO"),  QStringLiteral("ANUALTRIMESTRAL"),
                                    QStringLiteral("SITUACAO"),   QStringLiteral("DE"),
                                    QStringLiteral("ATE")};

const QStringList kBalanceFields = {
    QStringLiteral("PARTE"),     QStringLiteral("PARTE_TITULO"), QStringLiteral("DCB"),
    QStringLiteral("NOME"),      QStringLiteral("REGISTRO"),     QStringLiteral("UNIDADE"),
    QStringLiteral("ESTOQUE_INICIAL"), QStringLiteral("ENTRADAS"), QStringLiteral("SAIDAS"),
    QStringLiteral("PERDAS"),    QStringLiteral("ESTOQUE_FINAL"), QStringLiteral("DATA"),
    QStringLiteral("FORNECEDOR"), QStringLiteral("CNPJ_FORNECEDOR"), QStringLiteral("NOTA_FISCAL"),
    QStringLiteral("QUANTIDADE"), QStringLiteral("LINHA"),  QStringLiteral("TEXTO"),
    QStringLiteral("REGISTRO_TITULO")};

const QStringList kRelationFields = {
    QStringLiteral("NOTIFICACAO"), QStringLiteral("DATA_NOTIFICACAO"), QStringLiteral("DATA"),
    QStringLiteral("PEDIDO"),      QStringLiteral("DCB"),              QStringLiteral("NOME"),
    QStringLiteral("PRESCRITOR"),  QStringLiteral("CONSELHO"),         QStringLiteral("PACIENTE"),
    QStringLiteral("QUANTIDADE_PRESCRITA"), QStringLiteral("QUANTIDADE"), QStringLiteral("UNIDADE")};

const QString kQuantityPicture = QStringLiteral("###,###,##0.0000");

void addHeading(report::MemoryDataSource& heading, PeriodicForm form, const QString& cnpj, const FormPeriod& period,
                bool withoutMovement)
{
    heading.addRow({formKeyword(form), formTitle(form), cnpj, period.text(), QString::number(period.year),
                    period.kind == FormPeriod::Kind::Month ? QStringLiteral("MENSAL") : period.annualOrQuarterly(),
                    withoutMovement ? QString::fromUtf16(kWithoutMovementText) : QString(), period.first,
                    period.last});
}

// "CRM 12345/SP".
QString councilText(const ControlledSale& sale)
{
    QString text = sale.council;
    if (!sale.councilNumber.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + sale.councilNumber;
    if (!sale.councilState.isEmpty())
        text += QLatin1Char('/') + sale.councilState;
    return text;
}

} // namespace

FormReportSources::FormReportSources(const BalanceForm& balance) : heading(kHeadingFields), lines(kBalanceFields)
{
    addHeading(heading, balance.form, balance.cnpj, balance.period, balance.withoutMovement());
    for (const QString& field : {QStringLiteral("ESTOQUE_INICIAL"), QStringLiteral("ENTRADAS"), QStringLiteral("SAIDAS"),
                                 QStringLiteral("PERDAS"), QStringLiteral("ESTOQUE_FINAL"), QStringLiteral("QUANTIDADE")})
        lines.setDisplayFormat(field, kQuantityPicture);
    const QString balanceTitle = balance.form == PeriodicForm::Bspo ? QStringLiteral("Balanço completo das substâncias")
                                                                    : QStringLiteral("Balanço completo dos medicamentos");
    // Only the medicines have a registration column.
    const QString registrationTitle = balance.form == PeriodicForm::Bmpo ? QStringLiteral("Registro MS") : QString();
    for (const BalanceRow& row : balance.rows)
        lines.addRow({QStringLiteral("1"), balanceTitle, row.dcb, row.name, row.registration, row.unit, row.opening,
                      row.entries, row.exits, row.losses, row.closing(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant(), QStringLiteral("B"), QVariant(), registrationTitle});
    const QString acquisitionsTitle = QStringLiteral("Balanço das aquisições");
    for (const Acquisition& entry : balance.acquisitions)
        lines.addRow({QStringLiteral("2"), acquisitionsTitle, entry.dcb, entry.name, QString(), entry.unit, QVariant(),
                      QVariant(), QVariant(), QVariant(), QVariant(), entry.date, entry.supplier, entry.supplierCnpj,
                      entry.invoice, entry.quantity, QStringLiteral("M")});
    if (balance.acquisitions.empty())
        lines.addRow({QStringLiteral("2"), acquisitionsTitle, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant(), QStringLiteral("N"), QStringLiteral("Nenhuma aquisição no período.")});
}

FormReportSources::FormReportSources(const NotificationRelation& relation)
    : heading(kHeadingFields), lines(kRelationFields)
{
    addHeading(heading, relation.form, relation.cnpj, relation.period, relation.withoutMovement());
    lines.setDisplayFormat(QStringLiteral("QUANTIDADE"), kQuantityPicture);
    for (const ControlledSale& line : relation.lines)
        lines.addRow({line.notification, QVariant(), line.date, line.orderText(), line.dcb, line.name, line.prescriber,
                      councilText(line), line.patient, QVariant(), line.quantity, line.unit});
}

report::ConnectionSet FormReportSources::connections(const report::ConnectionSet& books)
{
    report::ConnectionSet set;
    set.add(QStringLiteral("RvDSFormCabecalho"), &heading);
    set.add(QStringLiteral("RvDSFormLinhas"), &lines);
    const QString company = QStringLiteral("RvDSDadosGer");
    if (report::ReportDataSource* source = books.find(company))
        set.add(company, source);
    return set;
}

namespace {

bool writePdf(data::TDM& dm, FormReportSources& sources, const QString& reportName, const QString& projectPath,
              const QString& pdfPath)
{
    report::DataModuleConnections books(dm);
    return report::exportNamedReport(localPath(report::projectFileName(projectPath)), reportName,
                                     sources.connections(books.set), pdfPath);
}

} // namespace

bool writeBalancePdf(data::TDM& dm, const BalanceForm& balance, const QString& projectPath, const QString& pdfPath)
{
    FormReportSources sources(balance);
    return writePdf(dm, sources, QString::fromLatin1(kBalanceReportName), projectPath, pdfPath);
}

bool writeRelationPdf(data::TDM& dm, const NotificationRelation& relation, const QString& projectPath,
                      const QString& pdfPath)
{
    FormReportSources sources(relation);
    return writePdf(dm, sources, QString::fromLatin1(kRelationReportName), projectPath, pdfPath);
}

} // namespace livros::forms
