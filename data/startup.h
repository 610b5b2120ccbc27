#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

namespace livros::data {

// The key of the server line of QUILMARA.INI, columns 1 to 48.
inline constexpr char kServerKey[] = "IP DO SERVIDOR CENTRAL.........................:";
// The connection path file, naming the folder of the database client library.
inline constexpr char kConnectionPathFile[] = "c:\\quilmara\\CaminhoGDS.txt";
inline constexpr char kMainDatabase[] = ":C:\\quilmara\\dados\\quilmara.bd";
inline constexpr char kInterfaceDatabase[] = ":C:\\quilmara\\interfac\\quilmara.bd";

// Drops leading and trailing space characters (code 32 only: tabs stay).
QString trimSpaces(const QString& text);

// The central server address from the contents of QUILMARA.INI: every line whose first 48
// characters equal the key gives TrimSpaces(columns 50 to 109); the last such line wins.
QString serverAddressFromIni(const QByteArray& contents);

// The first line of the connection path file, at most 100 characters.
QString firstLineOfPathFile(const QByteArray& contents);

// The client library for a folder text: empty when the folder is empty (keep the default),
// else the folder, a "\" when it lacks one and is shorter than 100 characters, and "GDS32.DLL".
QString vendorLibForFolder(const QString& folder);

// Splits a file into lines at CR LF, LF or a lone CR; a byte-order mark at the start is dropped.
QList<QByteArray> textFileLines(const QByteArray& contents);

} // namespace livros::data
