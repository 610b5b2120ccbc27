#pragma once
#include <QString>

namespace livros::app {

// The text of the period edits, whose mask reads "!99/99/00;1;_": eight characters dd/mm/yy,
// day and month digits optional, both year digits required, the slashes fixed and part of the
// text, a blank for every position not typed ("_" on the screen). The empty edit reads "  /  /  ".
namespace masked_date {

inline constexpr int kLength = 8;
inline constexpr char16_t kBlankShown = u'_';
// The same mask in Qt's mask language, where 0 is an optional digit and 9 a required one.
inline constexpr char kQtInputMask[] = "00/00/99;_";

QString emptyText();

// The edit's text from what the masked line edit shows: the blank character becomes a blank,
// missing positions are blanks, and the slashes stand at positions 3 and 6.
QString fromDisplay(const QString& display);

// Whether both year digits (positions 7 and 8) are typed.
bool yearTyped(const QString& text);

bool isEmpty(const QString& text);

} // namespace masked_date
} // namespace livros::app
