#include "cli/export_command.h"

#include "book/revised/report_selection.h"
#include "book/revised/stored_book.h"
#include "cli/cli_options.h"
#include "cli/register_command_support.h"
#include "cli/store_and_period.h"
#include "data/data_module.h"
#include "data/query.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"
#include "report/report_export.h"


namespace livros::cli {
namespace {

bool classicBookBuiltFor(data::TDM& dm, const QString& cnpj)
{
    data::Query& query = dm.SQLQuery1;
    query.close();
    query.setSql(QStringLiteral("select first 1 ID from LIVROCONTR where CNPJ = ") + sqlLiteral(cnpj.left(18)));
    query.open();
    const bool built = !query.eof();
    query.close();
    return built;
}

} // namespace

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
            // LIVROCONTR may hold another store's last book: only this store's lines print, and a
            // store without any has no book to export.
            if (!classicBookBuiltFor(dm, cnpj)) {
                userMessages().inform(QStringLiteral("Nenhuma linha de livro clássico montada para a loja %1: o livro "
                                                     "não foi montado para ela (o último montado é de outra loja) ou o "
                                                     "período montado não teve movimento. Monte-o com livros-cli classic "
                                                     "--group N e exporte-o depois.")
                                          .arg(cnpj));
                return Precondition;
            }
            dm.LivroContr.close();
            dm.LivroContr.setCommandText(data::livroContrSelect(cnpj));
        }
        if (report::exportReportToPdf(dm, programFolder() + projectFile, reportName, pdfPath))
            return Done;
        showStandardError(QStringLiteral("O projeto \"%1\" não tem o relatório \"%2\"; nada foi gravado")
                              .arg(localPath(programFolder() + projectFile), reportName));
        return Failure;
    });
}

} // namespace livros::cli
