#include "check/check_report_sources.h"

#include "check/finding_texts.h"
#include "platform/book_locale.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/named_report_export.h"
#include "report/project_loader.h"

namespace livros::check {

namespace {

const QStringList kLineFields = {
    QStringLiteral("PARTE"),  QStringLiteral("PARTE_TITULO"), QStringLiteral("TIPO"),
    QStringLiteral("TIPO_TITULO"), QStringLiteral("ORIENTACAO"), QStringLiteral("LINHA"),
    QStringLiteral("TEXTO"),  QStringLiteral("QUANTIDADE"),   QStringLiteral("CODIGO"),
    QStringLiteral("PRODUTO"), QStringLiteral("DATA"),         QStringLiteral("LINHAS"),
    QStringLiteral("ESTOQUE_FINAL"), QStringLiteral("INVENTARIO"), QStringLiteral("DIFERENCA"),
    QStringLiteral("UNIDADE")};

// The rows of one part of the report, each in the order of kLineFields.
class PartRows {
public:
    PartRows(report::MemoryDataSource& lines, int part, const QString& title)
        : m_lines(lines), m_part(QString::number(part)), m_title(title)
    {
    }

    void summary(const QString& text, const QVariant& count)
    {
        add({QString(), QString(), QString(), QStringLiteral("R"), text, count});
    }
    void note(const QString& text) { add({QString(), QString(), QString(), QStringLiteral("N"), text}); }
    void finding(const Finding& f)
    {
        add({QString::number(int(f.kind)), findingTitle(f.kind), findingAdvice(f.kind), QStringLiteral("F"), QString(),
             QVariant(), f.codigo, f.produto, f.date.isValid() ? QVariant(f.date) : QVariant(), f.rows});
    }
    void variance(const VarianceLine& v)
    {
        add({QString(), QString(), QString(), QStringLiteral("V"), QString(), QVariant(), v.codigo, v.produto, QVariant(),
             QVariant(), v.closing, v.counted, v.difference(), v.unit});
    }

private:
    void add(QVariantList values)
    {
        values.prepend(m_title);
        values.prepend(m_part);
        m_lines.addRow(values);
    }

    report::MemoryDataSource& m_lines;
    QString m_part;
    QString m_title;
};

} // namespace

CheckReportSources::CheckReportSources(const CheckReport& report)
    : heading({QStringLiteral("CNPJ"), QStringLiteral("PERIODO")}), lines(kLineFields)
{
    heading.addRow({report.cnpj, QStringLiteral("%1 a %2").arg(fullDateText(report.from), fullDateText(report.to))});

    PartRows summary(lines, 1, QStringLiteral("Resumo"));
    if (report.clean())
        summary.summary(QStringLiteral("Nada encontrado."), QVariant());
    for (const FindingKind kind : findingKinds())
        if (const int count = findingCount(report, kind); count > 0)
            summary.summary(findingTitle(kind), count);

    // The findings come in the kinds' order already.
    PartRows findings(lines, 2, QStringLiteral("Constatações"));
    for (const Finding& f : report.findings)
        findings.finding(f);

    PartRows variance(lines, 3, varianceTitle(report));
    for (const VarianceLine& line : report.variance)
        variance.variance(line);
    if (report.productsWithoutCount > 0)
        variance.note(productsWithoutCountText(report));
    else if (report.variance.empty())
        variance.note(QStringLiteral("Nenhum produto controlado a conferir."));

    if (report.indexesRead) {
        PartRows indexes(lines, 4, QStringLiteral("Índices do banco de dados"));
        for (const QString& line : indexReadinessLines(report.indexes, bookLocale()))
            indexes.note(line);
    }
}

report::ConnectionSet CheckReportSources::connections(const report::ConnectionSet& books)
{
    report::ConnectionSet set;
    set.add(QStringLiteral("RvDSConfCabecalho"), &heading);
    set.add(QStringLiteral("RvDSConferencia"), &lines);
    const QString company = QStringLiteral("RvDSDadosGer");
    if (report::ReportDataSource* source = books.find(company))
        set.add(company, source);
    return set;
}

bool writeCheckPdf(data::TDM& dm, const CheckReport& report, const QString& projectPath, const QString& pdfPath)
{
    CheckReportSources sources(report);
    report::DataModuleConnections books(dm);
    return report::exportNamedReport(localPath(report::projectFileName(projectPath)),
                                     QString::fromLatin1(kCheckReportName), sources.connections(books.set), pdfPath);
}

} // namespace livros::check
