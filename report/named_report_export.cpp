#include "report/named_report_export.h"

#include "report/pdf_export.h"
#include "report/project_loader.h"

namespace livros::report {

bool exportNamedReport(const QString& projectPath, const QString& reportName, const ConnectionSet& connections,
                       const QString& pdfPath, const GenerateOptions& options, const QString& title)
{
    const ReportProject project = loadReportProject(projectPath);
    const ReportDefinition* report = project.find(reportName);
    if (!report)
        return false;
    const LaidOutReport document = generateReport(project, *report, connections, options);
    writePdfFile(document, pdfPath, title);
    return true;
}

} // namespace livros::report
