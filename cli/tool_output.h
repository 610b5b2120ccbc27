#pragma once
#include <QSaveFile>
#include <QString>
#include <QTextStream>
#include <functional>
#include <memory>

namespace livros::cli {

// Where a command's text goes: standard output ("-" or no name) or a file that is replaced only
// when the command succeeds (written beside it and renamed), so that a refused or failed run
// leaves an existing file as it was.
class TextOutput {
public:
    // Empty error() when the output could be opened.
    explicit TextOutput(const QString& fileName);
    ~TextOutput();
    const QString& error() const { return m_error; }
    QTextStream& stream() { return *m_stream; }
    // Ends the output: a file is kept only when `succeeded`. Returns the reason the text could not
    // be written (a full disk, a closed pipe), or empty.
    QString finish(bool succeeded);

private:
    QString m_name;
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<QTextStream> m_stream;
    QString m_error;
};

// Copies a finished file to standard output or to a device ("/dev/full", a pipe); the reason of a
// failed write, or empty.
QString copyToDestination(const QString& source, const QString& destination);

// Whether a file name is written through a temporary file that is then copied: standard output
// ("-") or something that is not a plain file (a device, a pipe), which cannot be renamed over.
bool needsCopyOut(const QString& fileName);

// Makes a file for `destination` with `make`, which writes the file it is given whole or not at
// all and returns an exit code. A plain file is made in place; standard output ("-") and devices,
// which cannot take a finished file by a rename, get one made in a temporary folder and copied
// there whole. A failure to make the folder or to copy is shown on standard error and gives 1.
int makeFileFor(const QString& destination, const std::function<int(const QString& file)>& make);

} // namespace livros::cli
