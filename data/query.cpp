#include "data/query.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_client.h"
#include "data/value_text.h"

namespace livros::data {

Query::Query(Connection& connection, const QString& name) : m_connection(connection), m_name(name) {}
Query::~Query() = default;

QString Query::name() const { return m_name; }

void Query::close()
{
    if (!m_cursor)
        return;
    auto cursor = std::move(m_cursor);
    cursor->close();
}

void Query::setSql(const QString& sql)
{
    setSql(sql, {});
}

void Query::setSql(const QString& sql, const QVariantList& parameters)
{
    close();
    m_sql = sql;
    m_parameters = parameters;
}

QString Query::sql() const { return m_sql; }

void Query::open()
{
    close();
    auto cursor = m_connection.openCursor(m_sql, m_parameters);
    m_eof = !cursor->fetch();
    m_cursor = std::move(cursor);
}

bool Query::active() const { return m_cursor != nullptr; }
bool Query::eof() const { return !m_cursor || m_eof; }

void Query::next()
{
    if (!m_cursor || m_eof)
        return;
    m_eof = !m_cursor->fetch();
}

QStringList Query::fieldNames() const
{
    QStringList names;
    if (m_cursor)
        for (const auto& c : m_cursor->columns())
            names << c.name;
    return names;
}

int Query::column(const QString& field) const
{
    if (!m_cursor)
        throw DbError(QStringLiteral("%1: operação impossível com o conjunto de dados fechado").arg(m_name));
    const int i = m_cursor->columnIndex(field.toUpper());
    if (i < 0)
        throw DbError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, field));
    return i;
}

// Past the last row (or on an empty result) every field reads as null, as an empty dataset does.
bool Query::isNull(const QString& field) const
{
    const int i = column(field);
    return m_eof || m_cursor->isNull(i);
}

QVariant Query::value(const QString& field) const
{
    const int i = column(field);
    return m_eof ? QVariant() : m_cursor->value(i);
}
QString Query::asString(const QString& field) const { return valueText(value(field)); }
QString Query::asExactNumber(const QString& field) const
{
    const int i = column(field);
    return m_eof || m_cursor->isNull(i) ? QString() : m_cursor->literal(i);
}
int Query::asInteger(const QString& field) const { return valueInteger(value(field)); }
double Query::asFloat(const QString& field) const { return valueDouble(value(field)); }
QDateTime Query::asDateTime(const QString& field) const { return valueDateTime(value(field)); }

} // namespace livros::data
