#include "report/rv_project.h"

#include "platform/suite_paths.h"
#include "report/project_loader.h"
#include "report/report_error.h"
#include "report/report_system.h"

namespace livros::report {

void ReportProjectFile::setProjectFile(const QString& value)
{
    m_projectFile = projectFileName(value);
}

void ReportProjectFile::open()
{
    if (m_project)
        return;
    m_project = loadReportProject(localPath(m_projectFile));
}

void ReportProjectFile::RunNamedReport(const QString& name)
{
    open();
    const ReportDefinition* report = m_project->find(name);
    if (!report)
        return;
    if (!Engine || !Connections)
        throw ReportError(QStringLiteral("O projeto de relatório \"%1\" não tem motor nem conexões.").arg(m_projectFile));
    Engine->execute(*m_project, *report, *Connections);
}

} // namespace livros::report
