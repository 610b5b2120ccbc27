#pragma once
#include "report/laid_out_report.h"
#include "report/report_data_source.h"
#include "report/report_model.h"
#include "report/report_painter.h"

#include <QDate>
#include <QMarginsF>
#include <optional>

namespace livros::report {

struct GenerateOptions {
    // Margins in centimetres for a report whose page gives none (the engine's printer margins).
    QMarginsF defaultMargins = QMarginsF(0.5, 0.2, 0.5, 0.2);
    // Called as each page is generated ("Gerando pág.  %p").
    PageCallback onPage;
    // The date that "{date}" prints.
    QDate today = QDate::currentDate();
    // In place of the report's own page label and first page number.
    std::optional<QString> pageLabel;
    std::optional<int> firstPage;
};

// The first pass of a run: checks every connection and field the report names (an unknown one
// fails, naming the project file and the place, before anything is read), opens the closed
// connections, sorts the rows of the report's connection, lays out every page and closes again
// the connections it opened, also when it fails.
LaidOutReport generateReport(const ReportProject& project, const ReportDefinition& report,
                             const ConnectionSet& connections, const GenerateOptions& options = {});

} // namespace livros::report
