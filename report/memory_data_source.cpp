#include "report/memory_data_source.h"

#include "platform/book_locale.h"
#include "platform/number_format.h"
#include "report/report_error.h"

#include <QDate>
#include <QLocale>

namespace livros::report {

MemoryDataSource::MemoryDataSource(QStringList fieldNames) : m_fieldNames(std::move(fieldNames)) {}

void MemoryDataSource::addRow(const QVariantList& values)
{
    QVariantList row = values;
    while (row.size() < m_fieldNames.size())
        row.append(QVariant());
    m_rows.push_back(row);
}

void MemoryDataSource::setDisplayFormat(const QString& field, const QString& picture)
{
    m_displayFormats.insert(field.toUpper(), picture);
}

void MemoryDataSource::open()
{
    if (!m_active)
        ++m_openCount;
    m_active = true;
}

void MemoryDataSource::close() { m_active = false; }

int MemoryDataSource::rowCount() const { return m_active ? int(m_rows.size()) : 0; }

int MemoryDataSource::column(const QString& field) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw ReportError(QStringLiteral("Campo desconhecido: %1").arg(field));
}

QVariant MemoryDataSource::value(int row, const QString& field) const
{
    const int c = column(field);
    if (row < 0 || row >= rowCount())
        return QVariant();
    return m_rows.at(size_t(row)).at(c);
}

QString MemoryDataSource::displayText(int row, const QString& field) const
{
    const QVariant v = value(row, field);
    if (v.isNull())
        return QString();
    const QString picture = m_displayFormats.value(field.toUpper());
    if (!picture.isEmpty())
        return formatNumber(v.toDouble(), picture);
    if (v.typeId() == QMetaType::QDate)
        return bookLocale().toString(v.toDate(), QLocale::ShortFormat);
    return v.toString();
}

} // namespace livros::report
