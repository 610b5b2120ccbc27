#include "data/statement_text.h"

#include "platform/sql_literal.h"

#include <QDate>

namespace livros::data {

QString statementWithValues(const QString& sql, const QVariantList& values)
{
    QString shown;
    shown.reserve(sql.size());
    bool quoted = false;
    qsizetype next = 0;
    for (const QChar c : sql) {
        if (c == u'\'')
            quoted = !quoted;
        if (c != u'?' || quoted || next >= values.size()) {
            shown += c;
            continue;
        }
        const QVariant& value = values[next++];
        if (!value.isValid() || value.isNull())
            shown += QStringLiteral("NULL");
        else if (value.typeId() == QMetaType::QDate)
            shown += sqlLiteral(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
        else if (value.typeId() == QMetaType::QString)
            shown += sqlLiteral(value.toString());
        else
            shown += value.toString();
    }
    return shown;
}

} // namespace livros::data
