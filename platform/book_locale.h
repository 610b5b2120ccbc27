#pragma once
#include <QLocale>

namespace livros {

// The regional conventions of every text the books store, show or print: Brazilian (dates
// dd/mm/yyyy, decimal comma, thousands dot), whatever the machine's own settings. Scheduled
// jobs, services and servers often run with LANG=C, and a register book must read the same
// wherever it was built.
const QLocale& bookLocale();

} // namespace livros
