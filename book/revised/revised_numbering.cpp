#include "book/revised/revised_numbering.h"

#include "data/query.h"

namespace livros::revised {

RevisedBookIds::RevisedBookIds(data::Query& query)
{
    query.close();
    query.setSql(QStringLiteral("select coalesce(max(ID), 0) LAST_ID from LIVROREVCONTR"));
    query.open();
    m_last = query.asInteger(QStringLiteral("LAST_ID"));
    query.close();
}

} // namespace livros::revised
