#include "cli/form_command_support.h"

#include "cli/cli_options.h"
#include "cli/install_layout.h"
#include "cli/store_and_period.h"
#include "cli/tool_output.h"
#include "platform/suite_paths.h"
#include "platform/system_error_text.h"
#include "platform/user_messages.h"
#include "report/report_error.h"

#include <QSaveFile>

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
    return makeFileFor(path, [&](const QString& file) {
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
            showStandardError(QStringLiteral("Não foi possível gravar \"%1\": %2")
                                  .arg(path, portugueseSystemText(out.errorString())));
            return int(Failure);
        }
        return int(Done);
    });
}

int writeFormPdf(const QString& path, const QString& projectPath, const QString& reportName,
                 const std::function<bool(const QString& file)>& render)
{
    try {
        return makeFileFor(path, [&](const QString& file) {
            if (render(file))
                return int(Done);
            showStandardError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                                  .arg(localPath(projectPath), reportName));
            return int(Failure);
        });
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

} // namespace livros::cli
