#include "cli/cli_options.h"

namespace livros::cli {

CliOptions parseCliOptions(const QStringList& arguments, const QStringList& valueOptions)
{
    CliOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            if (valueOptions.contains(arg)) {
                if (i + 1 >= arguments.size()) {
                    options.error = QStringLiteral("%1 needs a value").arg(arg);
                    return options;
                }
                const QString value = arguments.at(++i);
                if (arg == QLatin1String("--folder") && options.command.isEmpty())
                    options.folder = value;
                else
                    options.values.insert(arg, value);
            } else {
                options.flags << arg;
            }
        } else if (options.command.isEmpty()) {
            options.command = arg;
        } else {
            options.positional << arg;
        }
    }
    return options;
}

QString usageText()
{
    return QStringLiteral(
        "livros-cli: builds and exports the register books without the window.\n"
        "\n"
        "Usage: livros-cli [--folder DIR] COMMAND [OPTIONS]\n"
        "\n"
        "  --folder DIR   the program folder (QUILMARA.INI, rpt/); default: the executable's folder\n"
        "\n"
        "Commands:\n"
        "  classic --group N [--cnpj DIGITS] [--from DD/MM/YY --to DD/MM/YY] [--listing FILE]\n"
        "      builds the classic book of list group N (1 to 4) into LIVROCONTR; the listing goes\n"
        "      to FILE or to standard output\n"
        "  revised --mode DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj DIGITS] [--from DD/MM/YY --to DD/MM/YY]\n"
        "      rebuilds the store's revised book in LIVROREVCONTR\n"
        "  export --book CLASSIC|DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj DIGITS] --pdf FILE\n"
        "      renders the stored book to a PDF file\n"
        "  check [--cnpj DIGITS] [--from DD/MM/YY --to DD/MM/YY]\n"
        "      lists the data faults that would make the store's books wrong (exit 3 when any)\n"
        "  books [--cnpj DIGITS]\n"
        "      lists the store's register books, their sheets and issued periods\n"
        "  issue --book CLASSIC1..CLASSIC4|DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj DIGITS]\n"
        "        --from DD/MM/YY --to DD/MM/YY [--pdf FILE]\n"
        "      builds the period and issues it on the book's next numbered sheets (\"Folha N\"), kept\n"
        "      in the archive Livros/emitidos/ of the suite folder; --pdf also copies it to FILE\n"
        "  terms --book ... [--cnpj DIGITS] --opening|--closing --pdf FILE\n"
        "      the opening or closing term of the store's current book; the closing term closes it\n"
        "  siproquim-map --month MM/YYYY [--cnpj DIGITS] [--out DIR]\n"
        "      writes the store's SIPROQUIM monthly map file M<year><MON><CNPJ>.txt into DIR\n"
        "  siproquim-map --check FILE\n"
        "      reads a SIPROQUIM map file and lists every problem with its line and column\n"
        "  demo DIR [--scale N] [--seed S] [--single-store] [--force]\n"
        "      creates a ready installation with demo data in DIR\n"
        "\n"
        "Without --from/--to the period is the PERIODO record's. Without --cnpj the store is the one\n"
        "of DADOSGER, which needs exactly one row in TABLAB.\n"
        "The suite folder is QUILMARA_HOME (default /opt/quilmara).\n"
        "\n"
        "Exit codes: 0 done; 1 database, file or report error; 2 usage error; 3 a precondition of\n"
        "the book failed; 4 a movement query or statement failed.\n");
}

} // namespace livros::cli
