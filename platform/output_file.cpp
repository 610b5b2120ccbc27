#include "platform/output_file.h"

#include "platform/native_file_name.h"
#include "platform/system_error_text.h"

#include "platform/suite_paths.h"

#include <QDir>
#include <QFile>

#include <climits>
#include <cstdlib>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace livros {
namespace {

// Every byte, resumed after a signal; 0 or the error number.
int writeAll(int fd, const char* data, qsizetype size)
{
    for (qsizetype written = 0; written < size;) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        written += n;
    }
    return 0;
}

// The permissions a replaced file had, or what the user's umask gives a new one.
mode_t permissionsFor(const QByteArray& target)
{
    struct stat older {};
    if (::stat(target.constData(), &older) == 0 && S_ISREG(older.st_mode))
        return older.st_mode & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputKind outputKind(const QString& name)
{
    if (name == QLatin1String("-"))
        return OutputKind::StandardOutput;
    struct stat info {};
    if (::stat(encodeNativeName(name).constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return OutputKind::PassThrough;
    return OutputKind::RegularFile;
}

QString issuedArchiveFolder() { return QDir(suiteRoot()).filePath(QStringLiteral("Livros/emitidos")); }

bool isInsideIssuedArchive(const QString& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(encodeNativeName(issuedArchiveFolder()).constData(), resolved))
        return false; // no archive yet
    const QByteArray archive = QByteArray(resolved) + '/';
    // The deepest folder of the path that exists, resolved, with the rest of the path after it.
    QByteArray folder = folderOf(encodeNativeName(QDir::isAbsolutePath(path) ? path : QDir::current().filePath(path)));
    QByteArray rest;
    while (!::realpath(folder.constData(), resolved)) {
        if (folder == "/" || folder == ".")
            return false;
        rest.prepend('/' + folder.mid(folder.lastIndexOf('/') + 1));
        folder = folderOf(folder);
    }
    return (QByteArray(resolved) + rest + '/').startsWith(archive);
}

OutputFile::OutputFile(const QString& name, Place place) : m_name(name), m_kind(outputKind(name)), m_place(place) {}

OutputFile::~OutputFile() { discard(); }

QString OutputFile::precheck() const
{
    const QByteArray path = encodeNativeName(m_name);
    switch (m_kind) {
    case OutputKind::StandardOutput:
        return {};
    case OutputKind::PassThrough:
        return ::access(path.constData(), W_OK) == 0 ? QString() : systemErrorText(errno);
    case OutputKind::RegularFile:
        break;
    }
    if (m_name.trimmed().isEmpty())
        return QStringLiteral("nenhum nome de arquivo foi dado");
    if (m_place == Place::Anywhere && isInsideIssuedArchive(m_name))
        return QStringLiteral("a pasta dos livros emitidos guarda cada arquivo como foi emitido e não recebe outros; "
                              "escolha outra pasta");
    struct stat info {};
    if (::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return QStringLiteral("é uma pasta");
    const QByteArray folder = folderOf(path);
    if (::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return QStringLiteral("a pasta \"%1\" não existe").arg(decodeNativeName(folder));
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return systemErrorText(errno);
    return {};
}

bool OutputFile::fail(int error)
{
    m_error = systemErrorText(error ? error : EIO);
    return false;
}

bool OutputFile::open()
{
    m_opened = true;
    switch (m_kind) {
    case OutputKind::StandardOutput:
        std::fflush(stdout); // what the program printed before comes first
        m_fd = STDOUT_FILENO;
        return true;
    case OutputKind::PassThrough:
        m_fd = ::open(encodeNativeName(m_name).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        return m_fd >= 0 || fail(errno);
    case OutputKind::RegularFile:
        break;
    }
    if (const QString why = precheck(); !why.isEmpty()) {
        m_error = why;
        return false;
    }
    const QByteArray target = encodeNativeName(m_name);
    QByteArray temporary = target + QByteArrayLiteral(".XXXXXX");
    m_fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (m_fd < 0)
        return fail(errno);
    m_temporary = temporary;
    // mkstemp makes the file private; it gets the permissions the replaced file had.
    if (::fchmod(m_fd, permissionsFor(target)) != 0)
        return fail(errno);
    return true;
}

bool OutputFile::write(const QByteArray& bytes)
{
    if (!m_error.isEmpty() || m_finished)
        return false;
    if (!m_opened && !open())
        return false;
    if (const int error = writeAll(m_fd, bytes.constData(), bytes.size()); error != 0)
        return fail(error);
    m_size += bytes.size();
    m_hash.addData(bytes);
    return true;
}

QString OutputFile::finishWriting()
{
    if (m_error.isEmpty() && !m_opened)
        open(); // nothing was written: the output is made empty
    if (!m_error.isEmpty() || m_finished)
        return m_error;
    m_finished = true;
    if (m_kind == OutputKind::StandardOutput)
        return {};
    const int fd = m_fd;
    m_fd = -1;
    if (m_kind == OutputKind::PassThrough) {
        if (::close(fd) != 0)
            fail(errno);
        return m_error;
    }
    int error = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        fail(error);
        return m_error;
    }
    // Read back: the disk must hold every byte that was written, and only those.
    const FileDigest written = fileDigest(decodeNativeName(m_temporary));
    if (written.size != m_size || written.sha256 != sha256())
        m_error = QStringLiteral("o arquivo gravado ficou incompleto (%1 de %2 bytes); o disco pode estar cheio")
                      .arg(qMax<qint64>(written.size, 0))
                      .arg(m_size);
    return m_error;
}

QString OutputFile::install()
{
    if (m_kind != OutputKind::RegularFile || m_temporary.isEmpty())
        return m_error;
    if (!m_error.isEmpty())
        return m_error;
    if (::rename(m_temporary.constData(), encodeNativeName(m_name).constData()) != 0) {
        fail(errno);
        return m_error;
    }
    m_temporary.clear();
    return {};
}

QString OutputFile::commit()
{
    if (const QString why = finishWriting(); !why.isEmpty())
        return why;
    return install();
}

void OutputFile::discard()
{
    if (m_fd >= 0 && m_kind != OutputKind::StandardOutput)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

QString OutputFile::sha256() const { return QString::fromLatin1(m_hash.result().toHex()); }

QString OutputFile::temporaryName() const { return decodeNativeName(m_temporary); }

QString writeOutputFile(const QString& name, const QByteArray& content)
{
    OutputFile file(name);
    file.write(content);
    return file.commit();
}

FileDigest fileDigest(const QString& path)
{
    FileDigest digest;
    QFile file;
    if (!openForReading(file, path))
        return digest;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return digest;
    digest.sha256 = QString::fromLatin1(hash.result().toHex());
    digest.size = file.size();
    return digest;
}

} // namespace livros
