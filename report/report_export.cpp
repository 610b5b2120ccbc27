#include "report/report_export.h"

#include "platform/suite_paths.h"
#include "report/dataset_connection.h"
#include "report/named_report_export.h"
#include "report/project_loader.h"

namespace livros::report {

bool exportReportToPdf(data::TDM& dm, const QString& projectFile, const QString& reportName, const QString& pdfPath)
{
    DataModuleConnections connections(dm);
    return exportNamedReport(localPath(projectFileName(projectFile)), reportName, connections.set, pdfPath);
}

} // namespace livros::report
