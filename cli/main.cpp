// livros-cli: the builders and reports of the window, without a window.
#include "cli/cli_options.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

using namespace livros;
using namespace livros::cli;

namespace {
const QStringList kValueOptions = {"--folder", "--group", "--cnpj", "--from", "--to", "--listing",
                                   "--mode", "--book", "--pdf", "--scale", "--seed"};

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
    const CliOptions options = parseCliOptions(arguments, kValueOptions);
    if (!options.error.isEmpty())
        return usageError(options.error);
    if (!options.folder.isEmpty())
        setProgramFolder(options.folder);

    return usageError(QStringLiteral("unknown command \"%1\"").arg(options.command));
}
