#pragma once
#include "book/register/register_book_records.h"

#include <QStringList>

namespace livros::registerbook {

// The store's books and their sheets as text lines, for the tool and the window: each book with
// its dates and sheets, then each issued period with its sheets, archived file and SHA-256, the
// days left unissued between periods, and each archived file that is missing or was altered
// (counted in `problems`).
QStringList registerBooksListing(const RegisterBookRecords& records, const QString& cnpj, int* problems = nullptr);

} // namespace livros::registerbook
