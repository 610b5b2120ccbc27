#include "cli/check_command.h"

#include "check/check_report_sources.h"
#include "check/data_check.h"
#include "cli/cli_options.h"
#include "cli/install_layout.h"
#include "cli/store_and_period.h"
#include "data/db_error.h"
#include "platform/book_locale.h"
#include "platform/date_text.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

namespace livros::cli {

int runCheckCommand(data::TDM& dm, const QString& cnpjOption, const QString& fromText, const QString& toText,
                    const QString& pdfPath, QTextStream& out)
{
    if (fromText.isEmpty() != toText.isEmpty()) {
        showStandardError(QStringLiteral("check: --from e --to vão juntos"));
        return Usage;
    }
    try {
        const StoreChoice store = chooseStore(dm, cnpjOption);
        if (store.cnpj.isEmpty()) {
            showStandardError(QStringLiteral("check: %1").arg(store.error));
            return Usage;
        }
        const QString& cnpj = store.cnpj;
        QDate from;
        QDate to;
        if (fromText.isEmpty()) {
            periodRecordDates(dm, from, to);
        } else {
            from = parseDateText(fromText).value_or(QDate());
            to = parseDateText(toText).value_or(QDate());
        }
        if (!from.isValid() || !to.isValid() || to < from) {
            showStandardError(QStringLiteral("check: período inválido"));
            return Precondition;
        }
        const QString scripts = findShippedFolder(QStringLiteral("db"));
        const check::CheckReport report = check::checkStoreData(
            dm, cnpj, from, to, scripts.isEmpty() ? QString() : scripts + QStringLiteral("/suite_indexes.sql"));
        const int found = report.clean() ? Done : Precondition;
        if (!pdfPath.isEmpty()) {
            const QString project = programFolder() + QString::fromLatin1(check::kCheckProjectFile);
            if (check::writeCheckPdf(dm, report, project, pdfPath))
                return found;
            showStandardError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                                  .arg(localPath(project), QString::fromLatin1(check::kCheckReportName)));
            return int(Failure);
        }
        for (const QString& line : check::checkReportText(report, bookLocale()))
            out << line << '\n';
        out.flush();
        return found;
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
        return Failure;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
