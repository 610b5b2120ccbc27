#include "cli/form_command_support.h"

#include "cli/cli_options.h"
#include "cli/install_layout.h"
#include "cli/store_and_period.h"
#include "cli/tool_output.h"
#include "platform/output_file.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

namespace livros::cli {

QString formStore(data::TDM& dm, const QString& command, const QString& cnpjOption)
{
    const StoreChoice store = chooseStore(dm, cnpjOption);
    if (store.cnpj.isEmpty())
        showStandardError(QStringLiteral("%1: %2").arg(command, store.error));
    return store.cnpj;
}

int writeCsvFile(const QString& path, const QByteArray& content)
{
    if (const QString error = writeOutputFile(path, content); !error.isEmpty()) {
        showStandardError(error);
        return Failure;
    }
    return Done;
}

int writeFormPdf(const QString& path, const QString& projectPath, const QString& reportName,
                 const std::function<bool(const QString& file)>& render)
{
    try {
        if (render(path))
            return Done;
        showStandardError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                              .arg(localPath(projectPath), reportName));
        return Failure;
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
