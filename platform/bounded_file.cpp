#include "platform/bounded_file.h"

#include "platform/native_file_name.h"
#include "platform/system_error_text.h"

#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace livros {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("é uma pasta, não um arquivo");
    if (S_ISFIFO(mode))
        return QStringLiteral("é um pipe, não um arquivo comum");
    if (S_ISSOCK(mode))
        return QStringLiteral("é um socket, não um arquivo comum");
    return QStringLiteral("é um dispositivo, não um arquivo comum");
}

} // namespace

QString sizeText(qint64 bytes)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    if (bytes >= 1024 * 1024)
        return brazil.toString(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    if (bytes >= 1024)
        return brazil.toString(double(bytes) / 1024, 'f', 0) + QStringLiteral(" KB");
    return QStringLiteral("%1 bytes").arg(bytes);
}

QString readBoundedFile(const QString& path, qint64 maxBytes, QByteArray& out)
{
    out.clear();
    // Not blocking: opening a pipe for reading would otherwise wait for a writer.
    const int fd = ::open(encodeNativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return systemErrorText(errno);
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return systemErrorText(error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return kindOf(status.st_mode);
    }
    const auto tooLarge = [&](qint64 size) {
        return QStringLiteral("o arquivo tem %1 e o limite é %2").arg(sizeText(size), sizeText(maxBytes));
    };
    if (status.st_size > maxBytes) {
        ::close(fd);
        return tooLarge(status.st_size);
    }
    out.resize(qsizetype(status.st_size));
    qint64 done = 0;
    for (;;) {
        if (done == out.size()) {
            if (done > maxBytes)
                break;
            out.resize(qsizetype(std::min<qint64>(maxBytes + 1, done + 65536))); // a file that grows while read
        }
        const ssize_t got = ::read(fd, out.data() + done, size_t(out.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            out.clear();
            return systemErrorText(error);
        }
        if (got == 0)
            break;
        done += got;
    }
    ::close(fd);
    out.resize(qsizetype(done));
    if (done > maxBytes) {
        out.clear();
        return tooLarge(done);
    }
    return {};
}

} // namespace livros
