#include "cli/register_command_support.h"

#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "data/db_error.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

namespace livros::cli {

QString registerBookStore(data::TDM& dm, const QString& cnpjOption, const QString& command)
{
    const QString cnpj = cnpjOption.isEmpty() ? singleStoreCnpj(dm) : cnpjOption.left(18);
    if (cnpj.isEmpty())
        showStandardError(QStringLiteral("%1: --cnpj é necessário: TABLAB não tem exatamente uma loja").arg(command));
    return cnpj;
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
