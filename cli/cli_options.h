#pragma once
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace livros::cli {

// Exit codes of livros-cli.
enum ExitCode { Done = 0, Failure = 1, Usage = 2, Precondition = 3, MovementFailed = 4 };

// The command line: [--folder DIR] COMMAND [--name value | --flag | positional]...
struct CliOptions {
    QString folder;
    QString command;
    QHash<QString, QString> values; // "--group" -> "1"
    QStringList flags;              // options given without a value ("--force")
    QStringList positional;
    QString error;                  // set when the line cannot be read

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Options that take a value; any other "--name" is a flag.
CliOptions parseCliOptions(const QStringList& arguments, const QStringList& valueOptions);

QString usageText();

} // namespace livros::cli
