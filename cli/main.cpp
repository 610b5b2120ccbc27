// livros-cli: the builders and reports of the window, without a window.
#include "book/classic/movement_source.h"
#include "cli/balance_command.h"
#include "cli/books_command.h"
#include "cli/check_command.h"
#include "cli/classic_command.h"
#include "cli/cli_options.h"
#include "cli/demo_command.h"
#include "cli/export_command.h"
#include "cli/issue_command.h"
#include "cli/notifications_command.h"
#include "cli/revised_command.h"
#include "cli/siproquim_map_command.h"
#include "cli/store_and_period.h"
#include "platform/system_error_text.h"
#include "cli/terms_command.h"
#include "cli/tool_data_module.h"
#include "cli/tool_output.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"
#include "platform/date_text.h"
#include "platform/native_file_name.h"
#include "platform/output_file.h"
#include "platform/program_version.h"
#include "platform/runtime_dir.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <new>

using namespace livros;
using namespace livros::cli;

namespace {

int usageError(const QString& text)
{
    std::fprintf(stderr, "livros-cli: %s\nVeja livros-cli --help.\n", qPrintable(text));
    return Usage;
}

// Only the names of the files a command writes or reads keep bytes that are not UTF-8; a folder
// of the installation, a store or a date with such bytes would be read as another text.
QString rawBytesError(const CliOptions& options)
{
    static const QStringList fileOptions = {QStringLiteral("--pdf"), QStringLiteral("--listing"), QStringLiteral("--out"),
                                            QStringLiteral("--check"), QStringLiteral("--csv")};
    QStringList texts = options.positional;
    texts << options.folder;
    for (auto it = options.values.cbegin(); it != options.values.cend(); ++it) {
        if (!fileOptions.contains(it.key()))
            texts << it.value();
    }
    for (const QString& text : texts) {
        if (hasRawBytes(text))
            return QStringLiteral("O argumento \"%1\" não está em UTF-8; só os nomes de arquivo de --pdf, --listing, "
                                  "--out, --check e --csv podem ter outros bytes").arg(text);
    }
    return {};
}

// --from and --to: together, and written DD/MM/YY.
QString periodOptionsError(const CliOptions& options)
{
    const QString from = options.value(QStringLiteral("--from"));
    const QString to = options.value(QStringLiteral("--to"));
    if (options.has(QStringLiteral("--from")) != options.has(QStringLiteral("--to")))
        return QStringLiteral("--from e --to vão juntas");
    for (const QString& error : {fourDigitYearError(QStringLiteral("--from"), from), fourDigitYearError(QStringLiteral("--to"), to)}) {
        if (!error.isEmpty())
            return error;
    }
    return {};
}

int runClassic(const CliOptions& options)
{
    bool ok = false;
    const int group = options.value(QStringLiteral("--group")).toInt(&ok);
    if (!ok || group < 1 || group > 4)
        return usageError(QStringLiteral("classic precisa de --group 1, 2, 3 ou 4"));
    if (const QString error = periodOptionsError(options); !error.isEmpty())
        return usageError(error);
    TextOutput listing(options.value(QStringLiteral("--listing")));
    if (!listing.error().isEmpty()) {
        showStandardError(listing.error());
        return Failure;
    }
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    int code = runClassicCommand(*dm, group, options.value(QStringLiteral("--cnpj")), options.value(QStringLiteral("--from")),
                                 options.value(QStringLiteral("--to")), listing.stream());
    if (const QString error = listing.finish(code == Done); !error.isEmpty()) {
        showStandardError(error);
        code = Failure;
    }
    return code;
}

int runRevised(const CliOptions& options)
{
    const auto mode = revised::revisedModeFromKeyword(options.value(QStringLiteral("--mode")));
    if (!mode)
        return usageError(QStringLiteral("revised precisa de --mode DROGARIA, INSUMOSCOMPLETO ou SIPROQUIM"));
    if (const QString error = periodOptionsError(options); !error.isEmpty())
        return usageError(error);
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    try {
        const StoreChoice store = chooseStore(*dm, options.value(QStringLiteral("--cnpj")));
        if (store.cnpj.isEmpty())
            return usageError(store.error);
        const QString& cnpj = store.cnpj;
        QDate from;
        QDate to;
        if (!options.has(QStringLiteral("--from"))) {
            periodRecordDates(*dm, from, to);
        } else {
            from = parseDateText(options.value(QStringLiteral("--from"))).value_or(QDate());
            to = parseDateText(options.value(QStringLiteral("--to"))).value_or(QDate());
        }
        return runRevisedCommand(*dm, *mode, cnpj, from, to);
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

int runExport(const CliOptions& options)
{
    if (!options.has(QStringLiteral("--book")) || !options.has(QStringLiteral("--pdf")))
        return usageError(QStringLiteral("export precisa de --book e --pdf ARQUIVO"));
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    return runExportCommand(*dm, options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                            options.value(QStringLiteral("--pdf")));
}

int runDemo(const CliOptions& options)
{
    DemoOptions demo;
    bool ok = true;
    if (options.has(QStringLiteral("--scale")))
        demo.scale = options.value(QStringLiteral("--scale")).toInt(&ok);
    if (!ok || demo.scale < 1)
        return usageError(QStringLiteral("--scale recebe um número inteiro a partir de 1"));
    if (options.has(QStringLiteral("--seed")))
        demo.seed = options.value(QStringLiteral("--seed")).toUInt(&ok);
    if (!ok)
        return usageError(QStringLiteral("--seed recebe um número inteiro"));
    demo.singleStore = options.has(QStringLiteral("--single-store"));
    return runDemoCommand(options.positional.first(), demo, options.has(QStringLiteral("--force")));
}

int runCheck(const CliOptions& options)
{
    if (const QString error = periodOptionsError(options); !error.isEmpty())
        return usageError(error);
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    QTextStream out(stdout);
    return runCheckCommand(*dm, options.value(QStringLiteral("--cnpj")), options.value(QStringLiteral("--from")),
                           options.value(QStringLiteral("--to")), options.value(QStringLiteral("--pdf")), out);
}

int runIssue(const CliOptions& options)
{
    if (const QString error = periodOptionsError(options); !error.isEmpty())
        return usageError(error);
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    return runIssueCommand(*dm, options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                           options.value(QStringLiteral("--from")), options.value(QStringLiteral("--to")),
                           options.value(QStringLiteral("--pdf")));
}

int runTerms(const CliOptions& options)
{
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    return runTermsCommand(*dm, options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                           options.has(QStringLiteral("--opening")), options.has(QStringLiteral("--closing")),
                           options.value(QStringLiteral("--pdf")));
}

int runBooks(const CliOptions& options)
{
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    QTextStream out(stdout);
    return runBooksCommand(*dm, options.value(QStringLiteral("--cnpj")), out);
}

int runSiproquimMap(const CliOptions& options)
{
    if (options.has(QStringLiteral("--check")) == options.has(QStringLiteral("--month")))
        return usageError(QStringLiteral("siproquim-map precisa de --month MM/AAAA ou de --check ARQUIVO (um dos dois)"));
    return runSiproquimMapCommand(options, createToolDataModule);
}

int runBalance(const CliOptions& options)
{
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    return runBalanceCommand(*dm, options.value(QStringLiteral("--form")), options.value(QStringLiteral("--quarter")),
                             options.value(QStringLiteral("--year")), options.value(QStringLiteral("--cnpj")),
                             {options.value(QStringLiteral("--pdf")), options.value(QStringLiteral("--csv"))});
}

int runNotifications(const CliOptions& options)
{
    auto dm = createToolDataModule();
    if (!dm)
        return Failure;
    return runNotificationsCommand(*dm, options.value(QStringLiteral("--form")), options.value(QStringLiteral("--month")),
                                   options.value(QStringLiteral("--cnpj")),
                                   {options.value(QStringLiteral("--pdf")), options.value(QStringLiteral("--csv"))});
}

// The commands and what each accepts: one entry per command.
const QList<CommandSpec> kCommands = {
    {QStringLiteral("classic"), {"--group", "--cnpj", "--from", "--to", "--listing"}, {}, 0, runClassic},
    {QStringLiteral("revised"), {"--mode", "--cnpj", "--from", "--to"}, {}, 0, runRevised},
    {QStringLiteral("export"), {"--book", "--cnpj", "--pdf"}, {}, 0, runExport},
    {QStringLiteral("check"), {"--cnpj", "--from", "--to", "--pdf"}, {}, 0, runCheck},
    {QStringLiteral("books"), {"--cnpj"}, {}, 0, runBooks},
    {QStringLiteral("issue"), {"--book", "--cnpj", "--from", "--to", "--pdf"}, {}, 0, runIssue},
    {QStringLiteral("terms"), {"--book", "--cnpj", "--pdf"}, {"--opening", "--closing"}, 0, runTerms},
    {QStringLiteral("siproquim-map"), {"--month", "--cnpj", "--out", "--check"}, {}, 0, runSiproquimMap},
    {QStringLiteral("balance"), {"--form", "--quarter", "--year", "--cnpj", "--pdf", "--csv"}, {}, 0, runBalance},
    {QStringLiteral("notifications"), {"--form", "--month", "--cnpj", "--pdf", "--csv"}, {}, 0, runNotifications},
    {QStringLiteral("demo"), {"--scale", "--seed"}, {"--single-store", "--force"}, 1, runDemo},
};

// The output of a command that finished may still sit in a buffer: a full disk or a closed pipe
// shows only now, and the run has then failed.
int checkStandardOutput(int code)
{
    errno = 0;
    if ((std::fflush(stdout) == 0 && !std::ferror(stdout)) || code != Done)
        return code; // a run that failed has said why
    showStandardError(QStringLiteral("Não foi possível escrever na saída padrão: %1").arg(systemErrorText(errno ? errno : EIO)));
    return Failure;
}

// Runs a command so that no error escapes it: whatever a command did not catch is shown in
// Portuguese and the run ends with exit 1, instead of an abort without a word.
int runGuarded(const std::function<int()>& command)
{
    try {
        return command();
    } catch (const ProgramTerminated& end) {
        return end.exitCode;
    } catch (const data::DbError& e) {
        showStandardError(e.message());
    } catch (const std::bad_alloc&) {
        showStandardError(QStringLiteral("Memória insuficiente para concluir a operação; nada mais foi gravado."));
    } catch (const std::exception& e) {
        showStandardError(QStringLiteral("Erro inesperado: %1").arg(QString::fromUtf8(e.what())));
    } catch (const classic::MovementQueryFailed& failure) {
        showStandardError(QStringLiteral("Não foi possível ler as movimentações %1: %2").arg(failure.where, failure.reason));
    } catch (...) {
        showStandardError(QStringLiteral("Erro inesperado de tipo desconhecido; a operação foi interrompida."));
    }
    return Failure;
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering PDF needs fonts and painting, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareRuntimeDirectory();
    QGuiApplication app(argc, argv);
    StderrMessages messages;
    setUserMessages(&messages);

    // Decoded so that a file name keeps every byte it was given, UTF-8 or not.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << decodeNativeName(QByteArray(argv[i]));
    if (arguments.isEmpty()) {
        std::fputs(qPrintable(usageText()), stderr);
        return Usage;
    }
    // --help and --version alone, or after the program folder.
    const QStringList alone = arguments.size() == 3 && arguments.first() == QLatin1String("--folder")
        ? arguments.mid(2) : arguments;
    if (alone.size() == 1 && (alone.first() == QLatin1String("--help") || alone.first() == QLatin1String("-h"))) {
        std::fputs(qPrintable(usageText()), stdout);
        return checkStandardOutput(Done);
    }
    if (alone.size() == 1 && alone.first() == QLatin1String("--version")) {
        std::printf("livros-cli %s\n", kProgramVersion);
        return checkStandardOutput(Done);
    }
    const CliOptions options = parseCliOptions(arguments, kCommands);
    if (!options.error.isEmpty())
        return usageError(options.error);
    if (const QString error = rawBytesError(options); !error.isEmpty())
        return usageError(error);
    // The archive keeps each issued book as it was issued: no output of a command goes there.
    for (const QString option : {QStringLiteral("--pdf"), QStringLiteral("--listing")}) {
        const QString name = options.value(option);
        if (!name.isEmpty() && name != QLatin1String("-") && isInsideIssuedArchive(name))
            return usageError(QStringLiteral("%1 \"%2\": a pasta dos livros emitidos guarda cada arquivo como foi "
                                             "emitido e não recebe outros; escolha outra pasta")
                                  .arg(option, name));
    }
    if (const QString error = data::lockTimeoutProblem(); !error.isEmpty())
        return usageError(error);
    if (!options.folder.isEmpty())
        setProgramFolder(options.folder);
    return checkStandardOutput(runGuarded([&] { return options.command->run(options); }));
}
