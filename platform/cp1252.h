#pragma once
#include <QByteArray>
#include <QString>

namespace livros {

// Windows Latin (code page 1252): every text crosses the database boundary in it, since the
// suite's other programs read and write the same tables with single-byte text.
QByteArray toCp1252(QStringView text);          // characters outside the code page become '?'
QString fromCp1252(const char* data, qsizetype size);
inline QString fromCp1252(const QByteArray& bytes) { return fromCp1252(bytes.constData(), bytes.size()); }
bool representableInCp1252(QChar c);

// A system or server message whose bytes may be either: the texts of the operating system come in
// the workstation's UTF-8 ("diretório"), those quoting database data in code page 1252. Bytes
// that read as UTF-8 are taken as UTF-8, anything else as code page 1252.
QString fromUtf8OrCp1252(const QByteArray& bytes);

} // namespace livros
