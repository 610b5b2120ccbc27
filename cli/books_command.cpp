#include "cli/books_command.h"

#include "book/register/book_listing_text.h"
#include "cli/cli_options.h"
#include "cli/register_command_support.h"
#include "data/data_module.h"
#include "platform/user_messages.h"

namespace livros::cli {

int runBooksCommand(data::TDM& dm, const QString& cnpjOption, QTextStream& out)
{
    return runShowingFailures([&] {
        const QString cnpj = registerBookStore(dm, cnpjOption, QStringLiteral("books"));
        if (cnpj.isEmpty())
            return int(Usage);
        registerbook::RegisterBookRecords records(dm.sqlcon2);
        int problems = 0;
        for (const QString& line : registerbook::registerBooksListing(records, cnpj, &problems))
            out << line << '\n';
        out.flush();
        if (problems == 0)
            return int(Done);
        showStandardError(QStringLiteral("%1 arquivo(s) emitido(s) faltam ou foram alterados; veja as linhas PROBLEMA acima.")
                              .arg(problems));
        return int(Precondition);
    });
}

} // namespace livros::cli
