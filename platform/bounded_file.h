#pragma once
#include <QByteArray>
#include <QString>

namespace livros {

// Reads the whole of a file that the program takes as input (a map to check, a report project,
// a configuration file): it must be a regular file of at most `maxBytes`. A folder, a device
// (/dev/zero), a pipe or a socket is refused without reading (a pipe would block for ever, a
// device would never end), and so is a file larger than the limit, with its size and the limit.
// Returns the reason in Portuguese, or empty with the bytes in `out`. The name may hold bytes
// that are not UTF-8 (native_file_name.h).
QString readBoundedFile(const QString& path, qint64 maxBytes, QByteArray& out);

// "1,5 MB", "300 KB", "12 bytes": a size as the messages give it.
QString sizeText(qint64 bytes);

} // namespace livros
