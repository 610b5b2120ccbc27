#pragma once
#include "report/report_data_source.h"
#include "report/report_generator.h"

#include <QString>

namespace livros::report {

// The engine's job title, the title of the PDF files it writes.
inline QString defaultJobTitle() { return QStringLiteral("Relatórios Administrativos / Financeiros"); }

// Renders the report `reportName` of the project file at `projectPath` (a local path) over the
// connections straight into a PDF file, without any dialog. Returns false, writing nothing, when
// the project has no such report. Throws ReportError for a missing or invalid project file, a
// bad reference in the layout or a file that cannot be written (no partial file is left).
bool exportNamedReport(const QString& projectPath, const QString& reportName, const ConnectionSet& connections,
                       const QString& pdfPath, const GenerateOptions& options = {},
                       const QString& title = defaultJobTitle());

} // namespace livros::report
