#include "cli/tool_output.h"

#include <QDir>

namespace livros::cli {

namespace {

bool isStandardOutput(const QString& name) { return name.isEmpty() || name == QLatin1String("-"); }

// A sequential device over an output file: the text stream writes through it, never seeks.
class OutputDevice : public QIODevice {
public:
    explicit OutputDevice(OutputFile& file) : m_file(file) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        return m_file.write(QByteArray::fromRawData(data, size)) ? size : -1;
    }

private:
    OutputFile& m_file;
};

} // namespace

QString outputPlace(const QString& name)
{
    return isStandardOutput(name) ? QStringLiteral("na saída padrão")
                                  : QStringLiteral("em \"%1\"").arg(QDir::toNativeSeparators(name));
}

TextOutput::TextOutput(const QString& fileName)
    : m_name(fileName), m_file(std::make_unique<OutputFile>(isStandardOutput(fileName) ? QStringLiteral("-") : fileName))
{
    if (const QString why = m_file->precheck(); !why.isEmpty())
        m_error = QStringLiteral("Não foi possível escrever %1: %2").arg(outputPlace(m_name), why);
    m_device = std::make_unique<OutputDevice>(*m_file);
    m_stream = std::make_unique<QTextStream>(m_device.get());
    m_stream->setEncoding(QStringConverter::Utf8);
}

TextOutput::~TextOutput() = default;

QString TextOutput::finish(bool succeeded)
{
    if (!m_error.isEmpty())
        return m_error;
    m_stream->flush();
    if (!succeeded && (m_file->kind() == OutputKind::RegularFile || !m_file->opened())) {
        m_file->discard();
        return {};
    }
    // A failed run's text already went through a pipe or to the terminal; it is ended the same way.
    if (const QString why = m_file->commit(); !why.isEmpty())
        return QStringLiteral("Não foi possível escrever %1: %2").arg(outputPlace(m_name), why);
    return {};
}

} // namespace livros::cli
