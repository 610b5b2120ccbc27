#pragma once
#include "book/revised/movement_statement.h"

#include <QString>

namespace livros::revised {

// The project file that prints a revised book: "rpt\RelPF.rav" for the SIPROQUIM report, else
// "rpt\RelLivrosRev.rav" (relative to the program folder).
QString revisedProjectFile(RevisedMode mode);

// The condition that keeps the LIVROREVCONTR lines a mode wrote: drugstore lines carry the
// registration, SIPROQUIM lines a DCB that is the "TPN" supplier code, compounding lines the rest.
// The table holds one book per store, of whichever mode built it last.
QString modeLinesCondition(RevisedMode mode);

// The selection of a store's revised book lines of the mode for the report (the command text of
// SQLDS_LivroRevContr), the CNPJ as an SQL text literal at its end; no ordering clause. Each line
// carries its store: CNPJ and the laboratory of TABLAB, which head the printed pages.
QString revisedBookSelection(RevisedMode mode, const QString& cnpj);

} // namespace livros::revised
