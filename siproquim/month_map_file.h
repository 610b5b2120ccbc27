#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace livros::data {
class TDM;
}

namespace livros::siproquim {

struct MapMonth {
    int year = 0;
    int month = 0;
};

// "MM/YYYY" (the month may have one digit); empty for anything else.
std::optional<MapMonth> parseMapMonth(const QString& text);

struct MapFileResult {
    QString path;         // the file written; empty when nothing was written
    QString refusal;      // the map cannot be made at all (a month not yet ended); nothing was read
    QStringList problems; // the data that cannot go into the map, each with what it belongs to
    QString fileError;    // the file could not be written
};

// The refusal of a month that has not ended on `today` (its map would leave out the days still to
// come); empty for a month that has ended.
QString unfinishedMonthRefusal(const MapMonth& month, const QDate& today);

// Reads the store's month, composes its map and writes it into `folder` (made when the folder
// above it exists; a path with more missing folders is reported, not created) under the map's file name, replacing a map of the
// same month. A month not yet ended is refused; with any problem nothing is written.
MapFileResult writeMonthMap(data::TDM& dm, const QString& cnpj, const MapMonth& month, const QString& folder);

// The refusal as the user reads it: a heading and every problem on a line of its own.
QString refusalText(const QStringList& problems);

} // namespace livros::siproquim
