#include "cli/export_command.h"

#include "book/revised/report_selection.h"
#include "book/revised/stored_book.h"
#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_error.h"
#include "report/report_export.h"

namespace livros::cli {

int runExportCommand(data::TDM& dm, const QString& book, const QString& cnpjOption, const QString& pdfPath)
{
    const QString reportName = QStringLiteral("LivroContr");
    QString projectFile = QStringLiteral("rpt\\RelLivros.rav");
    try {
        std::optional<revised::RevisedMode> mode;
        if (book != QLatin1String("CLASSIC")) {
            mode = revised::revisedModeFromKeyword(book);
            if (!mode) {
                showStandardError(QStringLiteral("export: --book must be CLASSIC, DROGARIA, INSUMOSCOMPLETO or SIPROQUIM"));
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
        if (!report::exportReportToPdf(dm, programFolder() + projectFile, reportName, pdfPath)) {
            showStandardError(QStringLiteral("The project \"%1\" has no report \"%2\"; nothing was written")
                                  .arg(localPath(programFolder() + projectFile), reportName));
            return Failure;
        }
        return Done;
    } catch (const report::ReportError& e) {
        showStandardError(e.message());
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    }
    return Failure;
}

} // namespace livros::cli
