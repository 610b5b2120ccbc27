#pragma once
#include "report/laid_out_report.h"
#include "report/report_painter.h"

#include <QString>

namespace livros::report {

// Writes a laid-out report to a PDF file (300 dpi, the document titled `title`). The pages go
// into a temporary file in the target folder that replaces the target only once complete, so a
// failure leaves neither a partial file nor a damaged older one. A folder that does not exist or
// cannot be written fails with a ReportError naming the file.
void writePdfFile(const LaidOutReport& report, const QString& path, const QString& title,
                  const PageCallback& onPage = {}, double scale = 1.0);

} // namespace livros::report
