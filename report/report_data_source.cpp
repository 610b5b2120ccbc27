#include "report/report_data_source.h"

namespace livros::report {

void ConnectionSet::add(const QString& name, ReportDataSource* source)
{
    const QString key = name.toUpper();
    if (!m_byKey.contains(key))
        m_names.append(name);
    m_byKey.insert(key, source);
}

ReportDataSource* ConnectionSet::find(const QString& name) const
{
    return m_byKey.value(name.toUpper(), nullptr);
}

ConnectionSession::ConnectionSession(const std::vector<ReportDataSource*>& sources)
{
    try {
        for (ReportDataSource* source : sources) {
            if (source->active())
                continue;
            source->open();
            m_opened.push_back(source);
        }
    } catch (...) {
        // Give back what was opened before the failing one: the caller never sees this session.
        for (ReportDataSource* source : m_opened)
            source->close();
        throw;
    }
}

ConnectionSession::~ConnectionSession()
{
    for (ReportDataSource* source : m_opened) {
        try {
            source->close();
        } catch (...) {
            // Closing drops cached rows only; nothing a report run could do about a failure here.
        }
    }
}

} // namespace livros::report
