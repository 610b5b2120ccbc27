#pragma once

namespace livros::data {
class Query;
}

namespace livros::revised {

// The ID numbers of a revised build's lines. Every line of one product shares one number; each
// product with lines takes the next one after the largest ID in LIVROREVCONTR when the build
// started writing (after the delete of the store's previous lines).
class RevisedBookIds {
public:
    // Reads the largest ID in the table, in the build's transaction.
    explicit RevisedBookIds(data::Query& query);
    // The ID of the next product's lines.
    int nextRevisedBookId() { return ++m_last; }

private:
    int m_last = 0;
};

} // namespace livros::revised
