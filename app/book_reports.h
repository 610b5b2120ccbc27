#pragma once
#include "app/run_mode.h"
#include "book/revised/movement_statement.h"
#include "book/revised/report_selection.h"

#include <QString>
#include <optional>

namespace livros::app {

// The report every book run prints, and the project files of the program folder.
inline constexpr char kBookReportName[] = "LivroContr";
inline constexpr char kClassicProjectFile[] = "rpt\\RelLivros.rav";

// The revised book a run mode builds or shows (DROGARIA and DROGARIAVIEW show the same book...);
// none in the classic mode.
std::optional<revised::RevisedMode> revisedBookOf(RunMode mode);

} // namespace livros::app
