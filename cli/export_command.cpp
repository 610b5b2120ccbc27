#include "cli/export_command.h"

#include "book/revised/report_selection.h"
#include "book/revised/stored_book.h"
#include "cli/cli_options.h"
#include "cli/register_command_support.h"
#include "cli/store_and_period.h"
#include "cli/tool_output.h"
#include "data/data_module.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_export.h"


namespace livros::cli {

int runExportCommand(data::TDM& dm, const QString& book, const QString& cnpjOption, const QString& pdfPath)
{
    const QString reportName = QStringLiteral("LivroContr");
    QString projectFile = QStringLiteral("rpt\\RelLivros.rav");
    return runShowingFailures([&]() -> int {
        std::optional<revised::RevisedMode> mode;
        if (book != QLatin1String("CLASSIC")) {
            mode = revised::revisedModeFromKeyword(book);
            if (!mode) {
                showStandardError(QStringLiteral("export: --book deve ser CLASSIC, DROGARIA, INSUMOSCOMPLETO ou SIPROQUIM"));
                return Usage;
            }
        }
        const StoreChoice store = chooseStore(dm, cnpjOption);
        if (store.cnpj.isEmpty()) {
            showStandardError(store.error);
            return Usage;
        }
        const QString& cnpj = store.cnpj;
        if (mode) {
            if (revised::storedBookIsOfAnotherMode(dm, *mode, cnpj)) {
                userMessages().inform(revised::noBookOfThisModeMessage(cnpj));
                return Precondition;
            }
            dm.setRevisedBookSelection(revised::revisedBookSelection(*mode, cnpj));
            projectFile = revised::revisedProjectFile(*mode);
        } else {
            // LIVROCONTR may hold another store's last book: only this store's lines print.
            dm.LivroContr.close();
            dm.LivroContr.setCommandText(data::livroContrSelect(cnpj));
        }
        return makeFileFor(pdfPath, [&](const QString& target) {
            if (report::exportReportToPdf(dm, programFolder() + projectFile, reportName, target))
                return Done;
            showStandardError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                                  .arg(localPath(programFolder() + projectFile), reportName));
            return Failure;
        });
    });
}

} // namespace livros::cli
