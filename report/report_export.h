#pragma once
#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::report {

// For the command-line tool: renders the report `reportName` of a project file over the data
// module's datasets straight into a PDF file, without any widget. `projectFile` is written as
// the report module's ProjectFile is (program folder + "rpt\RelLivros.rav"). Returns false,
// writing nothing, when the project has no such report; throws ReportError for a missing or
// invalid project or a PDF file that cannot be written (no partial file is left), and the data
// layer's errors as they come.
bool exportReportToPdf(data::TDM& dm, const QString& projectFile, const QString& reportName, const QString& pdfPath);

} // namespace livros::report
