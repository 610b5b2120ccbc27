#pragma once
#include "platform/output_file.h"

#include <QIODevice>
#include <QString>
#include <QTextStream>
#include <memory>

namespace livros::cli {

// Where a command's text goes (the classic listing): standard output ("-" or no name), a device or
// a pipe written through, or a regular file replaced only when the command succeeds. Nothing is
// opened before the first line, so a run refused before its listing leaves the output untouched.
class TextOutput {
public:
    // Empty error() when nothing is known to stop the output from being written.
    explicit TextOutput(const QString& fileName);
    ~TextOutput();
    const QString& error() const { return m_error; }
    QTextStream& stream() { return *m_stream; }
    // Ends the output: a regular file is kept only when `succeeded`. Returns the reason the text
    // could not be written (a full disk, a closed pipe), or empty.
    QString finish(bool succeeded);

private:
    QString m_name;
    std::unique_ptr<OutputFile> m_file;
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<QTextStream> m_stream;
    QString m_error;
};

// "na saída padrão" or "em "file"": where an output went, as the messages say it.
QString outputPlace(const QString& name);

} // namespace livros::cli
