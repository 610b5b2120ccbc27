#include "cli/register_command_support.h"

#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "data/db_error.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

namespace livros::cli {

QString registerBookStore(data::TDM& dm, const QString& cnpjOption, const QString& command)
{
    const StoreChoice store = chooseStore(dm, cnpjOption);
    if (store.cnpj.isEmpty())
        showStandardError(QStringLiteral("%1: %2").arg(command, store.error));
    return store.cnpj;
}

int runShowingFailures(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    }
    return Failure;
}

} // namespace livros::cli
