#include "platform/runtime_dir.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace livros {

QString prepareRuntimeDirectory()
{
#ifdef Q_OS_WIN
    return {};
#else
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        return qEnvironmentVariable("XDG_RUNTIME_DIR");
    const uid_t uid = ::geteuid();
    const passwd* user = ::getpwuid(uid);
    const QString name = user ? QFile::decodeName(user->pw_name) : QString::number(uid);
    const QString folder = QDir::tempPath() + QStringLiteral("/runtime-") + name;
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid || (info.st_mode & 077) != 0)
        return {};
    qputenv("XDG_RUNTIME_DIR", path);
    return folder;
#endif
}

} // namespace livros
