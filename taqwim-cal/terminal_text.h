#pragma once

#include "command_line/bidi_text.h"
#include "command_line/terminal.h"

#include <string>
#include <string_view>
#include <vector>

// The lines of a page, in either layout (command_line/terminal.h). A line is made of runs,
// each a word or a number in reading order or a stretch of blanks, placed from left to right
// as they stand on the screen. Laid out visually, each run is put in the order its
// characters stand in; in reading order, the runs of a right-to-left page are written from
// its right end, each held as a unit of its own, after a right-to-left mark, so that a
// display that applies the Unicode Bidirectional Algorithm shows the same cells. One that
// keeps every line left to right (VTE, unless told otherwise) shows the cells of every line
// mirrored alike, each word still reading right.
namespace taqwim_cal {

using command_line::cellWidth;
using command_line::Layout;

enum class Style { Plain, Faint, Reverse };

// How the lines of a page are written.
struct LineLayout
{
    Layout layout = Layout::Visual;
    bool rightToLeft = false; // the page's direction
    bool styled = false; // with escape sequences for the styles
};

class TerminalLine
{
public:
    TerminalLine &add(std::string text, Style style = Style::Plain);
    TerminalLine &addBlanks(int count);
    TerminalLine &add(const TerminalLine &line);
    // What a terminal shows of it laid out visually, without styles or trailing blanks.
    std::string shown(bool rightToLeft) const;
    // The bytes that show it, without its line break.
    std::string written(const LineLayout &layout) const;

private:
    struct Run
    {
        std::string text; // in reading order
        Style style;
        bool blank;
    };
    std::vector<Run> m_runs;
};

} // namespace taqwim_cal
