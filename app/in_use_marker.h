#pragma once
#include <QDateTime>
#include <QString>

namespace livros::app {

// The suite's in-use marker, at a fixed path independent of the program folder.
inline constexpr char kInUseMarker[] = "C:\\QUILMARA\\Em_Uso.txt";
// The suite's synchroniser, which the close handling could start.
inline constexpr char kSynchroniser[] = "c:\\quilmara\\Orlisp.exe";

// Deletes the marker; a missing, read-only or locked file is ignored without a message.
void deleteInUseMarker();

// Rewrites the marker with one line: the time in the short date and long time form of the
// locale, at most 60 characters. False when the file cannot be written.
bool writeInUseMarker(const QDateTime& now);

} // namespace livros::app
