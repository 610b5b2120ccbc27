#include "app/in_use_marker.h"

#include "platform/cp1252.h"
#include "platform/suite_paths.h"

#include <QFile>
#include <QLocale>

namespace livros::app {

void deleteInUseMarker()
{
    QFile::remove(mapSuitePath(QString::fromLatin1(kInUseMarker)));
}

bool writeInUseMarker(const QDateTime& now)
{
    const QLocale locale;
    const QString line = (locale.toString(now.date(), QLocale::ShortFormat) + u' '
                          + locale.toString(now.time(), QLocale::LongFormat)).left(60);
    QFile file(mapSuitePath(QString::fromLatin1(kInUseMarker)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(toCp1252(line) + "\r\n") >= 0;
}

} // namespace livros::app
