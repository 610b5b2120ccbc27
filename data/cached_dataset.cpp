#include "data/cached_dataset.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/firebird_client.h"
#include "data/value_text.h"
#include "platform/book_locale.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"

#include <QLocale>
#include <algorithm>

namespace livros::data {

// ---------------------------------------------------------------------------------------------
// Field

QVariant Field::value() const
{
    return m_dataset->currentValue(m_dataset->fieldIndex(m_name));
}

bool Field::isNull() const { return value().isNull(); }
QString Field::asString() const { return valueText(value()); }
QDate Field::asDate() const { return valueDateTime(value()).date(); }

QString Field::displayText() const
{
    return m_dataset->textOf(m_dataset->fieldIndex(m_name), value());
}

void Field::setValue(const QVariant& value)
{
    m_dataset->setCurrentValue(m_dataset->fieldIndex(m_name), value);
}

namespace {
// A date in the Brazilian short form dd/mm/yyyy; a two-digit year is placed in the window of
// 50 years before to 49 years after the current year.
QDate parseShortDate(const QString& text)
{
    const QLocale& locale = bookLocale();
    QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text, format);
    if (date.isValid())
        return date;
    format.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    date = locale.toDate(text, format);
    if (!date.isValid())
        return {};
    const int current = QDate::currentDate().year();
    const int yy = date.year() % 100;
    int year = (current - 50) / 100 * 100 + yy;
    if (year < current - 50)
        year += 100;
    return QDate(year, date.month(), date.day());
}
} // namespace

void Field::setAsString(const QString& text)
{
    const int column = m_dataset->fieldIndex(m_name);
    if (text.isEmpty()) {
        m_dataset->setCurrentValue(column, QVariant());
        return;
    }
    switch (m_dataset->m_fieldTypes[size_t(column)]) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDate date = parseShortDate(text);
        if (!date.isValid())
            throw DbError(QStringLiteral("'%1' não é uma data válida").arg(text));
        m_dataset->setCurrentValue(column, date);
        return;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        m_dataset->setCurrentValue(column, valueInteger(text));
        return;
    case QMetaType::Double:
        m_dataset->setCurrentValue(column, valueDouble(text));
        return;
    default:
        m_dataset->setCurrentValue(column, text);
    }
}

// ---------------------------------------------------------------------------------------------
// CachedDataset

CachedDataset::CachedDataset(const QString& name, Connection& connection, const QString& commandText)
    : m_name(name), m_connection(connection), m_commandText(commandText)
{
}

CachedDataset::~CachedDataset() = default;

void CachedDataset::setCommandText(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    const QString trimmed = text.mid(start);
    if (trimmed == m_commandText)
        return;
    if (active())
        throw DbError(QStringLiteral("%1: operação impossível com o conjunto de dados aberto").arg(m_name));
    m_commandText = trimmed;
}

void CachedDataset::setDisplayFormat(const QString& field, const QString& picture)
{
    m_displayFormats.insert(field.toUpper(), picture);
}

void CachedDataset::fetch()
{
    auto opened = m_connection.openCursor(m_commandText);
    ResultCursor& cursor = *opened;
    const auto& columns = cursor.columns();
    QStringList names;
    std::vector<QMetaType::Type> types;
    for (int i = 0; i < int(columns.size()); ++i) {
        names << columns[size_t(i)].name;
        types.push_back(cursor.valueType(i));
    }
    std::vector<Row> rows;
    const bool keepLiterals = !m_updateTable.isEmpty();
    while (cursor.fetch()) {
        Row row;
        row.values.reserve(columns.size());
        for (int i = 0; i < int(columns.size()); ++i) {
            row.values.push_back(cursor.value(i));
            if (keepLiterals)
                row.literals.push_back(cursor.literal(i));
        }
        rows.push_back(std::move(row));
    }
    cursor.close();
    m_fieldNames = names;
    m_fieldTypes = std::move(types);
    m_rows = std::move(rows);
}

void CachedDataset::open()
{
    if (active())
        return;
    fetch();
    m_current = 0;
    m_changeLog.clear();
    m_state = State::Browse;
}

void CachedDataset::close()
{
    m_rows.clear();
    m_changeLog.clear();
    m_editing = Change();
    m_current = 0;
    m_state = State::Inactive;
}

void CachedDataset::requireActive() const
{
    if (!active())
        throw DbError(QStringLiteral("%1: operação impossível com o conjunto de dados fechado").arg(m_name));
}

void CachedDataset::refresh()
{
    requireActive();
    if (hasPendingChanges())
        throw DbError(QStringLiteral("%1: é preciso gravar as alterações antes de reler os dados").arg(m_name));
    const int keep = m_current;
    fetch();
    m_current = m_rows.empty() ? 0 : std::min(keep, int(m_rows.size()) - 1);
    m_state = State::Browse;
}

void CachedDataset::first() { m_current = 0; }
void CachedDataset::next()
{
    if (m_current < int(m_rows.size()))
        ++m_current;
}
bool CachedDataset::eof() const { return m_current >= int(m_rows.size()); }

bool CachedDataset::hasField(const QString& name) const { return m_fieldNames.contains(name.toUpper()); }

int CachedDataset::fieldIndex(const QString& name) const
{
    const int i = int(m_fieldNames.indexOf(name.toUpper()));
    if (i < 0) {
        if (!active())
            requireActive();
        throw DbError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, name));
    }
    return i;
}

QMetaType::Type CachedDataset::fieldType(const QString& name) const { return m_fieldTypes[size_t(fieldIndex(name))]; }

