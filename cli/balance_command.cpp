#include "cli/balance_command.h"

#include "cli/cli_options.h"
#include "cli/form_command_support.h"
#include "data/db_error.h"
#include "forms/balance_form.h"
#include "forms/form_csv.h"
#include "forms/form_report_sources.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

namespace livros::cli {

int runBalanceCommand(data::TDM& dm, const QString& formText, const QString& quarterText, const QString& yearText,
                      const QString& cnpjOption, const FormOutputs& outputs)
{
    const auto form = forms::formFromKeyword(formText);
    if (!form || (*form != forms::PeriodicForm::Bspo && *form != forms::PeriodicForm::Bmpo)) {
        showStandardError(QStringLiteral("balance precisa de --form BSPO ou BMPO"));
        return Usage;
    }
    if (quarterText.isEmpty() == yearText.isEmpty()) {
        showStandardError(QStringLiteral("balance precisa de --quarter T/AAAA ou de --year AAAA (um dos dois)"));
        return Usage;
    }
    const auto period = quarterText.isEmpty() ? forms::yearPeriod(yearText) : forms::quarterPeriod(quarterText);
    if (!period) {
        showStandardError(quarterText.isEmpty()
                              ? QStringLiteral("balance: --year \"%1\" não é um ano AAAA").arg(yearText)
                              : QStringLiteral("balance: --quarter \"%1\" não é um trimestre T/AAAA (T de 1 a 4)")
                                    .arg(quarterText));
        return Usage;
    }
    if (outputs.pdf.isEmpty() && outputs.csv.isEmpty()) {
        showStandardError(QStringLiteral("balance precisa de --pdf ARQUIVO e/ou --csv ARQUIVO"));
        return Usage;
    }
    if (outputs.pdf == QLatin1String("-") && outputs.csv == QLatin1String("-")) {
        showStandardError(QStringLiteral("balance: só um de --pdf e --csv pode ir para a saída padrão (\"-\")"));
        return Usage;
    }
    try {
        const QString cnpj = formStore(dm, QStringLiteral("balance"), cnpjOption);
        if (cnpj.isEmpty())
            return Usage;
        const forms::BalanceForm balance = forms::buildBalance(dm, *form, cnpj, *period);
        if (!balance.withoutOpening.isEmpty()) {
            showStandardError(forms::withoutOpeningMessage(balance));
            return Precondition;
        }
        if (!outputs.csv.isEmpty())
            if (const int code = writeCsvFile(outputs.csv, forms::balanceCsv(balance)); code != Done)
                return code;
        if (!outputs.pdf.isEmpty()) {
            const QString project = programFolder() + QString::fromLatin1(forms::kFormsProjectFile);
            return writeFormPdf(outputs.pdf, project, QString::fromLatin1(forms::kBalanceReportName),
                                [&](const QString& file) { return forms::writeBalancePdf(dm, balance, project, file); });
        }
        return Done;
    } catch (const forms::FormMovementsFailed& failed) {
        showStandardError(failed.message);
        return MovementFailed;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
