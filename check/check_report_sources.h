#pragma once
#include "check/data_check.h"
#include "report/memory_data_source.h"
#include "report/report_data_source.h"

namespace livros::data {
class TDM;
}

namespace livros::check {

// The printed check: the report "Conferencia" of this project file of the program folder.
inline constexpr char kCheckProjectFile[] = "rpt\\Conferencia.rav";
inline constexpr char kCheckReportName[] = "Conferencia";

// A check report as the rows its printed report reads. They are held in memory: the check writes
// nothing to the database. "RvDSConfCabecalho" has one row (the store's CNPJ, the period);
// "RvDSConferencia" one row per printed line, in the order printed, each of one of the report's
// parts (PARTE: 1 the summary, 2 the findings grouped by kind, 3 the variance, 4 the indexes)
// and of one kind of line (LINHA: R a summary line, F a finding, V a variance line, N a note).
class CheckReportSources {
public:
    explicit CheckReportSources(const CheckReport& report);
    CheckReportSources(const CheckReportSources&) = delete;
    CheckReportSources& operator=(const CheckReportSources&) = delete;

    // The connections of the report: these two and the company record ("RvDSDadosGer") of the
    // books' connections.
    report::ConnectionSet connections(const report::ConnectionSet& books);

    report::MemoryDataSource heading;
    report::MemoryDataSource lines;
};

// Renders the printed check into a PDF file, with the company record of the data module.
// `projectPath` is written as the report module's project file is (program folder +
// kCheckProjectFile). Returns false, writing nothing, when the project has no such report; throws
// ReportError for a missing or invalid project or a file that cannot be written (no partial file
// is left).
bool writeCheckPdf(data::TDM& dm, const CheckReport& report, const QString& projectPath, const QString& pdfPath);

} // namespace livros::check
