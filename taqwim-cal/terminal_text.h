#pragma once

#include "command_line/bidi_text.h"
#include "command_line/terminal.h"

#include <string>
#include <string_view>
#include <vector>

// The lines of a page, in either layout (command_line/terminal.h). A line is made of runs,
// each a word or a number in reading order or a stretch of blanks, placed from left to right
// as they stand on the screen. Laid out visually, each run is put in the order its
// characters stand in. In reading order, the runs of a right-to-left page are written from
// its right end, between right-to-left marks: a display that applies the Unicode
// Bidirectional Algorithm shows the same cells, whether it takes the line as right to left
// or, as VTE does unless told otherwise, as a left-to-right line holding one right-to-left
// run. Marks rather than isolates, which mlterm 3.9 draws as boxes; as few as will do, since
// less counts each as a column.
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
    bool hasRightToLeft() const;
    // The runs in the order they stand, each written as `text` gives it.
    template<typename Text>
    std::string joined(const LineLayout &layout, Text text, bool trimmed = true) const;

    struct Run
    {
        std::string text; // in reading order
        Style style;
        bool blank;
    };
    std::vector<Run> m_runs;
};

} // namespace taqwim_cal
