#pragma once
#include <QString>

namespace livros {

// Qt warns "QStandardPaths: XDG_RUNTIME_DIR not set" on every run where the session sets no
// runtime folder (a scheduled job, su, a service) and then uses /tmp/runtime-<user>. This sets
// XDG_RUNTIME_DIR to that same private folder first (made with mode 0700 when missing), so the
// programs run quietly. Nothing changes when it is set, or when that folder is not ours and
// private. Call before the application object is created. Returns the folder in use.
QString prepareRuntimeDirectory();

} // namespace livros
