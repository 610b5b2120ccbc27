#include "platform/date_text.h"

#include <gtest/gtest.h>

using livros::dateText;
using livros::fullDateText;
using livros::parseDateText;
using livros::sqlDateText;

TEST(DateTextParse, ReadsDayMonthYearInThatOrder)
{
    EXPECT_EQ(parseDateText("31/05/24", 2026), QDate(2024, 5, 31));
    EXPECT_EQ(parseDateText("01/12/24", 2026), QDate(2024, 12, 1));
    EXPECT_EQ(parseDateText("29/02/24", 2026), QDate(2024, 2, 29));
}

TEST(DateTextParse, TwoDigitYearFallsInTheWindowAroundTheCurrentYear)
{
    // Window for 2026: 1976 .. 2075.
    EXPECT_EQ(parseDateText("01/01/76", 2026), QDate(1976, 1, 1));
    EXPECT_EQ(parseDateText("01/01/75", 2026), QDate(2075, 1, 1));
    EXPECT_EQ(parseDateText("01/01/00", 2026), QDate(2000, 1, 1));
    EXPECT_EQ(parseDateText("01/01/99", 2026), QDate(1999, 1, 1));
    // Window for 2025: 1975 .. 2074.
    EXPECT_EQ(parseDateText("01/01/75", 2025), QDate(1975, 1, 1));
    EXPECT_EQ(parseDateText("01/01/74", 2025), QDate(2074, 1, 1));
    EXPECT_EQ(parseDateText("01/01/25", 2025), QDate(2025, 1, 1));
    // Window for 2000: 1950 .. 2049.
    EXPECT_EQ(parseDateText("01/01/50", 2000), QDate(1950, 1, 1));
    EXPECT_EQ(parseDateText("01/01/49", 2000), QDate(2049, 1, 1));
    // Window for 2050: 2000 .. 2099.
    EXPECT_EQ(parseDateText("01/01/00", 2050), QDate(2000, 1, 1));
    EXPECT_EQ(parseDateText("01/01/99", 2050), QDate(2099, 1, 1));
}

TEST(DateTextParse, DefaultWindowIsTheCurrentYear)
{
    const int year = QDate::currentDate().year();
    const QString yy = QString::number(year % 100).rightJustified(2, QLatin1Char('0'));
    EXPECT_EQ(parseDateText("15/06/" + yy), QDate(year, 6, 15));
}

TEST(DateTextParse, BlankPositionsBeforeNumbersAreSkipped)
{
    EXPECT_EQ(parseDateText(" 5/ 3/24", 2026), QDate(2024, 3, 5));
    EXPECT_EQ(parseDateText("5/3/24", 2026), QDate(2024, 3, 5));
}

TEST(DateTextParse, RejectsWhatIsNotACalendarDate)
{
    EXPECT_FALSE(parseDateText("31/02/24", 2026));
    EXPECT_FALSE(parseDateText("29/02/23", 2026));
    EXPECT_FALSE(parseDateText("00/01/24", 2026));
    EXPECT_FALSE(parseDateText("01/13/24", 2026));
    EXPECT_FALSE(parseDateText("32/01/24", 2026));
}

TEST(DateTextParse, RejectsEmptyAndIncompleteTexts)
{
    EXPECT_FALSE(parseDateText("  /  /  ", 2026));
    EXPECT_FALSE(parseDateText("", 2026));
    EXPECT_FALSE(parseDateText("        ", 2026));
    EXPECT_FALSE(parseDateText("  /05/24", 2026));
    EXPECT_FALSE(parseDateText("31/  /24", 2026));
    EXPECT_FALSE(parseDateText("31/05/  ", 2026));
    EXPECT_FALSE(parseDateText("31-05-24", 2026));
    EXPECT_FALSE(parseDateText("31/05/24x", 2026));
    EXPECT_FALSE(parseDateText("3a/05/24", 2026));
    EXPECT_FALSE(parseDateText("31/05/2024", 2026));
    EXPECT_FALSE(parseDateText("031/05/24", 2026));
    EXPECT_FALSE(parseDateText("31/005/24", 2026));
}

TEST(DateTextFormat, ThreeForms)
{
    const QDate d(2024, 5, 31);
    EXPECT_EQ(dateText(d), "31/05/24");
    EXPECT_EQ(sqlDateText(d), "05/31/24");
    EXPECT_EQ(fullDateText(d), "31/05/2024");
    EXPECT_EQ(dateText(QDate(2003, 1, 2)), "02/01/03");
    EXPECT_EQ(sqlDateText(QDate(2003, 1, 2)), "01/02/03");
}

TEST(DateTextFormat, NoDateGivesTheEmptyEdit)
{
    EXPECT_EQ(dateText(QDate()), "  /  /  ");
}

TEST(DateTextFormat, TextReadsBackToTheSameDate)
{
    for (QDate d(1990, 1, 1); d < QDate(2060, 1, 1); d = d.addDays(37))
        EXPECT_EQ(parseDateText(dateText(d), 2026), d) << dateText(d).toStdString();
}
