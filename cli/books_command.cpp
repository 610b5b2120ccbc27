#include "cli/books_command.h"

#include "book/register/book_listing_text.h"
#include "cli/cli_options.h"
#include "cli/store_and_period.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "platform/user_messages.h"

namespace livros::cli {

int runBooksCommand(data::TDM& dm, const QString& cnpjOption, QTextStream& out)
{
    try {
        const QString cnpj = cnpjOption.isEmpty() ? singleStoreCnpj(dm) : cnpjOption.left(18);
        if (cnpj.isEmpty()) {
            showStandardError(QStringLiteral("books: --cnpj é necessário: TABLAB não tem exatamente uma loja"));
            return Usage;
        }
        registerbook::RegisterBookRecords records(dm.sqlcon2);
        for (const QString& line : registerbook::registerBooksListing(records, cnpj))
            out << line << '\n';
        out.flush();
        return Done;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    }
    return Failure;
}

} // namespace livros::cli
