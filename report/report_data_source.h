#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace livros::report {

// The rows a report reads through one named data connection. The engine opens a closed source
// at the start of a run and closes it again at the end, so that every run reads current rows.
class ReportDataSource {
public:
    virtual ~ReportDataSource() = default;

    virtual bool active() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;

    virtual int rowCount() const = 0;
    virtual QStringList fieldNames() const = 0;
    // The field's value in a row: a null QVariant for SQL NULL.
    virtual QVariant value(int row, const QString& field) const = 0;
    // The value as the dataset shows it: with the field's display format when it has one.
    virtual QString displayText(int row, const QString& field) const = 0;
};

// The named data connections a report project can read, found by name regardless of letter
// case (the layouts name them as the report module does: "RvDSLivContr"...). Not owning.
class ConnectionSet {
public:
    void add(const QString& name, ReportDataSource* source);
    ReportDataSource* find(const QString& name) const;
    QStringList names() const { return m_names; }

private:
    QStringList m_names;
    QHash<QString, ReportDataSource*> m_byKey; // upper-case name
};

// Opens the given connections that are closed and, on destruction, closes again those it
// opened: a connection that was already open stays open.
class ConnectionSession {
public:
    explicit ConnectionSession(const std::vector<ReportDataSource*>& sources);
    ~ConnectionSession();
    ConnectionSession(const ConnectionSession&) = delete;
    ConnectionSession& operator=(const ConnectionSession&) = delete;

private:
    std::vector<ReportDataSource*> m_opened;
};

} // namespace livros::report
