#include "calendar_page.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace taqwim_cal {
namespace {

using calendar::Date;

constexpr int DayCells = 2;
constexpr int ColumnCells = DayCells + 1; // the third holds an occasion's star
constexpr int GridCells = 7 * ColumnCells;
constexpr int MonthGap = 2;
constexpr int MostMonthsInARow = 3;

// A piece of a heading that is never broken, and what joins it to the piece before it on
// the same line.
struct Piece
{
    std::string glue;
    std::string text;
};
// Pieces that stay on one line where the line holds them all: a month and its year.
using Unit = std::vector<Piece>;
using Heading = std::vector<Unit>;

Heading mainHeading(const CalendarMonth &month, const PageWords &words)
{
    return {{{"", words.monthName(month.calendar, month.month)},
             {" ", words.yearText(month.calendar, month.year)}}};
}

using MonthNames = std::function<std::string(calendar::Calendar, int)>;

Heading otherHeading(const std::vector<CalendarMonth> &months, const MonthNames &monthName,
                     const PageWords &words)
{
    Heading heading;
    for (auto first = months.begin(); first != months.end();) {
        const auto end = std::find_if(
                first, months.end(), [&](const CalendarMonth &m) { return m.year != first->year; });
        const CalendarMonth &last = *(end - 1);
        if (!heading.empty())
            heading.back().back().text += "–";
        if (last != *first)
            heading.push_back({{"", monthName(first->calendar, first->month) + "–"}});
        // One era at the end where both years are of it: "ديسمبر 2026–يناير 2027 م".
        const bool eraAfter = end != months.end() && last.year > 0;
        heading.push_back(
                {{"", monthName(last.calendar, last.month)},
                 {" ",
                  eraAfter ? words.number(last.year) : words.yearText(last.calendar, last.year)}});
        first = end;
    }
    return heading;
}

int headingWidth(const Heading &heading);

// "مارس–أبريل 2024 م", and across a new year "ديسمبر 2026–يناير 2027 م"; with the months'
// short names where the full ones would not fit on one line ("Nov–Dec 2026 AD").
Heading otherHeading(const std::vector<CalendarMonth> &months, const PageWords &words)
{
    Heading heading = otherHeading(months, words.monthName, words);
    if (headingWidth(heading) > GridCells)
        heading = otherHeading(months, words.shortMonthName, words);
    return heading;
}

std::string joined(const Unit &unit)
{
    std::string text;
    for (const Piece &piece : unit)
        text += (text.empty() ? "" : piece.glue) + piece.text;
    return text;
}

int headingWidth(const Heading &heading)
{
    std::string line;
    for (const Unit &unit : heading)
        line += (line.empty() ? "" : unit.front().glue) + joined(unit);
    return cellWidth(line);
}

// Line by line, as many units to a line as it holds; a unit wider than a line is broken
// between its pieces.
void wrapInto(std::vector<std::string> &lines, const Heading &heading, int cells)
{
    std::string line;
    const auto add = [&](const Piece &piece) {
        if (line.empty()) {
            line = piece.text;
        } else if (cellWidth(line + piece.glue + piece.text) <= cells) {
            line += piece.glue + piece.text;
        } else {
            lines.push_back(std::exchange(line, piece.text));
        }
    };
    for (const Unit &unit : heading) {
        const Piece whole{unit.front().glue, joined(unit)};
        if (line.empty() || cellWidth(line + whole.glue + whole.text) <= cells
            || cellWidth(whole.text) <= cells) {
            add(whole);
            continue;
        }
        for (const Piece &piece : unit)
            add(piece);
    }
    lines.push_back(std::move(line));
}

int widestPiece(const Heading &heading)
{
    int widest = 0;
    for (const Unit &unit : heading)
        for (const Piece &piece : unit)
            widest = std::max(widest, cellWidth(piece.text));
    return widest;
}

// One month as the page lays it out, before it is put beside the others.
struct Block
{
    const MonthGrid *grid;
    std::vector<std::string> heading; // in reading order
};

} // namespace

class CalendarPage::Arrangement
{
public:
    Arrangement(const PageWords &words, const PageLook &look) : m_words(words), m_look(look) { }

    void fit(const CalendarMonth &month, const std::vector<CalendarMonth> &otherMonths)
    {
        m_cells = std::max({m_cells, widestPiece(mainHeading(month, m_words)),
                            widestPiece(otherHeading(otherMonths, m_words))});
    }

    int monthsPerRow() const
    {
        return std::clamp((m_look.columns + MonthGap) / (m_cells + MonthGap), 1, MostMonthsInARow);
    }

    int rowCells(int months) const { return months * m_cells + (months - 1) * MonthGap; }

