#pragma once
#include "report/dataset_connection.h"
#include "report/report_system.h"
#include "report/rv_project.h"

#include <QString>

namespace livros::data {
class TDM;
}

namespace livros::report {

// The report module (`RM`): the engine `rvstm1` with its settings, the project every run uses
// (`rvpjRelLivros`), a second project that nothing runs (`rvpjRelLivrosRev`), and the named
// data connections of the layouts on the data module's datasets.
class TRM {
public:
    explicit TRM(data::TDM& dm);
    TRM(const TRM&) = delete;
    TRM& operator=(const TRM&) = delete;

    ReportEngine rvstm1;
    DataModuleConnections connections; // RvDSLivContr, RvDSPeriodo, RvDSCompon, RvDSDadosGer, RvDSConRelLivrosRev
    ReportProjectFile rvpjRelLivros;
    ReportProjectFile rvpjRelLivrosRev;

    // Runs a report of rvpjRelLivros by name ("LivroContr").
    void RunNamedReport(const QString& name) { rvpjRelLivros.RunNamedReport(name); }
};

// The one instance, created by the main program after the main window (and by tests).
extern TRM* RM;

} // namespace livros::report
