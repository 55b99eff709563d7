#include "terminal_text.h"

#include <algorithm>
#include <utility>

namespace taqwim_cal {
namespace {

// The escape sequences that turn a style on and off again.
std::pair<std::string_view, std::string_view> escapesOf(Style style)
{
    switch (style) {
    case Style::Faint:
        return {"\x1b[2m", "\x1b[22m"};
    case Style::Reverse:
        return {"\x1b[7m", "\x1b[27m"};
    case Style::Plain:
        break;
    }
    return {};
}

} // namespace

TerminalLine &TerminalLine::add(std::string text, Style style)
{
    m_runs.push_back({std::move(text), style, false});
    return *this;
}

TerminalLine &TerminalLine::addBlanks(int count)
{
    if (count > 0)
        m_runs.push_back({std::string(std::size_t(count), ' '), Style::Plain, true});
    return *this;
}

TerminalLine &TerminalLine::add(const TerminalLine &line)
{
    m_runs.insert(m_runs.end(), line.m_runs.begin(), line.m_runs.end());
    return *this;
}

std::string TerminalLine::shown(bool rightToLeft) const
{
    std::string text;
    for (const Run &run : m_runs)
        text += run.blank ? run.text : command_line::visualOrder(run.text, rightToLeft);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string TerminalLine::written(const LineLayout &layout) const
{
    if (layout.layout == Layout::Visual)
        return command_line::heldAsLaidOut(joined(layout, [&](const Run &run) {
            return run.blank ? run.text : command_line::visualOrder(run.text, layout.rightToLeft);
        }));
    if (!layout.rightToLeft) {
        // Arabic-Indic digits between blanks would be taken for one right-to-left run: a
        // left-to-right mark after each number keeps them apart.
        const bool marked = hasRightToLeft();
        return joined(layout, [&](const Run &run) {
            return marked && !run.blank ? run.text + std::string(command_line::LeftToRightMark)
                                        : run.text;
        });
    }
    // A right-to-left line in reading order starts from its right end, and keeps the blanks
    // at its left: between right-to-left marks, a display that keeps every line left to right
    // (VTE, unless told otherwise) shows it whole as one right-to-left run, its cells where
    // they belong, as one that takes the line as right to left does. A blank comes first,
    // since tmux drops a mark that stands first on a line.
    TerminalLine fromTheRight;
    fromTheRight.m_runs.assign(m_runs.rbegin(), m_runs.rend());
    const std::string line = fromTheRight.joined(
            layout, [](const Run &run) { return run.text; }, false);
    const std::string mark(command_line::RightToLeftMark);
    return " " + mark + line + (m_runs.empty() || !m_runs.front().blank ? "" : mark);
}

template<typename Text>
std::string TerminalLine::joined(const LineLayout &layout, Text text, bool trimmed) const
{
    auto end = m_runs.end();
    // The blanks at the end of the line, as written, are left out.
    while (trimmed && end != m_runs.begin() && (end - 1)->blank)
        --end;
    std::string out;
    for (auto run = m_runs.begin(); run != end; ++run) {
        const auto [on, off] = layout.styled ? escapesOf(run->style) : escapesOf(Style::Plain);
        out.append(on).append(text(*run)).append(off);
    }
    return out;
}

bool TerminalLine::hasRightToLeft() const
{
    return std::ranges::any_of(
            m_runs, [](const Run &run) { return command_line::hasRightToLeft(run.text); });
}

} // namespace taqwim_cal
