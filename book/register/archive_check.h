#pragma once
#include "book/register/register_book_records.h"

#include <QString>
#include <QStringList>

namespace livros::registerbook {

// The archive folder of a store's book kind, inside the suite folder, and its path relative to
// the suite folder as the records keep it.
QString archiveFolder(const QString& cnpj, RegisterBookKind kind);
QString archiveRelativeFolder(const QString& cnpj, RegisterBookKind kind);
// An archived file as recorded (relative to the suite folder) made absolute.
QString archivedFilePath(const QString& recorded);

// Whether an issued period's archived file is still what was issued: present, of the recorded
// size and SHA-256. Empty when it is; else what is wrong and what to do, naming the file.
QString archivedFileProblem(const IssuedPeriod& period);

// Files of a book kind's archive folder without a record: an issue interrupted between the file
// and the record (or a file put there by hand). A temporary file of an issue that was recorded but
// not yet renamed is renamed to its archive name; any other is moved aside into the folder
// "sem-registro", so that it never blocks its period. Returns one notice per file handled.
QStringList recoverUnrecordedFiles(const std::vector<IssuedPeriod>& issued, const QString& cnpj, RegisterBookKind kind);

// The folder, inside a kind's archive folder, that keeps the files moved aside.
inline QString unrecordedFolderName() { return QStringLiteral("sem-registro"); }

} // namespace livros::registerbook
