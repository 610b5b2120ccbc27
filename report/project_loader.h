#pragma once
#include "report/report_model.h"

#include <QString>

namespace livros::report {

// The project file name as the project component takes it: a name without an extension (no "."
// in its last component) gets ".rav".
QString projectFileName(const QString& value);

// The message of a missing project file: the sentence, a line break and the quoted full path.
QString missingProjectMessage(const QString& path);

// The message of an error in a project file, naming the file and the place in it:
// a JSON path such as "reports[0].detail.items[2]" or "linha 12, coluna 5", in parentheses.
QString projectErrorMessage(const QString& path, const QString& place, const QString& problem);

// Reads a report project file (JSON, UTF-8). `path` is a local path. Throws ReportError with
// missingProjectMessage() when the file does not exist, and with projectErrorMessage() when it
// cannot be read or is not a valid project (syntax, unknown key, wrong type, bad value).
ReportProject loadReportProject(const QString& path);

// Reads a project from text; `path` only names it in messages.
ReportProject parseReportProject(const QByteArray& json, const QString& path);

} // namespace livros::report
