#pragma once
#include <QString>
#include <QStringList>

namespace livros::app {

// What a run of the program does, decided by the first command-line argument.
enum class RunMode {
    Classic,             // no argument, or any text other than the six keywords
    Drogaria,            // revised book of drugstore medicines
    InsumosCompleto,     // revised book of compounding inputs
    Siproquim,           // revised report of controlled chemical products
    DrogariaView,        // view-only: preview the stored revised book, then close
    InsumosCompletoView,
    SiproquimView,
};

// The keyword compared whole and with letter case ("drogaria" is the classic mode).
RunMode runModeFromKeyword(const QString& firstArgument);
// From the program's arguments (the first is the program itself); further arguments are ignored.
RunMode runModeFromArguments(const QStringList& arguments);

bool isRevisedMode(RunMode mode);   // DROGARIA, INSUMOSCOMPLETO, SIPROQUIM
bool isViewOnlyMode(RunMode mode);  // the three ...VIEW modes

} // namespace livros::app
