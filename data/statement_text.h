#pragma once
#include <QString>
#include <QVariantList>

namespace livros::data {

// The statement with its values written in place of its "?" placeholders, as literals: for the
// messages that show a statement that failed, never to run.
QString statementWithValues(const QString& sql, const QVariantList& values);

} // namespace livros::data
