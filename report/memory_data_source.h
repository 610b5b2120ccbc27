#pragma once
#include "report/report_data_source.h"

#include <QHash>
#include <vector>

namespace livros::report {

// A data source over rows held in memory. Like a cached dataset it shows its rows only while
// open; the rows themselves stay between runs. Used for reports over data the program computes
// itself and by the tests of the layouts.
class MemoryDataSource : public ReportDataSource {
public:
    explicit MemoryDataSource(QStringList fieldNames);

    // Values in the order of the field names; missing trailing values are null.
    void addRow(const QVariantList& values);
    void clearRows() { m_rows.clear(); }
    // A number picture such as "###,###,##0.00000" for the field's display text.
    void setDisplayFormat(const QString& field, const QString& picture);

    bool active() const override { return m_active; }
    void open() override;
    void close() override;
    int rowCount() const override;
    QStringList fieldNames() const override { return m_fieldNames; }
    QVariant value(int row, const QString& field) const override;
    QString displayText(int row, const QString& field) const override;

    int openCount() const { return m_openCount; }

private:
    int column(const QString& field) const;

    QStringList m_fieldNames;
    QHash<QString, QString> m_displayFormats; // upper-case field name -> picture
    std::vector<QVariantList> m_rows;
    bool m_active = false;
    int m_openCount = 0;
};

} // namespace livros::report
