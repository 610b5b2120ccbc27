#pragma once
#include <QString>
#include <QStringList>

namespace livros::data {

// Splits an SQL script into statements at the ";" that stand outside quotes and comments.
QStringList splitSqlScript(const QString& script);

// Creates a database file and runs the statements of a script file (code page 1252 text) in it,
// through the client library (the embedded engine for a local path). `characterSet` is the
// database's default character set ("NONE", "WIN1252"). Throws DbError.
void createDatabaseFromScript(const QString& databasePath, const QString& scriptFile,
                              const QString& characterSet = QStringLiteral("NONE"),
                              const QString& vendorLib = QStringLiteral("gds32.dll"));

} // namespace livros::data
