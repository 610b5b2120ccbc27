#pragma once
#include "book/ledger/ledger.h"

#include <QDate>
#include "platform/book_locale.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace livros::classic {

// The text lines of the classic book's on-screen listing: fixed-width text, 153 characters wide,
// read in a monospaced font. Each function returns the lines of one step of the build; the build
// appends them in order. Numbers use the grouping and decimal separators of `locale`, Brazilian
// unless told.

using MovementKind = ledger::MovementKind;

// Only a to z are raised: accented letters keep their case, as the suite's other listings do.
QString upperAsciiLetters(const QString& text);

// Three blank lines, the "=" rule, the group's title line, the period line and a blank line.
QStringList componentHeading(const QString& groupTitleLine, const QDate& initialDate, const QDate& finalDate);

// The block that reports an inventory unit differing from the catalogue unit.
QStringList unitErrorBlock(const QString& catalogueUnit, const QString& inventoryUnit, double inventoryQuantity,
                           const QLocale& locale = bookLocale());

// The opening balance line of a component without an inventory row on the initial date.
QString balanceLineWithoutInventory(const QString& componente, const QString& dcb, const QString& bookUnit);
// The opening balance line of a component with an inventory row.
QString balanceLineWithInventory(const QString& componente, const QString& dcb, double openingBalance,
                                 const QString& bookUnit, const QLocale& locale = bookLocale());

// A blank line, the "-" rule, the column titles and the column rule.
QStringList columnHeading();

// One movement: its date, history (padded to 85), kind, running balance after it and observation.
QString movementLine(MovementKind kind, const QDate& date, const QString& history, double runningBalance,
                     const QString& observation, const QLocale& locale = bookLocale());

QString noMovementLine();
// The "=" rule and two blank lines.
QStringList componentClosing();
// The blank line after the last component of the group.
QStringList groupClosing();
// A blank line and the "FIM" rule, at the end of the build.
QStringList listingClosing();

} // namespace livros::classic
