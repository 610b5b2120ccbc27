// "Balanços e relações": the health authority's periodic forms of the chosen store, shown in the
// preview the books use, from where they print or go to a PDF file.
#include "app/form_livros.h"
#include "app/handler_guard.h"
#include "forms/balance_form.h"
#include "forms/form_report_sources.h"
#include "forms/notification_relation.h"
#include "platform/user_messages.h"
#include "report/report_module.h"

#include <QApplication>
#include <QScopeGuard>

namespace livros::app {

namespace {

void showForm(report::TRM& rm, forms::FormReportSources& sources, const QString& programFolder, const char* reportName)
{
    const report::ConnectionSet connections = sources.connections(rm.connections.set);
    report::ReportProjectFile project;
    project.Engine = &rm.rvstm1;
    project.Connections = &connections;
    project.setProjectFile(programFolder + QString::fromLatin1(forms::kFormsProjectFile));
    project.RunNamedReport(QString::fromLatin1(reportName));
}

} // namespace

void TFormLivros::BotFormulariosClick()
{
    runHandler([this] {
        const std::optional<FormChoice> choice = chooseForm ? chooseForm() : askFormChoice(this);
        if (!choice)
            return;
        const auto form = forms::formFromKeyword(choice->form);
        if (!form)
            return;
        const bool balance = *form == forms::PeriodicForm::Bspo || *form == forms::PeriodicForm::Bmpo;
        const auto period = balance ? (choice->period.contains(QLatin1Char('/')) ? forms::quarterPeriod(choice->period)
                                                                                 : forms::yearPeriod(choice->period))
                                    : forms::monthPeriod(choice->period);
        if (!period) {
            userMessages().inform(balance ? QStringLiteral("Período incorreto: use T/AAAA para um trimestre (T de 1 a 4) "
                                                           "ou AAAA para o ano.")
                                          : QStringLiteral("Mês incorreto: use MM/AAAA."));
            return;
        }
        try {
            if (balance) {
                forms::BalanceForm found;
                {
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
                    found = forms::buildBalance(m_dm, *form, m_storeCnpj, *period);
                }
                if (!found.withoutOpening.isEmpty()) {
                    userMessages().inform(forms::withoutOpeningMessage(found));
                    return;
                }
                forms::FormReportSources sources(found);
                showForm(reportModule(), sources, m_programFolder, forms::kBalanceReportName);
            } else {
                forms::FormReportSources sources(forms::buildRelation(m_dm, *form, m_storeCnpj, *period));
                showForm(reportModule(), sources, m_programFolder, forms::kRelationReportName);
            }
        } catch (const forms::FormMovementsFailed& failed) {
            userMessages().inform(failed.message);
        }
    });
}

} // namespace livros::app