    std::vector<TerminalLine> row(const std::vector<MonthGrid> &months,
                                  std::span<const Date> occasions) const
    {
        std::vector<Block> blocks;
        for (const MonthGrid &month : months) {
            blocks.push_back({&month, {}});
            wrapInto(blocks.back().heading, mainHeading(month.month, m_words), m_cells);
            wrapInto(blocks.back().heading, otherHeading(month.otherMonths, m_words), m_cells);
        }
        if (m_look.rightToLeft)
            std::ranges::reverse(blocks);
        std::vector<TerminalLine> lines;
        addRow(lines, blocks, occasions);
        return lines;
    }

    TerminalLine centredOver(const std::string &text, int cells) const
    {
        const int room = cells - cellWidth(text);
        const int before = m_look.rightToLeft ? room - room / 2 : room / 2;
        return TerminalLine().addBlanks(before).add(text).addBlanks(room - before);
    }

private:
    void addRow(std::vector<TerminalLine> &page, const std::vector<Block> &row,
                std::span<const Date> occasions) const
    {
        std::size_t headingLines = 0;
        std::size_t weeks = 0;
        for (const Block &block : row) {
            headingLines = std::max(headingLines, block.heading.size());
            weeks = std::max(weeks, block.grid->weeks.size());
        }
        const auto side = [&](auto blockLine) {
            TerminalLine line;
            for (const Block &block : row) {
                if (&block != &row.front())
                    line.addBlanks(MonthGap);
                line.add(blockLine(block));
            }
            page.push_back(std::move(line));
        };
        for (std::size_t i = 0; i < headingLines; ++i)
            side([&](const Block &block) {
                return i < block.heading.size() ? centredOver(block.heading[i], m_cells)
                                                : blanks(m_cells);
            });
        side([&](const Block &block) { return weekdayHeads(block.grid->firstDayOfWeek); });
        for (std::size_t week = 0; week < weeks; ++week) {
            for (const bool other : {false, true})
                side([&](const Block &block) {
                    return week < block.grid->weeks.size()
                            ? weekLine(block.grid->weeks[week], other, occasions)
                            : blanks(m_cells);
                });
        }
    }

    static TerminalLine blanks(int cells) { return TerminalLine().addBlanks(cells); }

    // The seven columns in the order they stand from left to right, within the month's width.
    TerminalLine inGrid(const std::array<TerminalLine, 7> &columns) const
    {
        TerminalLine line;
        const int room = m_cells - GridCells;
        line.addBlanks(room / 2);
        for (int i = 0; i < 7; ++i)
            line.add(columns[std::size_t(m_look.rightToLeft ? 6 - i : i)]);
        return line.addBlanks(room - room / 2);
    }

    // A number or a head, flush with the column's far side from the star.
    TerminalLine column(std::string text, Style style, bool starred) const
    {
        TerminalLine line = blanks(DayCells - cellWidth(text));
        const TerminalLine star = starred ? TerminalLine().add("*") : blanks(1);
        // The star beside its number: on its left in a right-to-left page.
        if (m_look.rightToLeft)
            line.add(star);
        line.add(std::move(text), style);
        return m_look.rightToLeft ? line : line.add(star);
    }

    TerminalLine weekdayHeads(std::chrono::weekday firstDay) const
    {
        std::array<TerminalLine, 7> columns;
        for (std::size_t i = 0; i < 7; ++i) {
            const std::chrono::weekday day = firstDay + std::chrono::days(i);
            columns[i] = column(m_words.weekdayHeads[day.c_encoding()], Style::Plain, false);
        }
        return inGrid(columns);
    }

    TerminalLine weekLine(const std::array<std::optional<GridDay>, 7> &week, bool other,
                          std::span<const Date> occasions) const
    {
        std::array<TerminalLine, 7> columns;
        for (std::size_t i = 0; i < 7; ++i) {
            if (!week[i]) {
                columns[i] = blanks(ColumnCells);
                continue;
            }
            const GridDay &day = *week[i];
            const bool today = m_look.today == day.date;
            const Style style = today ? Style::Reverse : other ? Style::Faint : Style::Plain;
            const bool starred = !other && std::ranges::binary_search(occasions, day.date);
            columns[i] = column(m_words.number(other ? day.otherDay : day.day), style, starred);
        }
        return inGrid(columns);
    }

    const PageWords &m_words;
    const PageLook &m_look;
    int m_cells = GridCells;
};

CalendarPage::CalendarPage(const PageWords &words, const PageLook &look)
    : m_layout(std::make_unique<Arrangement>(words, look))
{
}

CalendarPage::~CalendarPage() = default;

void CalendarPage::fit(const CalendarMonth &month, const std::vector<CalendarMonth> &otherMonths)
{
    m_layout->fit(month, otherMonths);
}

std::size_t CalendarPage::monthsPerRow() const
{
    return std::size_t(m_layout->monthsPerRow());
}

TerminalLine CalendarPage::heading(const std::string &text) const
{
    return m_layout->centredOver(text, m_layout->rowCells(m_layout->monthsPerRow()));
}

std::vector<TerminalLine> CalendarPage::row(const std::vector<MonthGrid> &months,
                                            std::span<const Date> occasions) const
{
    return m_layout->row(months, occasions);
}

} // namespace taqwim_cal
