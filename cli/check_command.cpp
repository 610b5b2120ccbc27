#include "cli/check_command.h"

#include "check/data_check.h"
#include "cli/cli_options.h"
#include "cli/install_layout.h"
#include "cli/store_and_period.h"
#include "data/db_error.h"
#include "platform/date_text.h"
#include "platform/user_messages.h"

namespace livros::cli {

int runCheckCommand(data::TDM& dm, const QString& cnpjOption, const QString& fromText, const QString& toText,
                    QTextStream& out)
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
        for (const QString& line : check::checkReportText(report))
            out << line << '\n';
        out.flush();
        return report.clean() ? Done : Precondition;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