QVariant CachedDataset::value(int row, const QString& field) const
{
    const int column = fieldIndex(field);
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    return m_rows[size_t(row)].values[size_t(column)];
}

QString CachedDataset::displayText(int row, const QString& field) const
{
    return textOf(fieldIndex(field), value(row, field));
}

QString CachedDataset::textOf(int column, const QVariant& value) const
{
    const auto picture = m_displayFormats.constFind(m_fieldNames.at(column));
    if (picture != m_displayFormats.constEnd() && !value.isNull())
        return formatNumber(valueDouble(value), *picture);
    return valueText(value);
}

QVariant CachedDataset::currentValue(int column) const
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return m_editing.newValues[size_t(column)];
    if (m_current < 0 || m_current >= int(m_rows.size()))
        return {};
    return m_rows[size_t(m_current)].values[size_t(column)];
}

void CachedDataset::setCurrentValue(int column, const QVariant& value)
{
    requireActive();
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("%1: o conjunto de dados não está em edição nem em inclusão").arg(m_name));
    m_editing.newValues[size_t(column)] = value;
    m_editing.assigned[size_t(column)] = true;
}

void CachedDataset::edit()
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    const size_t n = size_t(m_fieldNames.size());
    m_editing = Change();
    m_editing.assigned.assign(n, false);
    if (m_rows.empty() || m_current >= int(m_rows.size())) {
        m_editing.inserted = true;
        m_editing.newValues.assign(n, QVariant());
        m_state = State::Insert;
        return;
    }
    m_editing.row = m_current;
    m_editing.newValues = m_rows[size_t(m_current)].values;
    m_state = State::Edit;
}

void CachedDataset::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert)
        m_state = State::Browse;
    m_editing = Change();
}

void CachedDataset::post()
{
    requireActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    Change change = std::move(m_editing);
    m_editing = Change();
    if (m_state == State::Insert) {
        Row row;
        row.values = change.newValues;
        row.literals.assign(change.newValues.size(), QString());
        m_rows.push_back(std::move(row));
        m_current = int(m_rows.size()) - 1;
        change.row = m_current;
        m_changeLog.push_back(std::move(change));
    } else {
        Row& row = m_rows[size_t(change.row)];
        if (change.newValues != row.values) {
            const std::vector<QVariant> newValues = change.newValues;
            // A row with a change still pending keeps its first old values and its kind.
            auto pending = std::find_if(m_changeLog.begin(), m_changeLog.end(),
                                        [&](const Change& c) { return c.row == change.row; });
            if (pending != m_changeLog.end()) {
                for (size_t i = 0; i < change.assigned.size(); ++i)
                    pending->assigned[i] = pending->assigned[i] || change.assigned[i];
                pending->newValues = newValues;
            } else {
                change.oldValues = row.values;
                change.oldLiterals = row.literals;
                m_changeLog.push_back(std::move(change));
            }
            row.values = newValues;
        }
    }
    m_state = State::Browse;
    if (afterPost)
        afterPost();
}

namespace {
QString literalOf(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return sqlLiteral(v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QTime:
        return sqlLiteral(v.toTime().toString(QStringLiteral("HH:mm:ss.zzz")));
    case QMetaType::QDateTime:
        return sqlLiteral(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(v.toLongLong());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default:
        return sqlLiteral(v.toString());
    }
}
} // namespace

QString CachedDataset::statementFor(const Change& change) const
{
    if (change.inserted) {
        QStringList columns, values;
        for (size_t i = 0; i < change.assigned.size(); ++i) {
            if (!change.assigned[i])
                continue;
            columns << m_fieldNames.at(qsizetype(i));
            values << (change.newValues[i].isNull() ? QStringLiteral("NULL") : literalOf(change.newValues[i]));
        }
        return QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(m_updateTable, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    }
    QStringList sets, where;
    for (size_t i = 0; i < change.newValues.size(); ++i) {
        const QString& column = m_fieldNames.at(qsizetype(i));
        if (change.newValues[i] != change.oldValues[i])
            sets << column + QStringLiteral(" = ")
                    + (change.newValues[i].isNull() ? QStringLiteral("NULL") : literalOf(change.newValues[i]));
        const QMetaType::Type type = m_fieldTypes[i];
        if (type == QMetaType::QByteArray)
            continue; // blobs identify no row
        if (change.oldValues[i].isNull())
            where << column + QStringLiteral(" IS NULL");
        else
            where << column + QStringLiteral(" = ")
                     + (i < change.oldLiterals.size() && !change.oldLiterals[i].isEmpty() ? change.oldLiterals[i]
                                                                                          : literalOf(change.oldValues[i]));
    }
    if (sets.isEmpty())
        return {};
    return QStringLiteral("update %1 set %2 where %3")
        .arg(m_updateTable, sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" and ")));
}

int CachedDataset::applyUpdates()
{
    if (m_changeLog.empty() || m_updateTable.isEmpty())
        return 0;
    QStringList statements;
    std::vector<size_t> indexes;
    std::vector<Change> kept;
    for (size_t i = 0; i < m_changeLog.size(); ++i) {
        const QString sql = statementFor(m_changeLog[i]);
        if (sql.isEmpty())
            continue;
        statements << sql;
        indexes.push_back(i);
    }
    const std::vector<int> results = m_connection.run([&](Attachment& a) { return executeInOneTransaction(a, statements); });
    int failed = 0;
    for (size_t k = 0; k < indexes.size(); ++k) {
        if (results[k] == 1)
            continue;
        ++failed;
        kept.push_back(m_changeLog[indexes[k]]);
    }
    m_changeLog = std::move(kept);
    return failed;
}

} // namespace livros::data
