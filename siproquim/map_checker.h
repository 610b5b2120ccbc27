#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace livros::siproquim {

// A problem of a map file at its line and column (both from 1).
struct MapProblem {
    int line = 0;
    int column = 0;
    QString text;
};

// One field of a record as read from its columns.
struct ReadField {
    QString name;
    int column = 0;
    QString text;
};

struct ReadRecord {
    QString type;
    QList<ReadField> fields;   // the fields that lie within the line
    QList<MapProblem> problems;
    QString field(const QString& name) const;
    int column(const QString& name) const; // 1 when the line does not reach the field
};

// Reads one line as the record its first letters name: every field at its columns and every
// problem of the line on its own (length, field formats, characters). Order and references to
// other lines are checkMap's.
ReadRecord readRecord(const QString& line, int lineNumber = 1);

struct MapCheck {
    QList<MapProblem> problems;
    QMap<QString, int> counts; // records per type
    bool ok() const { return problems.isEmpty(); }
};

// Checks a whole map file: encoding (plain ASCII, no byte-order mark, CR LF), every line, the
// order of the records (EM first; PR lines in the DG block; MM lines under their MVN; every MVN
// with its MM lines; the other activities' subsections under their sections, every NF with its
// products), the products moved, used, made, carried or stored declared in DG before with the
// same concentration and density, and the dates within the map's month.
MapCheck checkMap(const QByteArray& content);

// "ok: EM 1, DG 1, PR 2, MVN 3, MM 4, UC 5", or one line per problem ("linha 4, coluna 24: ...").
QString checkReport(const MapCheck& check);

} // namespace livros::siproquim
