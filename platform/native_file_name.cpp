#include "platform/native_file_name.h"
#include "platform/system_error_text.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace livros {

namespace {

constexpr char16_t kRawByteBase = 0xDC00;

// A unit that stands for a raw byte: U+DC80..U+DCFF on its own, not the second half of a
// surrogate pair (a character beyond U+FFFF, "📄", ends in such a unit too).
bool isRawByteAt(const QString& name, qsizetype i)
{
    const char16_t unit = name.at(i).unicode();
    return unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF && (i == 0 || !name.at(i - 1).isHighSurrogate());
}

// The length of the valid UTF-8 sequence at `i`, or 0 when the byte there starts none.
int validSequenceLength(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (at(i + k) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString decodeNativeName(const QByteArray& bytes)
{
    QString name;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = validSequenceLength(bytes, i);
        if (length == 0) {
            name.append(QChar(char16_t(kRawByteBase + static_cast<unsigned char>(bytes.at(i)))));
            ++i;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return name;
}

QByteArray encodeNativeName(const QString& name)
{
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isRawByteAt(name, i))
            continue;
        bytes.append(name.mid(start, i - start).toUtf8());
        if (i < name.size())
            bytes.append(char(name.at(i).unicode() - kRawByteBase));
        start = i + 1;
    }
    return bytes;
}

bool hasRawBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isRawByteAt(name, i))
            return true;
    }
    return false;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

bool folderOfPathExists(const QString& path)
{
    struct stat info {};
    return ::stat(folderOf(encodeNativeName(path)).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool makeFolder(const QString& folder)
{
    const QByteArray path = encodeNativeName(folder);
    struct stat info {};
    ::mkdir(path.constData(), 0777);
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool openForReading(QFile& file, const QString& path)
{
    if (!hasRawBytes(path)) {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly);
    }
    const int fd = ::open(encodeNativeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly); // fails, and gives the reason
    }
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

QString installFile(const QString& staged, const QString& target)
{
    QFile in(staged);
    if (!in.open(QIODevice::ReadOnly))
        return portugueseSystemText(in.errorString());
    const QByteArray targetBytes = encodeNativeName(target);
    QByteArray temporary = targetBytes + QByteArrayLiteral(".XXXXXX");
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return systemErrorText(errno);
    // mkstemp makes the file private; a new file gets what the user's umask gives, a replaced
    // one keeps its permissions.
    struct stat older {};
    mode_t mode = 0;
    if (::stat(targetBytes.constData(), &older) == 0) {
        mode = older.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    while (error == 0 && !in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        for (qsizetype written = 0; error == 0 && written < chunk.size();) {
            const ssize_t n = ::write(fd, chunk.constData() + written, size_t(chunk.size() - written));
            if (n < 0 && errno != EINTR)
                error = errno;
            else if (n > 0)
                written += n;
        }
    }
    if (error == 0 && in.error() != QFileDevice::NoError)
        error = EIO;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), targetBytes.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return systemErrorText(error);
    }
    return {};
}

} // namespace livros
