#include "cli/install_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace livros::cli {

QString findShippedFolder(const QString& name)
{
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + name,
#ifdef LIVROS_SOURCE_DIR
        QStringLiteral(LIVROS_SOURCE_DIR) + QLatin1Char('/') + name,
#endif
    };
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir())
            return QDir(c).absolutePath();
    return {};
}

QString findWindowProgram()
{
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& c : {here + QStringLiteral("/livros"), here + QStringLiteral("/../app/livros")})
        if (QFileInfo(c).isExecutable())
            return QFileInfo(c).absoluteFilePath();
    return {};
}

} // namespace livros::cli
