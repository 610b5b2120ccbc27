#pragma once
#include "report/report_data_source.h"
#include "report/report_model.h"

#include <QString>
#include <optional>

namespace livros::report {

class ReportEngine;

// The report project component (`rvpjRelLivros`): the project file, loaded on the first run and
// kept for the rest of the process (a later ProjectFile is not read), and the runs of its
// reports through the engine over the report module's connections.
class ReportProjectFile {
public:
    ReportEngine* Engine = nullptr;
    const ConnectionSet* Connections = nullptr;

    // The file as set, with ".rav" added to a name without extension; backslashes and letter
    // case are resolved when it is opened (a path written as "C:\...\rpt\RelLivros.rav").
    void setProjectFile(const QString& value);
    const QString& projectFile() const { return m_projectFile; }

    bool isOpen() const { return m_project.has_value(); }
    // Loads the project file unless a project is loaded already. A missing file fails with
    // "O projeto de relatório a seguir não existe:", a line break and the quoted path.
    void open();
    const ReportProject* project() const { return m_project ? &*m_project : nullptr; }

    // Loads the project on first use, selects the report by its short name and runs it through
    // the engine; a project without such a report returns without output.
    void RunNamedReport(const QString& name);

private:
    QString m_projectFile;
    std::optional<ReportProject> m_project;
};

} // namespace livros::report
