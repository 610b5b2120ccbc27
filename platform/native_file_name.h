#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

namespace livros {

// File names as the system gives them are bytes, not always UTF-8 (a folder copied from an old
// Latin-1 machine: "relat\xf3rio.pdf"). Qt decodes such bytes into U+FFFD and cannot give them
// back, so a file written under the decoded name would get another name. These functions keep
// every byte: each byte outside a valid UTF-8 sequence becomes the code unit U+DC00 + byte (which
// no valid UTF-8 text decodes to), and goes back to that byte.
QString decodeNativeName(const QByteArray& bytes);
QByteArray encodeNativeName(const QString& name);

// Whether a name holds bytes that Qt's own file functions would not give back.
bool hasRawBytes(const QString& name);

// Moves a finished file `staged` into place as `target` (a name that may hold raw bytes): copied
// beside the target under a temporary name and renamed over it, so that the target is either the
// older file or the whole new one. The new file gets the older one's permissions, or the usual
// ones. Returns the reason it could not be done, or empty; `staged` is left as it was.
QString installFile(const QString& staged, const QString& target);

// Whether the folder of a path (which may hold raw bytes) exists; "." for a bare name.
bool folderOfPathExists(const QString& path);
// The folder part of a native path: "." for a bare name, "/" for a name at the root.
QByteArray folderOf(const QByteArray& path);

// Makes one folder (a name that may hold raw bytes) inside a folder that exists, as mkdir does:
// never the folders above it. True when it exists afterwards.
bool makeFolder(const QString& folder);

// Opens a file (whose name may hold raw bytes) for reading.
bool openForReading(QFile& file, const QString& path);

} // namespace livros
