#include "report/report_binding.h"

#include "report/project_loader.h"
#include "report/report_error.h"

namespace livros::report {

ReportBinding::ReportBinding(const ReportProject& project, const ReportDefinition& report, const ConnectionSet& connections)
    : m_project(project), m_report(report), m_connections(connections)
{
    collect(masterField(QString(), report.place + QStringLiteral(".data")));
    for (const SortKey& key : report.sort) {
        collect(masterField(key.field, key.place));
        if (key.descendingWhen)
            collect(key.descendingWhen->field);
    }
    for (const GroupDef& group : report.groups) {
        for (const QString& field : group.breakOn)
            collect(masterField(field, group.place + QStringLiteral(".breakOn")));
        collectBand(group.header);
        collectBand(group.footer);
    }
    collectBand(report.pageHeader);
    collectBand(report.detail);
    collectBand(report.pageFooter);
    collectBand(report.summary);
    collectBand(report.noData);
}

FieldRef ReportBinding::masterField(const QString& field, const QString& place) const
{
    return FieldRef{m_report.connection, field, place};
}

QString ReportBinding::key(const FieldRef& ref)
{
    return ref.connection.toUpper() + QLatin1Char('.') + ref.field.toUpper();
}

void ReportBinding::collect(const FieldRef& ref)
{
    ReportDataSource* source = m_connections.find(ref.connection);
    if (!source) {
        throw ReportError(projectErrorMessage(
            m_project.filePath, ref.place,
            QStringLiteral("conexão de dados desconhecida \"%1\" (há: %2)").arg(ref.connection, m_connections.names().join(QStringLiteral(", ")))));
    }
    const bool isMaster = ref.connection.compare(m_report.connection, Qt::CaseInsensitive) == 0;
    if (isMaster && !m_master)
        m_master = source;
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
    if (!ref.field.isEmpty() && !m_bound.contains(key(ref))) {
        m_bound.insert(key(ref), Bound{source, ref.field, isMaster});
        m_refs.push_back(ref);
    }
}

void ReportBinding::collectBand(const Band& band)
{
    for (const ReportItem& item : band.items) {
        if (item.printWhen)
            collect(item.printWhen->field);
        if (item.kind == ItemKind::Field)
            collect(item.field);
        for (const TextPart& part : item.parts) {
            if (part.kind == TextPart::Kind::Field)
                collect(part.field);
        }
    }
}

void ReportBinding::checkFields()
{
    for (const FieldRef& ref : m_refs) {
        Bound& b = m_bound[key(ref)];
        const QStringList names = b.source->fieldNames();
        auto it = std::find_if(names.begin(), names.end(),
                               [&](const QString& n) { return n.compare(ref.field, Qt::CaseInsensitive) == 0; });
        if (it == names.end()) {
            throw ReportError(projectErrorMessage(m_project.filePath, ref.place,
                                                  QStringLiteral("a conexão \"%1\" não tem o campo \"%2\"").arg(ref.connection, ref.field)));
        }
        b.field = *it;
    }
}

const ReportBinding::Bound& ReportBinding::bound(const FieldRef& ref) const
{
    auto it = m_bound.constFind(key(ref));
    Q_ASSERT(it != m_bound.constEnd()); // every reference of the report was collected
    return *it;
}

int ReportBinding::rowOf(const Bound& b, int masterRow) const
{
    if (b.master)
        return masterRow;
    return b.source->rowCount() > 0 ? 0 : -1;
}

QVariant ReportBinding::value(const FieldRef& ref, int masterRow) const
{
    const Bound& b = bound(ref);
    const int row = rowOf(b, masterRow);
    return row < 0 ? QVariant() : b.source->value(row, b.field);
}

QString ReportBinding::displayText(const FieldRef& ref, int masterRow) const
{
    const Bound& b = bound(ref);
    const int row = rowOf(b, masterRow);
    return row < 0 ? QString() : b.source->displayText(row, b.field);
}

QString ReportBinding::keyText(const FieldRef& ref, int masterRow) const
{
    const QVariant v = value(ref, masterRow);
    if (v.isNull())
        return QStringLiteral("\x01null");
    return v.toString().trimmed();
}

bool ReportBinding::test(const Condition& condition, int masterRow) const
{
    const QVariant v = value(condition.field, masterRow);
    const QString text = v.isNull() ? QString() : v.toString().trimmed();
    return condition.values.contains(text) != condition.negate;
}

} // namespace livros::report
