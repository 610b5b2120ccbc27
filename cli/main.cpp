// livros-cli: the builders and reports of the window, without a window.
#include "cli/check_command.h"
#include "cli/cli_options.h"
#include "cli/classic_command.h"
#include "cli/demo_command.h"
#include "cli/export_command.h"
#include "cli/books_command.h"
#include "cli/issue_command.h"
#include "cli/terms_command.h"
#include "cli/revised_command.h"
#include "cli/siproquim_map_command.h"
#include "cli/store_and_period.h"
#include "platform/date_text.h"
#include "platform/program_version.h"
#include "data/data_module.h"
#include "data/db_error.h"

#include <QFile>
#include <QTextStream>
#include <memory>
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

using namespace livros;
using namespace livros::cli;

namespace {
const QStringList kValueOptions = {"--folder", "--group", "--cnpj", "--from", "--to", "--listing",
                                   "--mode", "--book", "--pdf", "--scale", "--seed", "--month", "--out", "--check"};

// The data module as the window creates it: QUILMARA.INI of the program folder, the connection
// path file, both connections pointed at the configured server.
std::unique_ptr<data::TDM> createDataModule()
{
    auto dm = std::make_unique<data::TDM>();
    data::DM = dm.get();
    dm->DataModuleCreate();
    return dm;
}

int runClassic(const CliOptions& options)
{
    bool ok = false;
    const int group = options.value(QStringLiteral("--group")).toInt(&ok);
    if (!ok)
        return -1;
    const QString listing = options.value(QStringLiteral("--listing"));
    QFile file;
    if (listing.isEmpty() || listing == QLatin1String("-")) {
        if (!file.open(stdout, QIODevice::WriteOnly))
            return Failure;
    } else {
        file.setFileName(listing);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            showStandardError(QStringLiteral("Cannot write the listing \"%1\". %2").arg(listing, file.errorString()));
            return Failure;
        }
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    auto dm = createDataModule();
    return runClassicCommand(*dm, group, options.value(QStringLiteral("--cnpj")), options.value(QStringLiteral("--from")),
                             options.value(QStringLiteral("--to")), out);
}

int usageError(const QString& text);

int runRevised(const CliOptions& options)
{
    const auto mode = revised::revisedModeFromKeyword(options.value(QStringLiteral("--mode")));
    if (!mode)
        return usageError(QStringLiteral("revised needs --mode DROGARIA, INSUMOSCOMPLETO or SIPROQUIM"));
    const QString fromText = options.value(QStringLiteral("--from"));
    const QString toText = options.value(QStringLiteral("--to"));
    if (fromText.isEmpty() != toText.isEmpty())
        return usageError(QStringLiteral("--from and --to go together"));
    auto dm = createDataModule();
    try {
        const StoreChoice store = chooseStore(*dm, options.value(QStringLiteral("--cnpj")));
        if (store.cnpj.isEmpty())
            return usageError(store.error);
        const QString& cnpj = store.cnpj;
        QDate from;
        QDate to;
        if (fromText.isEmpty()) {
            periodRecordDates(*dm, from, to);
        } else {
            from = parseDateText(fromText).value_or(QDate());
            to = parseDateText(toText).value_or(QDate());
        }
        return runRevisedCommand(*dm, *mode, cnpj, from, to);
    } catch (const data::DbError& e) {
        showStandardError(e.message());
        return Failure;
    }
}

int usageError(const QString& text)
{
    std::fprintf(stderr, "%s\n\n%s", qPrintable(text), qPrintable(usageText()));
    return Usage;
}
} // namespace

int main(int argc, char** argv)
{
    // Rendering PDF needs fonts and painting, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    StderrMessages messages;
    setUserMessages(&messages);

    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty() || arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(qPrintable(usageText()), arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? Usage : Done;
    }
    if (arguments.contains(QLatin1String("--version")))
        return std::printf("livros-cli %s\n", kProgramVersion) < 0 ? Failure : Done;
    const CliOptions options = parseCliOptions(arguments, kValueOptions);
    if (!options.error.isEmpty())
        return usageError(options.error);
    if (!options.folder.isEmpty())
        setProgramFolder(options.folder);

    if (options.command == QLatin1String("classic")) {
        const int code = runClassic(options);
        return code < 0 ? usageError(QStringLiteral("classic needs --group 1, 2, 3 or 4")) : code;
    }
    if (options.command == QLatin1String("revised"))
        return runRevised(options);
    if (options.command == QLatin1String("export")) {
        if (!options.has(QStringLiteral("--book")) || options.value(QStringLiteral("--pdf")).isEmpty())
            return usageError(QStringLiteral("export needs --book and --pdf FILE"));
        auto dm = createDataModule();
        return runExportCommand(*dm, options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                                options.value(QStringLiteral("--pdf")));
    }
    if (options.command == QLatin1String("check")) {
        QTextStream out(stdout);
        return runCheckCommand(*createDataModule(), options.value(QStringLiteral("--cnpj")),
                               options.value(QStringLiteral("--from")), options.value(QStringLiteral("--to")), out);
    }
    if (options.command == QLatin1String("issue"))
        return runIssueCommand(*createDataModule(), options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                               options.value(QStringLiteral("--from")), options.value(QStringLiteral("--to")), options.value(QStringLiteral("--pdf")));
    if (options.command == QLatin1String("terms"))
        return runTermsCommand(*createDataModule(), options.value(QStringLiteral("--book")), options.value(QStringLiteral("--cnpj")),
                               options.flags.contains(QStringLiteral("--opening")), options.flags.contains(QStringLiteral("--closing")),
                               options.value(QStringLiteral("--pdf")));
    if (options.command == QLatin1String("books")) {
        QTextStream out(stdout);
        return runBooksCommand(*createDataModule(), options.value(QStringLiteral("--cnpj")), out);
    }
    if (options.command == QLatin1String("siproquim-map"))
        return runSiproquimMapCommand(options, createDataModule);
    if (options.command == QLatin1String("demo")) {
        if (options.positional.size() != 1)
            return usageError(QStringLiteral("demo needs one folder"));
        DemoOptions demo;
        bool ok = true;
        if (options.has(QStringLiteral("--scale")))
            demo.scale = options.value(QStringLiteral("--scale")).toInt(&ok);
        if (!ok || demo.scale < 1)
            return usageError(QStringLiteral("--scale takes a whole number from 1"));
        if (options.has(QStringLiteral("--seed")))
            demo.seed = options.value(QStringLiteral("--seed")).toUInt(&ok);
        if (!ok)
            return usageError(QStringLiteral("--seed takes a whole number"));
        demo.singleStore = options.flags.contains(QStringLiteral("--single-store"));
        return runDemoCommand(options.positional.first(), demo, options.flags.contains(QStringLiteral("--force")));
    }
    return usageError(QStringLiteral("unknown command \"%1\"").arg(options.command));
}
