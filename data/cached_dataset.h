#pragma once
#include <QDate>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace livros::data {

class Connection;
class CachedDataset;

// One field of the current row of a cached dataset (`PeriodoDATAINICIAL`, `DadosGerCNPJ`...).
class Field {
public:
    Field(CachedDataset& dataset, QString name) : m_dataset(&dataset), m_name(std::move(name)) {}
    const QString& name() const { return m_name; }
    QVariant value() const;
    bool isNull() const;
    // Text form: a date in the workstation's short date form, "" for null.
    QString asString() const;
    // With the display format when the field has one, else asString().
    QString displayText() const;
    QDate asDate() const;
    void setValue(const QVariant& value);
    // "" makes the field null; a date field parses the text in the short date form and raises
    // "'%s' não é uma data válida" when it is none (the field keeps its value).
    void setAsString(const QString& text);

private:
    CachedDataset* m_dataset;
    QString m_name;
};

// A client-side dataset over one SELECT: opening fetches every row into memory (in a
// transaction of its own), closing drops them with any change not yet applied. Only datasets
// with an update table (the period record) can be edited; their changes go to the database when
// applied: INSERT of the assigned columns for a new row, UPDATE of the changed columns with a
// WHERE clause over every column with its old value (IS NULL for nulls).
class CachedDataset {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    CachedDataset(const QString& name, Connection& connection, const QString& commandText);
    virtual ~CachedDataset();

    const QString& name() const { return m_name; }
    Connection& connection() const { return m_connection; }

    // Allowed only while closed; the text it already has changes nothing; leading blanks removed.
    void setCommandText(const QString& text);
    const QString& commandText() const { return m_commandText; }
    void setDisplayFormat(const QString& field, const QString& picture);
    // The table that applied changes go to; empty: the dataset is never edited.
    void setUpdateTable(const QString& table) { m_updateTable = table; }

    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    void open();
    void close();
    // Re-executes the SELECT and replaces the rows, keeping the current row position.
    // Refused while changes are pending: "<name>: é preciso gravar as alterações antes de reler os dados".
    void refresh();

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    int recNo() const { return m_current; }
    void first();
    void next();
    bool eof() const;

    QStringList fieldNames() const { return m_fieldNames; }
    bool hasField(const QString& name) const;
    int fieldIndex(const QString& name) const; // error naming the field when absent
    QMetaType::Type fieldType(const QString& name) const;
    QVariant value(int row, const QString& field) const;
    QString displayText(int row, const QString& field) const;
    Field field(const QString& name) { return Field(*this, name); }

    // Editing: edit() on an empty dataset starts a new row.
    void edit();
    void post();
    void cancel();
    // Sends the change log to the update table in one transaction, committed even when some
    // rows fail; returns the number of failed rows, which stay in the change log.
    int applyUpdates();
    bool hasPendingChanges() const { return !m_changeLog.empty(); }

    // Runs after every successful local post.
    std::function<void()> afterPost;

private:
    friend class Field;
    struct Row {
        std::vector<QVariant> values;
        std::vector<QString> literals; // exact SQL literals as read, for editable datasets
    };
    struct Change {
        int row = -1;
        bool inserted = false;
        std::vector<QVariant> oldValues;    // as last read
        std::vector<QString> oldLiterals;
        std::vector<QVariant> newValues;
        std::vector<bool> assigned;         // columns set since the row was read
    };

    void fetch();
    void requireActive() const;
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant& value);
    QString textOf(int column, const QVariant& value) const;
    QString statementFor(const Change& change) const;

    QString m_name;
    Connection& m_connection;
    QString m_commandText;
    QString m_updateTable;
    QHash<QString, QString> m_displayFormats;
    State m_state = State::Inactive;
    QStringList m_fieldNames;
    std::vector<QMetaType::Type> m_fieldTypes;
    std::vector<Row> m_rows;
    int m_current = 0;
    // The edit buffer of the current row while editing.
    Change m_editing;
    std::vector<Change> m_changeLog;
};

} // namespace livros::data
