#pragma once
#include "report/report_model.h"

#include <QSizeF>
#include <QString>

namespace livros::report {

// The least room, in centimetres, a page keeps for the body between its margins, page header
// and page footer.
constexpr double kLeastBodyRoom = 1.0;

// The page's width and height in centimetres, in its orientation.
QSizeF pageSizeCm(const PageSetup& page);

// Checks that a report's layout can be printed on its page: margins that leave room, items that
// lie on the paper, page header and footer that leave room for the lines. Throws ReportError
// naming the project file `path` and the place (page, band or item) otherwise.
void checkReportFitsPage(const ReportDefinition& report, const QString& path);

} // namespace livros::report
