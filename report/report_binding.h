#pragma once
#include "report/report_data_source.h"
#include "report/report_model.h"

#include <QHash>
#include <QVariant>
#include <vector>

namespace livros::report {

// The fields a report reads, bound to the connections of a run. Fields of the report's own
// connection are read in the row being printed; fields of other connections in their first row.
class ReportBinding {
public:
    // Finds every connection the report names; an unknown one fails naming the project file and
    // the place. Nothing is opened here.
    ReportBinding(const ReportProject& project, const ReportDefinition& report, const ConnectionSet& connections);

    // The connections the report reads, the report's own first.
    const std::vector<ReportDataSource*>& sources() const { return m_sources; }
    ReportDataSource& master() const { return *m_master; }

    // Once the connections are open: every field named must exist in its connection.
    void checkFields();

    QVariant value(const FieldRef& ref, int masterRow) const;
    QString displayText(const FieldRef& ref, int masterRow) const;
    // The value as compared for group breaks: trimmed text, nulls apart from every text.
    QString keyText(const FieldRef& ref, int masterRow) const;
    bool test(const Condition& condition, int masterRow) const;

    // A field of the report's own connection, for the breaks and the sort.
    FieldRef masterField(const QString& field, const QString& place) const;

private:
    struct Bound {
        ReportDataSource* source = nullptr;
        QString field; // as the connection spells it, once checked
        bool master = false;
    };
    void collect(const FieldRef& ref);
    void collectBand(const Band& band);
    const Bound& bound(const FieldRef& ref) const;
    int rowOf(const Bound& b, int masterRow) const;
    static QString key(const FieldRef& ref);

    const ReportProject& m_project;
    const ReportDefinition& m_report;
    const ConnectionSet& m_connections;
    ReportDataSource* m_master = nullptr;
    std::vector<ReportDataSource*> m_sources;
    std::vector<FieldRef> m_refs;
    QHash<QString, Bound> m_bound;
};

} // namespace livros::report
