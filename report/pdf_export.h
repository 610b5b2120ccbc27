#pragma once
#include "report/laid_out_report.h"
#include "report/report_painter.h"

#include <QByteArray>
#include <QString>

namespace livros {
class OutputFile;
}

namespace livros::report {

// A laid-out report as the bytes of a PDF document (300 dpi, the document titled `title`), checked
// to be a whole PDF. A painting failure throws ReportError.
QByteArray renderPdf(const LaidOutReport& report, const QString& title, const PageCallback& onPage = {},
                     double scale = 1.0);

// Whether bytes look like a whole PDF document: its header and, at the end, its end-of-file mark.
bool isCompletePdf(const QByteArray& bytes);

// Writes a laid-out report to a PDF file through the program's output writer: "-" is standard
// output, a device or a pipe is written through, a regular file is written under a temporary name,
// read back, verified and only then renamed over the target, so a failure (a full disk included)
// leaves neither a partial file nor a damaged older one. Failures throw a ReportError naming the
// file.
void writePdfFile(const LaidOutReport& report, const QString& path, const QString& title,
                  const PageCallback& onPage = {}, double scale = 1.0);

// Writes PDF bytes to `file` and verifies them, without renaming a regular file into place
// (OutputFile::install does); a failure throws a ReportError naming the file.
void writePdfBytes(OutputFile& file, const QByteArray& pdf);

} // namespace livros::report
