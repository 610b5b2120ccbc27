#pragma once
#include <QString>

namespace livros {

// The suite's installation folder: "C:\quilmara" on Windows; elsewhere the folder named by
// QUILMARA_HOME (default /opt/quilmara).
QString suiteRoot();

// Maps a Windows path of the suite ("C:\quilmara\...", any letter case) into the suite folder.
// Each component after the root is resolved without regard to letter case against what exists,
// so "C:\QUILMARA\Em_Uso.txt" and "c:\quilmara\CaminhoGDS.txt" meet in one folder. Other paths
// only have their backslashes turned into the platform's separator. On Windows: unchanged.
QString mapSuitePath(const QString& path);

// The folder of the program: the executable's folder ending in a separator, or the folder set
// with setProgramFolder (the command-line tool's --folder, tests).
QString programFolder();
void setProgramFolder(const QString& folder);

// Opens a file of the program folder or the suite by a name written with backslashes
// ("rpt\RelLivros.rav"): the local path, each component matched without regard to letter case
// when the exact name does not exist.
QString localPath(const QString& path);

} // namespace livros
