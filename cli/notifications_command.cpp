#include "cli/notifications_command.h"

#include "cli/cli_options.h"
#include "cli/form_command_support.h"
#include "data/db_error.h"
#include "forms/form_csv.h"
#include "forms/form_report_sources.h"
#include "forms/notification_relation.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

namespace livros::cli {

int runNotificationsCommand(data::TDM& dm, const QString& formText, const QString& monthText,
                            const QString& cnpjOption, const FormOutputs& outputs)
{
    const auto form = forms::formFromKeyword(formText);
    if (!form || (*form != forms::PeriodicForm::Rmnra && *form != forms::PeriodicForm::Rmnrb2)) {
        showStandardError(QStringLiteral("notifications precisa de --form RMNRA ou RMNRB2"));
        return Usage;
    }
    const auto month = forms::monthPeriod(monthText);
    if (!month) {
        showStandardError(QStringLiteral("notifications precisa de --month MM/AAAA"));
        return Usage;
    }
    if (outputs.pdf.isEmpty() && outputs.csv.isEmpty()) {
        showStandardError(QStringLiteral("notifications precisa de --pdf ARQUIVO e/ou --csv ARQUIVO"));
        return Usage;
    }
    if (outputs.pdf == QLatin1String("-") && outputs.csv == QLatin1String("-")) {
        showStandardError(QStringLiteral("notifications: só um de --pdf e --csv pode ir para a saída padrão (\"-\")"));
        return Usage;
    }
    try {
        const QString cnpj = formStore(dm, QStringLiteral("notifications"), cnpjOption);
        if (cnpj.isEmpty())
            return Usage;
        const forms::NotificationRelation relation = forms::buildRelation(dm, *form, cnpj, *month);
        if (!outputs.csv.isEmpty())
            if (const int code = writeCsvFile(outputs.csv, forms::relationCsv(relation)); code != Done)
                return code;
        if (!outputs.pdf.isEmpty()) {
            const QString project = programFolder() + QString::fromLatin1(forms::kFormsProjectFile);
            return writeFormPdf(outputs.pdf, project, QString::fromLatin1(forms::kRelationReportName),
                                [&](const QString& file) { return forms::writeRelationPdf(dm, relation, project, file); });
        }
        return Done;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
