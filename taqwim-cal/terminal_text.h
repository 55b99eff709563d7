#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text for a terminal, in the order its characters stand on the screen from left to right.
//
// Terminals come in two kinds. Some apply the Unicode bidirectional algorithm to each line
// (Konsole, GNOME Terminal and other VTE ones, mlterm); most show the characters in the
// order they arrive, one a cell from the left (xterm, the Linux console, tmux, screen).
// Text in reading order, with direction marks and isolates, reads right only on the first
// kind: on the second, every Arabic word and the order of the weekdays come out backwards,
// and no mark can help. So the lines are laid out here, in the order the cells take from
// left to right, with the Arabic letters in the joined forms they have in place (their
// presentation forms), since a terminal that does not reorder does not join letters either.
// The second kind shows that as it is. For the first kind each line that the algorithm
// would reorder is held in a left-to-right override (U+202D ... U+202C), after a
// left-to-right mark that makes it a left-to-right paragraph wherever the terminal guesses
// the direction of a line; and on a terminal the whole text is written in the explicit
// mode of ECMA-48 (BDSM) that VTE takes, in which the terminal reorders nothing.
namespace taqwim_cal {

// The text of a reading-order string as it stands from left to right, in a paragraph of
// the direction given.
std::string visualOrder(std::string_view logicalText, bool rightToLeft);

// The cells a text takes on a terminal: two for wide East Asian characters, none for
// marks and format characters.
int cellWidth(std::string_view text);

enum class Style { Plain, Faint, Reverse };

// One line of a terminal, in visual order.
class TerminalLine
{
public:
    TerminalLine &add(std::string visualText, Style style = Style::Plain);
    TerminalLine &addBlanks(int count);
    TerminalLine &add(const TerminalLine &line);
    // What a terminal shows, without styles or trailing blanks.
    std::string shown() const;
    // The bytes that show it; the styles as escape sequences or not at all.
    std::string written(bool styled) const;

private:
    struct Run
    {
        std::string text;
        Style style;
    };
    std::vector<Run> m_runs;
};

// The lines, one after the other; on a terminal (ECMA-48) in explicit bidirectional mode.
std::string terminalText(const std::vector<TerminalLine> &lines, bool styled, bool toTerminal);

} // namespace taqwim_cal
