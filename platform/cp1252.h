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

} // namespace livros
