#include "book/revised/stored_book.h"

#include "book/revised/order_column.h"
#include "book/revised/report_selection.h"
#include "data/data_module.h"

namespace livros::revised {

bool storedBookIsOfAnotherMode(data::TDM& dm, RevisedMode mode, const QString& cnpj)
{
    // Every showing of a stored book asks this first: the selection it then runs reads ORDEM.
    ensureRevisedOrderColumn(dm.sqlcon1);
    data::Query query(dm.sqlcon1, QStringLiteral("StoredBookQuery"));
    query.setSql(QStringLiteral("select count(*) ALL_LINES, count(case when ") + modeLinesCondition(mode)
                     + QStringLiteral(" then 1 end) MODE_LINES from LIVROREVCONTR where CNPJ = cast(? as varchar(255))"),
                 {cnpj});
    query.open();
    const int allLines = query.asInteger(QStringLiteral("ALL_LINES"));
    const int modeLines = query.asInteger(QStringLiteral("MODE_LINES"));
    query.close();
    return allLines > 0 && modeLines == 0;
}

QString noBookOfThisModeMessage(const QString& store)
{
    return QStringLiteral("Nenhum livro deste tipo montado para a loja ") + store + QLatin1Char('.');
}

} // namespace livros::revised
