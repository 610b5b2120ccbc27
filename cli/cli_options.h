#pragma once
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace livros::cli {

// Exit codes of livros-cli.
enum ExitCode { Done = 0, Failure = 1, Usage = 2, Precondition = 3, MovementFailed = 4 };

struct CliOptions;

// One command of the tool and what it accepts after its name. Adding a command is one entry in
// the tool's table: its name, its options and the function that runs it.
struct CommandSpec {
    QString name;
    QStringList valueOptions;   // options followed by one value: "--group"
    QStringList flags = {};     // options without a value: "--force"
    int positionals = 0;        // words that are not options ("demo DIR": 1)
    int (*run)(const CliOptions&) = nullptr;
};

// The command line: [--folder DIR] COMMAND [--name value | --flag | word]...
struct CliOptions {
    QString folder;
    const CommandSpec* command = nullptr;
    QHash<QString, QString> values; // "--group" -> "1"
    QStringList flags;              // options given without a value ("--force")
    QStringList positional;
    QString error;                  // a usage error naming the argument; empty when the line reads

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Reads the arguments after the program name. Every argument must have its place: unknown,
// misplaced and repeated options, "--name=value" forms and stray words are errors naming the
// argument.
CliOptions parseCliOptions(const QStringList& arguments, const QList<CommandSpec>& commands);

// "DD/MM/YYYY" where the tool reads "DD/MM/YY": the usage error to give, or empty.
QString fourDigitYearError(const QString& option, const QString& text);

QString usageText();

} // namespace livros::cli
