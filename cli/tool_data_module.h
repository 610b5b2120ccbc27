#pragma once
#include <QString>
#include <memory>

namespace livros::data {
class TDM;
}

namespace livros::cli {

// The data module as the window creates it (QUILMARA.INI of the program folder, the connection
// path file, both connections pointed at the configured server), for a run that must not go on
// without its configuration: a missing or unreadable file is reported and gives no module.
std::unique_ptr<data::TDM> createToolDataModule();

// What the tool says about QUILMARA.INI when it names no server: the file read, and why its
// server line did not count (none, a mistyped key). Empty when the key is there, with a server or
// with a blank value (the embedded default, chosen on purpose).
QString serverLineNote(const QString& iniPath, const QByteArray& contents);

} // namespace livros::cli
