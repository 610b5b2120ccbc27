#include "cli/books_command.h"

#include "book/register/book_listing_text.h"
#include "cli/cli_options.h"
#include "cli/register_command_support.h"
#include "data/data_module.h"

namespace livros::cli {

int runBooksCommand(data::TDM& dm, const QString& cnpjOption, QTextStream& out)
{
    return runShowingFailures([&] {
        const QString cnpj = registerBookStore(dm, cnpjOption, QStringLiteral("books"));
        if (cnpj.isEmpty())
            return int(Usage);
        registerbook::RegisterBookRecords records(dm.sqlcon2);
        for (const QString& line : registerbook::registerBooksListing(records, cnpj))
            out << line << '\n';
        out.flush();
        return int(Done);
    });
}

} // namespace livros::cli
