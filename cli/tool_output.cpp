#include "cli/tool_output.h"
#include "platform/system_error_text.h"

#include "cli/cli_options.h"
#include "platform/native_file_name.h"
#include "platform/user_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace livros::cli {

namespace {
bool isStandardOutput(const QString& name) { return name.isEmpty() || name == QLatin1String("-"); }

// "na saída padrão" or "em "file"": where the text went, as the messages say it.
QString where(const QString& name)
{
    return isStandardOutput(name) ? QStringLiteral("na saída padrão")
                                  : QStringLiteral("em \"%1\"").arg(QDir::toNativeSeparators(name));
}
} // namespace

bool needsCopyOut(const QString& fileName)
{
    if (isStandardOutput(fileName))
        return true;
    const QFileInfo info(fileName);
    return info.exists() && !info.isFile() && !info.isDir();
}

TextOutput::TextOutput(const QString& fileName) : m_name(fileName)
{
    if (needsCopyOut(fileName)) {
        auto file = std::make_unique<QFile>(isStandardOutput(fileName) ? QString() : fileName);
        if (isStandardOutput(fileName) ? !file->open(stdout, QIODevice::WriteOnly)
                                       : !file->open(QIODevice::WriteOnly | QIODevice::Append))
            m_error = QStringLiteral("Não foi possível escrever %1: %2").arg(where(fileName), portugueseSystemText(file->errorString()));
        m_device = std::move(file);
    } else if (hasRawBytes(fileName)) {
        // A name Qt cannot write as it is: the text goes to a temporary file, moved there at the end.
        auto file = std::make_unique<QTemporaryFile>();
        if (!folderOfPathExists(fileName))
            m_error = QStringLiteral("Não foi possível escrever %1: %2").arg(where(fileName), systemErrorText(ENOENT));
        else if (!file->open())
            m_error = QStringLiteral("Não foi possível escrever %1: %2").arg(where(fileName), portugueseSystemText(file->errorString()));
        m_device = std::move(file);
    } else {
        auto file = std::make_unique<QSaveFile>(fileName);
        if (!file->open(QIODevice::WriteOnly))
            m_error = QStringLiteral("Não foi possível escrever %1: %2").arg(where(fileName), portugueseSystemText(file->errorString()));
        m_device = std::move(file);
    }
    m_stream = std::make_unique<QTextStream>(m_device.get());
    m_stream->setEncoding(QStringConverter::Utf8);
}

TextOutput::~TextOutput()
{
    if (auto* save = qobject_cast<QSaveFile*>(m_device.get()); save && save->isOpen())
        save->cancelWriting();
}

QString TextOutput::finish(bool succeeded)
{
    if (!m_error.isEmpty())
        return m_error;
    m_stream->flush();
    QString why;
    if (auto* save = qobject_cast<QSaveFile*>(m_device.get())) {
        if (!succeeded) {
            save->cancelWriting();
            return {};
        }
        if (m_stream->status() != QTextStream::Ok || !save->commit())
            why = portugueseSystemText(save->errorString());
    } else if (auto* staged = qobject_cast<QTemporaryFile*>(m_device.get())) {
        if (!succeeded)
            return {};
        if (m_stream->status() != QTextStream::Ok || !staged->flush())
            why = portugueseSystemText(staged->errorString());
        else
            why = installFile(staged->fileName(), m_name);
    } else {
        auto* file = static_cast<QFile*>(m_device.get());
        errno = 0;
        const bool flushed = file->flush() && (!isStandardOutput(m_name) || std::fflush(stdout) == 0);
        if (!flushed || m_stream->status() != QTextStream::Ok || file->error() != QFileDevice::NoError)
            why = errno ? systemErrorText(errno) : portugueseSystemText(file->errorString());
    }
    if (why.isEmpty())
        return {};
    return QStringLiteral("Não foi possível escrever %1: %2").arg(where(m_name), why);
}

QString copyToDestination(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return portugueseSystemText(in.errorString());
    const QByteArray bytes = in.readAll();
    std::FILE* out = isStandardOutput(destination) ? stdout : std::fopen(QFile::encodeName(destination).constData(), "wb");
    if (!out)
        return QStringLiteral("Não foi possível escrever %1: %2").arg(where(destination), systemErrorText(errno));
    errno = 0;
    bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size());
    ok = std::fflush(out) == 0 && ok;
    const int error = errno;
    if (out != stdout)
        ok = std::fclose(out) == 0 && ok;
    if (ok)
        return {};
    return QStringLiteral("Não foi possível escrever %1: %2").arg(where(destination), systemErrorText(error ? error : EIO));
}

int makeFileFor(const QString& destination, const std::function<int(const QString& file)>& make)
{
    if (!needsCopyOut(destination))
        return make(destination);
    QTemporaryDir staging;
    if (!staging.isValid()) {
        showStandardError(QStringLiteral("Não foi possível criar uma pasta temporária: %1").arg(portugueseSystemText(staging.errorString())));
        return Failure;
    }
    const QString file = staging.filePath(QStringLiteral("arquivo"));
    const int code = make(file);
    if (!QFileInfo::exists(file))
        return code;
    if (const QString error = copyToDestination(file, destination); !error.isEmpty()) {
        showStandardError(error);
        return Failure;
    }
    return code;
}

} // namespace livros::cli
