// "Conferência": the check of the chosen store's data for the period on the panel (read only),
// shown in the preview the books use, from where it prints or goes to a PDF file.
#include "app/date_mask_edit.h"
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "book/classic/classic_preparation.h"
#include "check/check_report_sources.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_module.h"

#include <QApplication>
#include <QFileInfo>
#include <QScopeGuard>

namespace livros::app {

void TFormLivros::BotConferenciaClick()
{
    runHandler([this] {
        const std::optional<QDate> from = parseDateText(MaskEdit1->maskText());
        if (!from) {
            userMessages().inform(classic::badInitialDateMessage());
            MaskEdit1->setFocus(Qt::OtherFocusReason);
            return;
        }
        const std::optional<QDate> to = parseDateText(MaskEdit2->maskText());
        if (!to || *to < *from) {
            userMessages().inform(classic::badFinalDateMessage());
            MaskEdit2->setFocus(Qt::OtherFocusReason);
            return;
        }
        // The optional indexes' part needs their script, which an installation has in db/.
        const QString indexScript = localPath(m_programFolder + QStringLiteral("db\\suite_indexes.sql"));
        check::CheckReport found;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
            found = check::checkStoreData(m_dm, m_storeCnpj, *from, *to,
                                          QFileInfo::exists(indexScript) ? indexScript : QString());
        }
        report::TRM& rm = reportModule();
        check::CheckReportSources sources(found);
        const report::ConnectionSet connections = sources.connections(rm.connections.set);
        report::ReportProjectFile project;
        project.Engine = &rm.rvstm1;
        project.Connections = &connections;
        project.setProjectFile(m_programFolder + QString::fromLatin1(check::kCheckProjectFile));
        project.RunNamedReport(QString::fromLatin1(check::kCheckReportName));
    });
}

} // namespace livros::app
