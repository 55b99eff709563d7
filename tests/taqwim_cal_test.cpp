// taqwim-cal's grid, page, occasions and iCalendar writer, against the calendar library and
// against the Unicode bidirectional algorithm as a terminal that applies it would run it.
#include "calendar_page.h"
#include "icalendar.h"
#include "month_grid.h"
#include "occasions.h"
#include "span.h"
#include "terminal_text.h"
#include "words.h"

#include "command_line/date_text.h"
#include "command_line/date_writing.h"
#include "command_line/locale.h"

#include "scoped_environment.h"

#include "calendar/date_names.h"

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/ubidi.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

using namespace taqwim_cal;
using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using std::chrono::weekday;

namespace {

Date dayOf(Calendar calendar, int year, int month, int day)
{
    return *calendar::dateOf({calendar, year, month, day});
}

// A whole page of a few months, its rows apart by a blank line, as the program writes it.
std::vector<TerminalLine> calendarPage(const std::vector<MonthGrid> &months, const PageWords &words,
                                       const PageLook &look, std::span<const Date> occasions = {})
{
    CalendarPage page(words, look);
    for (const MonthGrid &month : months)
        page.fit(month.month, month.otherMonths);
    std::vector<TerminalLine> lines;
    for (std::size_t first = 0; first < months.size(); first += page.monthsPerRow()) {
        if (first > 0)
            lines.emplace_back();
        const auto end = months.begin()
                + std::ptrdiff_t(std::min(months.size(), first + page.monthsPerRow()));
        const auto row = page.row({months.begin() + std::ptrdiff_t(first), end}, occasions);
        lines.insert(lines.end(), row.begin(), row.end());
    }
    return lines;
}

// The months the grids are checked on: a long and a short Hijri month, the first of the era,
// a Gregorian February of a leap year, a May whose days fall in three Hijri months and the
// month of the reform.
const std::vector<CalendarMonth> someMonths = {
        {Calendar::Hijri, 1445, 9},     {Calendar::Hijri, 1446, 9},
        {Calendar::Hijri, 1, 1},        {Calendar::Gregorian, 2024, 2},
        {Calendar::Gregorian, 2022, 5}, {Calendar::Gregorian, 1582, 10},
};
const std::vector<weekday> weekStarts
        = {std::chrono::Saturday, std::chrono::Sunday, std::chrono::Monday};

TEST(MonthGrid, EveryDayOnceInItsWeekdaysColumnWithTheOtherCalendarsNumber)
{
    for (const int shift : {0, 1}) {
        const Reckoning reckoning(shift);
        for (const CalendarMonth &month : someMonths) {
            for (const weekday first : weekStarts) {
                const MonthGrid grid = monthGrid(month, first, reckoning);
                std::vector<Date> days;
                std::vector<CalendarMonth> otherMonths;
                for (std::size_t week = 0; week < grid.weeks.size(); ++week) {
                    for (std::size_t column = 0; column < 7; ++column) {
                        const auto &cell = grid.weeks[week][column];
                        if (!cell)
                            continue;
                        const CivilDate shown = reckoning.civilDate(cell->date, month.calendar);
                        const CivilDate other = reckoning.civilDate(
                                cell->date, calendar::otherCalendar(month.calendar));
                        EXPECT_EQ(cell->date.weekday(), first + std::chrono::days(column));
                        EXPECT_EQ((CalendarMonth{shown.calendar, shown.year, shown.month}), month);
                        EXPECT_EQ(cell->day, shown.day);
                        EXPECT_EQ(cell->otherDay, other.day);
                        const CalendarMonth otherMonth{other.calendar, other.year, other.month};
                        if (otherMonths.empty() || otherMonths.back() != otherMonth)
                            otherMonths.push_back(otherMonth);
                        days.push_back(cell->date);
                    }
                }
                const Date start = reckoning.monthStart(month.calendar, month.year, month.month);
                const Date end = reckoning.monthStart(month.calendar, month.year, month.month + 1);
                ASSERT_EQ(days.size(), std::size_t((end - start).count()))
                        << month.year << "/" << month.month;
                for (std::size_t i = 0; i < days.size(); ++i)
                    EXPECT_EQ(days[i], start + calendar::Days(i));
                EXPECT_EQ(grid.otherMonths, otherMonths);
                const auto before = unsigned((start.weekday() - first).count());
                EXPECT_EQ(grid.weeks.size(), (before + days.size() + 6) / 7);
            }
        }
    }
}

TEST(MonthGrid, TheShiftMovesEveryHijriMonth)
{
    // With --adjust=1, 1 December 2024 is 1 Jumada al-Akhirah 1446 instead of 29 Jumada al-Ula.
    const MonthGrid grid = monthGrid({Calendar::Hijri, 1446, 6}, std::chrono::Sunday, Reckoning(1));
    const GridDay first = *grid.weeks.front()[0];
    EXPECT_EQ(first.date, dayOf(Calendar::Gregorian, 2024, 12, 1));
    EXPECT_EQ(first.day, 1);
    EXPECT_EQ(first.otherDay, 1);
}

TEST(CalendarMonth, CountsAcrossYearsBothWays)
{
    const struct
    {
        CalendarMonth from;
        int months;
        CalendarMonth to;
    } cases[] = {
            {{Calendar::Hijri, 1445, 12}, 1, {Calendar::Hijri, 1446, 1}},
            {{Calendar::Hijri, 1445, 1}, -1, {Calendar::Hijri, 1444, 12}},
            {{Calendar::Hijri, 1, 1}, -13, {Calendar::Hijri, -1, 12}},
            {{Calendar::Gregorian, 2024, 5}, 24, {Calendar::Gregorian, 2026, 5}},
            {{Calendar::Gregorian, 0, 1}, -1, {Calendar::Gregorian, -1, 12}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.from.plus(c.months), c.to)
                << c.from.year << "/" << c.from.month << " + " << c.months;
}

// What a terminal that applies the bidirectional algorithm shows of a line, letters in their
// base forms: the paragraph's direction guessed from its first strong character, as Konsole
// and mlterm do, or taken as left to right, as VTE does.
std::string shownByBidiTerminal(const std::string &written, UBiDiLevel paragraph)
{
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(written);
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUBiDiPointer bidi(ubidi_open());
    ubidi_setPara(bidi.getAlias(), text.getBuffer(), text.length(), paragraph, nullptr, &status);
    UChar visual[1024];
    const int32_t length
            = ubidi_writeReordered(bidi.getAlias(), visual, 1024,
                                   UBIDI_DO_MIRRORING | UBIDI_REMOVE_BIDI_CONTROLS, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    std::string out;
    return icu::UnicodeString(visual, length).toUTF8String(out);
}

// The letters in their base forms, as a terminal that joins them itself is given them.
std::string baseForms(const std::string &text)
{
    UErrorCode status = U_ZERO_ERROR;
    std::string out;
    return icu::Normalizer2::getNFKCInstance(status)
            ->normalize(icu::UnicodeString::fromUTF8(text), status)
            .toUTF8String(out);
}

// What a terminal that shows characters as they come shows: the invisible marks take no
// cell.
std::string shownByPlainTerminal(const std::string &written)
{
    std::string out;
    for (std::size_t i = 0; i < written.size();) {
        const std::string_view mark = std::string_view(written).substr(i, 3);
        const bool invisible = mark == "\u200E" || mark == "\u202D" || mark == "\u202C";
        if (!invisible)
            out += written[i];
        i += invisible ? 3 : 1;
    }
    return out;
}

const command_line::LocaleNames &arabicNames()
{
    static const command_line::LocaleNames names("ar_SA");
    return names;
}

PageWords arabicWords()
{
    return {calendar::monthName,
            calendar::monthName,
            [](Calendar c, int y) {
                return command_line::yearWithEra(arabicNames(), c, y, command_line::Digits::Latin);
            },
            [](int n) { return std::to_string(n); },
            {"ح", "ن", "ث", "ر", "خ", "ج", "س"}};
}

PageWords englishWords()
{
    return {[](Calendar c, int m) {
                return (c == Calendar::Hijri ? "Hmonth" : "Gmonth") + std::to_string(m);
            },
            [](Calendar c, int m) {
                return (c == Calendar::Hijri ? "H" : "G") + std::to_string(m);
            },
            [](Calendar c, int y) {
                return std::to_string(y) + (c == Calendar::Hijri ? " AH" : " AD");
            },
            [](int n) { return std::to_string(n); },
            {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"}};
}

std::string rightAligned(int number)
{
    return number < 10 ? " " + std::to_string(number) : std::to_string(number);
}

// The cells of a column's number: the star's cell is on the side where reading goes on.
std::size_t columnOffset(std::size_t column, bool rightToLeft)
{
    return rightToLeft ? (6 - column) * 3 + 1 : column * 3;
}

// A line of single-cell characters, a character to a cell.
std::vector<std::string> cellsOf(const std::string &line)
{
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80)
            cells.back() += line[i];
        else
            cells.emplace_back(1, line[i]);
    }
    cells.resize(std::max<std::size_t>(cells.size(), 21), " ");
    return cells;
}

std::string twoCells(const std::vector<std::string> &cells, std::size_t at)
{
    return cells[at] + cells[at + 1];
}

TEST(CalendarPage, EachDayStandsInItsColumnInEitherDirection)
{
    const Reckoning reckoning;
    for (const bool rightToLeft : {false, true}) {
        const PageWords words = rightToLeft ? arabicWords() : englishWords();
        for (const CalendarMonth &month : someMonths) {
            for (const weekday first : weekStarts) {
                const MonthGrid grid = monthGrid(month, first, reckoning);
                const auto page = calendarPage({grid}, words, {.rightToLeft = rightToLeft});
                std::vector<std::vector<std::string>> shown;
                for (const TerminalLine &line : page)
                    shown.push_back(cellsOf(line.shown(rightToLeft)));
                const std::size_t heads = shown.size() - 1 - 2 * grid.weeks.size();
                for (std::size_t column = 0; column < 7; ++column) {
                    const std::size_t at = columnOffset(column, rightToLeft);
                    const std::string &head
                            = words.weekdayHeads[(first + std::chrono::days(column)).c_encoding()];
                    const std::string headCells = command_line::visualOrder(head, rightToLeft);
                    EXPECT_EQ(twoCells(shown[heads], at),
                              cellWidth(headCells) == 1 ? " " + headCells : headCells);
                    for (std::size_t week = 0; week < grid.weeks.size(); ++week) {
                        const auto &day = grid.weeks[week][column];
                        EXPECT_EQ(twoCells(shown[heads + 1 + 2 * week], at),
                                  day ? rightAligned(day->day) : "  ")
                                << month.year << "/" << month.month << " column " << column;
                        EXPECT_EQ(twoCells(shown[heads + 2 + 2 * week], at),
                                  day ? rightAligned(day->otherDay) : "  ");
                    }
                }
            }
        }
    }
}

TEST(CalendarPage, TheFirstDayOfTheWeekStandsAtTheRightInArabic)
{
    const MonthGrid grid
            = monthGrid({Calendar::Hijri, 1445, 9}, std::chrono::Saturday, Reckoning());
    const Date first = dayOf(Calendar::Hijri, 1445, 9, 1);
    const auto page = calendarPage({grid}, arabicWords(), {.rightToLeft = true}, {{first}});
    const std::string heads = page[2].shown(true);
    EXPECT_TRUE(heads.ends_with("ﺱ")) << heads; // س, Saturday, alone
    EXPECT_TRUE(heads.starts_with("  ﺝ")) << heads; // ج, Friday
    // 1 Ramadan 1445 was a Monday: the third column from the right, its star on its left.
    EXPECT_EQ(page[3].shown(true), "  5  4  3  2 *1");
}

TEST(CalendarPage, EveryLayoutShowsTheSameCellsInEveryKindOfDisplay)
{
    const Reckoning reckoning;
    // Months whose names hold no lam-alef, which joins two letters into one cell.
    for (const CalendarMonth &month :
         {CalendarMonth{Calendar::Hijri, 1445, 9}, CalendarMonth{Calendar::Gregorian, 2024, 3}}) {
        std::vector<MonthGrid> grids;
        for (int i = -1; i <= 1; ++i)
            grids.push_back(monthGrid(month.plus(i), std::chrono::Saturday, reckoning));
        const Date first = dayOf(Calendar::Hijri, 1445, 9, 1);
        const auto page = calendarPage(grids, arabicWords(), {.rightToLeft = true}, {{first}});
        const auto withoutBlanksAtTheEnd
                = [](std::string text) { return text.substr(0, text.find_last_not_of(' ') + 1); };
        for (std::size_t i = 0; i < page.size(); ++i) {
            const std::string cells = page[i].shown(true);
            // Laid out: as it stands, in a plain terminal and in a bidi one alike.
            const std::string visual = page[i].written({Layout::Visual, true, false});
            EXPECT_EQ(shownByPlainTerminal(visual), cells) << i;
            EXPECT_EQ(shownByBidiTerminal(visual, UBIDI_DEFAULT_LTR), cells) << i;
            EXPECT_EQ(shownByBidiTerminal(visual, UBIDI_LTR), cells) << i;
            // In reading order: the same cells in a display that takes the line's direction
            // from its first letter, and in one that keeps every line left to right (VTE),
            // there after the blank that starts the line.
            const std::string logical = page[i].written({Layout::Logical, true, false});
            EXPECT_EQ(withoutBlanksAtTheEnd(shownByBidiTerminal(logical, UBIDI_DEFAULT_LTR)),
                      baseForms(cells))
                    << i;
            EXPECT_EQ(withoutBlanksAtTheEnd(shownByBidiTerminal(logical, UBIDI_LTR)),
                      (page[i].shown(true).empty() ? "" : " ") + baseForms(cells))
                    << i;
        }
    }
}

TEST(TerminalText, ReadingOrderTurnedIntoTheOrderOfTheCells)
{
    const struct
    {
        const char *logical;
        bool rightToLeft;
        const char *visual;
    } cases[] = {
            // Joined forms, last letter first; the number keeps its own order.
            {"رمضان 1445 هـ", true, "ـﻫ 1445 ﻥﺎﻀﻣﺭ"},
            // Lam and alef as their one ligature, its second cell left blank.
            {"الآخرة", true, " ﺓﺮﺧﻵﺍ"},
            // A bracket turns to face the text it encloses.
            {"(صفر)", true, "(ﺮﻔﺻ)"},
            {"Ramadan 1445 AH", false, "Ramadan 1445 AH"},
            {"Ramadan 1445 AH", true, "Ramadan 1445 AH"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(command_line::visualOrder(c.logical, c.rightToLeft), c.visual) << c.logical;
}

TEST(TerminalText, CellsAsTerminalsCountThem)
{
    const struct
    {
        const char *text;
        int cells;
    } cases[] = {{"Muharram", 8}, {"محرم", 4}, {"مُحَرَّم", 4}, {"ربیع\u200Cالاول", 9},
                 {"十二月", 6},   {"ｱ", 1},    {"", 0}};
    for (const auto &c : cases)
        EXPECT_EQ(cellWidth(c.text), c.cells) << c.text;
}

TEST(TerminalText, TodayIsReversedOnlyWhereStylesAreWritten)
{
    const MonthGrid grid = monthGrid({Calendar::Hijri, 1445, 9}, std::chrono::Sunday, Reckoning());
    const Date today = dayOf(Calendar::Hijri, 1445, 9, 14);
    const auto page = calendarPage({grid}, englishWords(), {.today = today});
    std::string styled, plain;
    for (const TerminalLine &line : page) {
        styled += line.written({Layout::Logical, false, true});
        plain += line.written({Layout::Visual, false, false});
    }
    EXPECT_NE(styled.find("\x1b[7m14\x1b[27m"), std::string::npos) << styled;
    EXPECT_NE(styled.find("\x1b[7m24\x1b[27m"), std::string::npos) << styled; // 24 March
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);
}

TEST(TerminalText, LogicalTextIsHeldOnlyWhereItWouldMove)
{
    EXPECT_EQ(TerminalLine().add("Ramadan").written({Layout::Logical, false, false}), "Ramadan");
    EXPECT_EQ(TerminalLine().add("Ramadan").written({Layout::Visual, false, false}), "Ramadan");
    // Arabic-Indic digits in a left-to-right page keep their order.
    const std::string numbers = TerminalLine().add("١٢").addBlanks(1).add("١٣").written(
            {Layout::Logical, false, false});
    EXPECT_EQ(shownByBidiTerminal(numbers, UBIDI_DEFAULT_LTR), "١٢ ١٣");
    EXPECT_EQ(TerminalLine().add("رمضان").written({Layout::Visual, true, false}),
              "\u200E\u202Dﻥﺎﻀﻣﺭ\u202C");
}

TEST(CalendarPage, AsManyMonthsToARowAsTheColumnsHold)
{
    std::vector<MonthGrid> year;
    for (int month = 1; month <= 12; ++month)
        year.push_back(
                monthGrid({Calendar::Hijri, 1446, month}, std::chrono::Saturday, Reckoning()));
    const struct
    {
        int columns;
        std::size_t perRow;
    } cases[] = {{200, 3}, {80, 3}, {67, 3}, {66, 2}, {44, 2}, {43, 1}, {10, 1}};
    for (const bool rightToLeft : {false, true}) {
        const PageWords words = rightToLeft ? arabicWords() : englishWords();
        for (const auto &c : cases) {
            const auto page
                    = calendarPage(year, words, {.rightToLeft = rightToLeft, .columns = c.columns});
            int widest = 0;
            for (const TerminalLine &line : page)
                widest = std::max(widest, cellWidth(line.shown(rightToLeft)));
            EXPECT_LE(widest, std::max(c.columns, 21)) << c.columns; // a month is 21 wide
            // Rows apart by a blank line: one fewer than the rows.
            const auto rows = std::count_if(page.begin(), page.end(), [](const TerminalLine &line) {
                return line.shown(false).empty();
            });
            EXPECT_EQ(std::size_t(rows), (12 + c.perRow - 1) / c.perRow - 1) << c.columns;
        }
    }
}

TEST(CalendarPage, MonthsReadFromTheRightInArabic)
{
    std::vector<MonthGrid> three;
    for (int month = 8; month <= 10; ++month)
        three.push_back(
                monthGrid({Calendar::Hijri, 1445, month}, std::chrono::Saturday, Reckoning()));
    const std::string heading
            = calendarPage(three, arabicWords(), {.rightToLeft = true})[0].shown(true);
    const auto at = [&](const char *month) {
        return heading.find(command_line::visualOrder(month, true));
    };
    ASSERT_NE(at("شعبان"), std::string::npos) << heading;
    EXPECT_LT(at("شوال"), at("رمضان"));
    EXPECT_LT(at("رمضان"), at("شعبان"));
}

TEST(CalendarPage, HeadingsNameBothCalendarsAndBreakBetweenMonths)
{
    const Reckoning reckoning;
    const struct
    {
        CalendarMonth month;
        std::vector<std::string> heading;
    } cases[] = {
            // The short names where the full ones would take more than a line.
            {{Calendar::Hijri, 1445, 9}, {"Hmonth9 1445 AH", "G3–G4 2024 AD"}},
            {{Calendar::Gregorian, 2024, 3}, {"Gmonth3 2024 AD", "H8–H9 1445 AH"}},
            // Days in three Hijri months: the first and the last are named.
            {{Calendar::Gregorian, 2022, 5}, {"Gmonth5 2022 AD", "H9–H11 1443 AH"}},
            // Across a new year, the era once.
            {{Calendar::Hijri, 1448, 7}, {"Hmonth7 1448 AH", "G12 2026–G1 2027 AD"}},
            // Too wide for one line, broken after a year rather than between a month and
            // its year.
            {{Calendar::Gregorian, 2019, 8}, {"Gmonth8 2019 AD", "H11–H12 1440–", "H1 1441 AH"}},
            // Years of two eras each have theirs.
            {{Calendar::Hijri, 1, 1}, {"Hmonth1 1 AH", "G7–G8 622 AD"}},
            {{Calendar::Gregorian, 622, 7}, {"Gmonth7 622 AD", "H12 0 AH–H1 1 AH"}},
    };
    for (const auto &c : cases) {
        const auto page = calendarPage({monthGrid(c.month, std::chrono::Sunday, reckoning)},
                                       englishWords(), {});
        for (std::size_t i = 0; i < c.heading.size(); ++i) {
            const std::string line = page[i].shown(false);
            EXPECT_EQ(line.substr(line.find_first_not_of(' ')), c.heading[i]);
        }
        EXPECT_TRUE(page[c.heading.size()].shown(false).starts_with("Su Mo"));
    }
}

TEST(Occasions, TheYearsOccasionsOnTheirHijriDays)
{
    for (const int shift : {0, 1, -2}) {
        const Reckoning reckoning(shift);
        for (const int year : {1445, 1446, 1500}) {
            const auto occasions = occasionsBetween(
                    reckoning.monthStart(Calendar::Hijri, year, 1),
                    reckoning.monthStart(Calendar::Hijri, year + 1, 1) - calendar::Days{1},
                    reckoning);
            ASSERT_EQ(occasions.size(), occasionDays().size());
            for (std::size_t i = 0; i < occasions.size(); ++i) {
                const OccasionDay &day = occasionDays()[i];
                EXPECT_EQ(occasions[i].occasion, &day);
                EXPECT_EQ(occasions[i].hijriYear, year);
                EXPECT_EQ(reckoning.civilDate(occasions[i].date, Calendar::Hijri),
                          (CivilDate{Calendar::Hijri, year, day.month, day.day}));
            }
        }
    }
    // The ends of a span are its own: a single day holds its occasion.
    const Date eid = dayOf(Calendar::Gregorian, 2024, 6, 16);
    const auto one = occasionsBetween(eid, eid, Reckoning());
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].occasion->occasion, Occasion::EidAlAdha);
    EXPECT_TRUE(occasionsBetween(eid + calendar::Days{1}, eid + calendar::Days{20}, Reckoning())
                        .empty());
}

TEST(Occasions, The1445OccasionsOnTheirGregorianDays)
{
    const struct
    {
        Occasion occasion;
        int year, month, day; // Gregorian
    } cases[] = {
            {Occasion::IslamicNewYear, 2023, 7, 19},   {Occasion::Ashura, 2023, 7, 28},
            {Occasion::ProphetsBirthday, 2023, 9, 27}, {Occasion::IsraAndMiraj, 2024, 2, 8},
            {Occasion::MidShaban, 2024, 2, 25},        {Occasion::FirstOfRamadan, 2024, 3, 11},
            {Occasion::LaylatAlQadr, 2024, 4, 6},      {Occasion::EidAlFitr, 2024, 4, 10},
            {Occasion::DayOfArafah, 2024, 6, 15},      {Occasion::EidAlAdha, 2024, 6, 16},
    };
    const auto year = occasionsBetween(dayOf(Calendar::Hijri, 1445, 1, 1),
                                       dayOf(Calendar::Hijri, 1445, 12, 29), Reckoning());
    ASSERT_EQ(year.size(), std::size(cases));
    // A night is kept from the evening before its day: the 27th night of Ramadan on 5 April.
    EXPECT_EQ(year[6].evening(), dayOf(Calendar::Gregorian, 2024, 4, 5));
    EXPECT_EQ(year[7].evening(), year[7].date);
    for (std::size_t i = 0; i < year.size(); ++i) {
        EXPECT_EQ(year[i].occasion->occasion, cases[i].occasion) << i;
        EXPECT_EQ(year[i].date,
                  dayOf(Calendar::Gregorian, cases[i].year, cases[i].month, cases[i].day))
                << year[i].occasion->key;
    }
}

TEST(Occasions, EidAlFitrFallsTwiceInGregorian2033)
{
    const auto year = occasionsBetween(dayOf(Calendar::Gregorian, 2033, 1, 1),
                                       dayOf(Calendar::Gregorian, 2033, 12, 31), Reckoning());
    std::vector<int> eids;
    for (const DatedOccasion &occasion : year)
        if (occasion.occasion->occasion == Occasion::EidAlFitr)
            eids.push_back(occasion.hijriYear);
    EXPECT_EQ(eids, (std::vector<int>{1454, 1455}));
    EXPECT_TRUE(std::ranges::is_sorted(year, {}, &DatedOccasion::date));
    EXPECT_EQ(year.size(), 11u);
}

bool wholeCharacters(const std::string &utf8)
{
    for (int32_t i = 0; i < int32_t(utf8.size());) {
        UChar32 c = 0;
        U8_NEXT(utf8.data(), i, int32_t(utf8.size()), c);
        if (c < 0)
            return false;
    }
    return true;
}

std::vector<std::string> contentLines(const std::string &file)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < file.size();) {
        const std::size_t end = file.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(file.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string writtenFile(const ICalendarHeader &header, std::span<const CalendarEvent> events)
{
    std::string file;
    ICalendarWriter writer(header, [&](std::string_view text) { file += text; });
    for (const CalendarEvent &event : events)
        writer.add(event);
    EXPECT_EQ(writer.finish(), !events.empty());
    return file;
}

TEST(Span, DaysWrittenOrMonthsCountedWithinTheYearsTheProgramTakes)
{
    const Reckoning reckoning;
    const Date today = dayOf(Calendar::Gregorian, 2026, 12, 9);
    Options oneDay;
    oneDay.from = oneDay.until = "2024-03-11";
    oneDay.calendar = Calendar::Gregorian;
    const Span day = spanOf(oneDay, reckoning, today);
    EXPECT_EQ(day.first, dayOf(Calendar::Gregorian, 2024, 3, 11));
    EXPECT_EQ(day.last, day.first);
    EXPECT_EQ(day.firstMonth, day.lastMonth);
    Options backwards = oneDay;
    backwards.from = "2024-03-12";
    EXPECT_THROW(spanOf(backwards, reckoning, today), NoSuchSpan);
    // A month of the year 10000 AH or of the year 0 is not half shown.
    Options after;
    after.month = 12;
    after.year = 9999;
    after.monthsAfter = 1;
    EXPECT_THROW(spanOf(after, reckoning, today), NoSuchSpan);
    Options before;
    before.month = 2;
    before.year = 1;
    before.monthsBefore = 2;
    EXPECT_THROW(spanOf(before, reckoning, today), NoSuchSpan);
    before.monthsBefore = 1;
    EXPECT_EQ(spanOf(before, reckoning, today).firstMonth, (CalendarMonth{Calendar::Hijri, 1, 1}));
}

TEST(ICalendar, FoldedLinesOfCalendarEvents)
{
    const std::string summary = "1 رمضان 1445; هـ, \\ " + std::string(60, 'x') + " رمضان";
    const CalendarEvent events[]
            = {{dayOf(Calendar::Gregorian, 2024, 3, 11),
                "day-2024-03-11@taqwim.invalid",
                summary,
                "",
                {}},
               {dayOf(Calendar::Gregorian, 2024, 12, 31),
                "b",
                std::string(200, 'e'),
                "1 Shawwal\n1445",
                {}},
               // Two octets a letter: the 75th octet is the first of a letter.
               {dayOf(Calendar::Gregorian, 2025, 1, 1),
                "c",
                "Eid",
                std::string(60, 'x') + "رمضان",
                {}},
               {dayOf(Calendar::Gregorian, 2024, 4, 5), "d", "Laylat al-Qadr", "",
                EventHours{std::chrono::sys_seconds{std::chrono::seconds{1712331780}},
                           std::chrono::sys_seconds{std::chrono::seconds{1712371500}}}}};
    const std::string file = writtenFile(
            {"التقويم الهجري", "-//Taqwim//taqwim-cal//EN",
             std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours(9)},
            events);
    const std::vector<std::string> lines = contentLines(file);
    std::vector<std::string> unfolded;
    for (const std::string &line : lines) {
        EXPECT_LE(line.size(), 75u) << line;
        if (line.starts_with(' '))
            unfolded.back() += line.substr(1);
        else
            unfolded.push_back(line);
    }
    for (const std::string &line : lines)
        EXPECT_TRUE(wholeCharacters(line)) << line;
    const auto has = [&](const std::string &line) {
        return std::ranges::find(unfolded, line) != unfolded.end();
    };
    EXPECT_EQ(unfolded.front(), "BEGIN:VCALENDAR");
    EXPECT_EQ(unfolded.back(), "END:VCALENDAR");
    EXPECT_TRUE(has("DTSTART;VALUE=DATE:20240311"));
    EXPECT_TRUE(has("DTEND;VALUE=DATE:20240312"));
    EXPECT_TRUE(has("DTEND;VALUE=DATE:20250101"));
    EXPECT_TRUE(has("DTSTART:20240405T154300Z")); // a night, from sunset to sunrise
    EXPECT_TRUE(has("DTEND:20240406T024500Z"));
    EXPECT_TRUE(has("DTSTAMP:20261208T090000Z"));
    EXPECT_TRUE(has("SUMMARY:1 رمضان 1445\\; هـ\\, \\\\ " + std::string(60, 'x') + " رمضان"));
    EXPECT_TRUE(has("DESCRIPTION:1 Shawwal\\n1445"));
    EXPECT_TRUE(has("SUMMARY:" + std::string(200, 'e'))); // folded twice
    EXPECT_TRUE(has("X-WR-CALNAME:التقويم الهجري"));
    EXPECT_EQ(std::ranges::count(unfolded, std::string("BEGIN:VEVENT")), 4);
}

TEST(ICalendar, DaysFromTheGregorianReformToTheEndOf9999AndAtLeastOneEvent)
{
    EXPECT_TRUE(fitsICalendar(dayOf(Calendar::Gregorian, 1582, 10, 15)));
    EXPECT_FALSE(fitsICalendar(dayOf(Calendar::Gregorian, 1582, 10, 4))); // Julian, the day before
    EXPECT_TRUE(fitsICalendar(dayOf(Calendar::Gregorian, 9999, 12, 30)));
    EXPECT_FALSE(fitsICalendar(dayOf(Calendar::Gregorian, 9999, 12, 31))); // it ends in 10000
    const CalendarEvent event{dayOf(Calendar::Gregorian, 1582, 10, 15), "u", "s", "", {}};
    EXPECT_NE(writtenFile({"n", "p", {}}, std::span(&event, 1))
                      .find("DTSTART;VALUE=DATE:15821015\r\n"),
              std::string::npos);
    EXPECT_EQ(writtenFile({"n", "p", {}}, {}), ""); // RFC 5545 asks for one component
}

TEST(SharedLocale, TheWeekStartsAsInTheLocalesCountry)
{
    const struct
    {
        const char *locale;
        weekday first;
        bool rightToLeft;
    } cases[] = {
            {"ar_EG", std::chrono::Saturday, true}, {"ar_SA", std::chrono::Sunday, true},
            {"en_US", std::chrono::Sunday, false},  {"tr_TR", std::chrono::Monday, false},
            {"", std::chrono::Sunday, false},       {"fa_IR", std::chrono::Saturday, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(command_line::firstDayOfWeek(c.locale), c.first) << c.locale;
        EXPECT_EQ(command_line::readsRightToLeft(c.locale), c.rightToLeft) << c.locale;
    }
}

TEST(Words, WeekdayHeadsFitTheirColumnsTellTheDaysApartInTheLanguagesScript)
{
    for (const char *locale : {"", "ar_SA", "tr_TR", "ms_MY", "id_ID", "de_DE", "fr_FR", "ur_PK",
                               "ps_AF", "fa_IR", "ru_RU", "zh_CN", "ja_JP", "he_IL"}) {
        const command_line::LocaleNames names(locale);
        const PageWords words = Words(names, command_line::Digits::Latin).page();
        const std::set<std::string> heads(words.weekdayHeads.begin(), words.weekdayHeads.end());
        EXPECT_EQ(heads.size(), 7u) << locale; // German's narrow "M D M D" would not
        for (const std::string &head : words.weekdayHeads) {
            EXPECT_LE(cellWidth(head), 2) << locale << " " << head;
            const bool latin = std::ranges::any_of(head, [](char c) { return std::isalpha(c); });
            EXPECT_EQ(latin, names.script() == "Latn") << locale << " " << head;
        }
    }
    const auto headsOf = [](const char *locale) {
        const command_line::LocaleNames names(locale);
        return Words(names, command_line::Digits::Latin).page().weekdayHeads;
    };
    EXPECT_EQ(headsOf("ar_SA")[6], "س");
    EXPECT_EQ(headsOf("de_DE")[1], "Mo");
    EXPECT_EQ(headsOf("id_ID")[1] + headsOf("id_ID")[2], "SnSl"); // Senin, Selasa
}

TEST(Words, IsoDatesReadBackAsTheSameDayInEveryYearTheProgramsTake)
{
    const Reckoning reckoning;
    const command_line::LocaleNames english("");
    const calendar::AcceptedDays &readable = reckoning.readableDays();
    for (const Calendar calendar : {Calendar::Hijri, Calendar::Gregorian}) {
        const int firstYear = reckoning.civilDate(readable.first(), calendar).year;
        const int lastYear = reckoning.civilDate(readable.last(), calendar).year;
        const command_line::DateReading reading{.calendar = calendar, .reckoning = reckoning};
        for (int year = firstYear; year <= lastYear; ++year) {
            for (const command_line::Digits digits :
                 {command_line::Digits::Latin, command_line::Digits::Arabic}) {
                const Date day = std::clamp(reckoning.monthStart(calendar, year, 12),
                                            readable.first(), readable.last());
                const std::string text
                        = Words(english, digits).isoDate(reckoning.civilDate(day, calendar));
                try {
                    EXPECT_EQ(command_line::readDate(text, reading).day, day) << text;
                } catch (const command_line::DateTextError &) {
                    ADD_FAILURE() << text << " is refused";
                }
            }
        }
    }
}

TEST(SharedLocale, YearsWithTheirEras)
{
    const command_line::Digits Latin = command_line::Digits::Latin;
    const command_line::LocaleNames english("");
    EXPECT_EQ(command_line::yearWithEra(english, Calendar::Hijri, 1445, Latin), "1445 AH");
    EXPECT_EQ(command_line::yearWithEra(english, Calendar::Hijri, -640, Latin), "641 BH");
    EXPECT_EQ(command_line::yearWithEra(english, Calendar::Gregorian, 0, Latin), "1 BC");
    const ScopedTimeLocale time("ar_SA.UTF-8");
    const command_line::LocaleNames arabic("ar_SA");
    EXPECT_EQ(command_line::yearWithEra(arabic, Calendar::Hijri, 1445, Latin), "1445 هـ");
    EXPECT_EQ(command_line::yearWithEra(arabic, Calendar::Hijri, 0, Latin), "1 ق.هـ");
    EXPECT_EQ(command_line::yearWithEra(arabic, Calendar::Gregorian, 2024, Latin), "2024 م");
    EXPECT_EQ(command_line::yearWithEra(arabic, Calendar::Gregorian, 0, Latin), "1 ق.م");
}

} // namespace
