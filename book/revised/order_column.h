#pragma once

namespace livros::data {
class Connection;
}

namespace livros::revised {

// LIVROREVCONTR.ORDEM: the place of a line in its product's book (0 for the opening line). The
// lines of a product share one ID, so the stored order is what the report, the views and the
// build's check follow. A database from before the column gets it (INTEGER, nullable: books
// built before it keep NULL and are read in their former order) the first time a revised book
// is built or shown.
void ensureRevisedOrderColumn(data::Connection& connection);

} // namespace livros::revised
