#pragma once
#include "forms/balance_form.h"
#include "forms/notification_relation.h"
#include "report/memory_data_source.h"
#include "report/report_data_source.h"

namespace livros::data {
class TDM;
}

namespace livros::forms {

// The printed forms: the reports "Balanco" (BSPO, BMPO) and "Relacao" (RMNRA, RMNRB2) of this
// project file of the program folder.
inline constexpr char kFormsProjectFile[] = "rpt\\Formularios.rav";
inline constexpr char kBalanceReportName[] = "Balanco";
inline constexpr char kRelationReportName[] = "Relacao";

// The text printed on a form of a period without movement.
inline constexpr char16_t kWithoutMovementText[] = u"SEM MOVIMENTAÇÃO";

// A form as the rows its printed report reads, held in memory: "RvDSFormCabecalho" has one row
// (the form, its title, the store's CNPJ, the period, "SEM MOVIMENTAÇÃO" when nothing moved);
// "RvDSFormLinhas" one row per printed line in the order printed. The balance's lines are of two
// parts (PARTE 1 the balance, 2 the "balanço das aquisições"); the relation's of one. The cover's
// company fields come from the company record ("RvDSDadosGer").
class FormReportSources {
public:
    explicit FormReportSources(const BalanceForm& balance);
    explicit FormReportSources(const NotificationRelation& relation);
    FormReportSources(const FormReportSources&) = delete;
    FormReportSources& operator=(const FormReportSources&) = delete;

    report::ConnectionSet connections(const report::ConnectionSet& books);

    report::MemoryDataSource heading;
    report::MemoryDataSource lines;
};

// Render the form into a PDF file with the company record of the data module; `projectPath` as
// the report module's project file is written (program folder + kFormsProjectFile). False,
// writing nothing, when the project lacks the report; ReportError for a missing or invalid
// project or a file that cannot be written.
bool writeBalancePdf(data::TDM& dm, const BalanceForm& balance, const QString& projectPath, const QString& pdfPath);
bool writeRelationPdf(data::TDM& dm, const NotificationRelation& relation, const QString& projectPath,
                      const QString& pdfPath);

} // namespace livros::forms
