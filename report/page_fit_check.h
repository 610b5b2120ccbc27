#pragma once
#include "report/report_model.h"

#include <QString>

namespace livros::report {

// Checks that a report's layout can be printed on its page: margins that leave room, items that
// lie on the paper, page header and footer that leave room for the lines. Throws ReportError
// naming the project file `path` and the place (page, band or item) otherwise.
void checkReportFitsPage(const ReportDefinition& report, const QString& path);

} // namespace livros::report
