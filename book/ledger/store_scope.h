#pragma once
#include <QString>
#include <QStringList>

namespace livros::data {
class Query;
}

namespace livros::ledger {

// Whose movements a book counts. Entries and losses carry the store's CNPJ. Orders carry no
// store: when TABLAB holds several stores, a formula or drugstore item is the store's when its
// laboratory is one of the store's laboratories (all its TABLAB rows).
struct StoreScope {
    QString cnpj;
    QStringList laboratories; // every LABORATORIO of the store's TABLAB rows, as the server compares them
    bool severalStores = false;

    // Whether a formula or item made by `laboratory` belongs to the store. `whenOneStore`: what
    // counts when TABLAB holds one store or none: every formula (the classic book), or only those
    // of the store's laboratories (the revised books, whose lines carry the laboratory).
    enum class OneStore { EveryLaboratory, StoreLaboratories };
    bool owns(const QString& laboratory, bool laboratoryKnown, OneStore whenOneStore) const;
};

// The store's TABLAB rows, read with `query`. Database errors propagate.
StoreScope readStoreScope(data::Query& query, const QString& cnpj);

} // namespace livros::ledger
