#include "terminal_text.h"

#include <algorithm>
#include <utility>

namespace taqwim_cal {
namespace {

using command_line::isolated;

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
    const bool logical = layout.layout == Layout::Logical;
    const bool fromTheRight = logical && layout.rightToLeft;
    std::vector<const Run *> runs;
    for (const Run &run : m_runs)
        runs.push_back(&run);
    if (fromTheRight)
        std::ranges::reverse(runs);
    // The blanks at the end of the line, as written, are left out.
    while (!runs.empty() && runs.back()->blank)
        runs.pop_back();
    std::string out;
    for (const Run *run : runs) {
        const auto [on, off] = layout.styled ? escapesOf(run->style) : escapesOf(Style::Plain);
        std::string text = run->text;
        if (!run->blank && !logical)
            text = command_line::visualOrder(text, layout.rightToLeft);
        else if (!run->blank && (fromTheRight || command_line::hasRightToLeft(text)))
            text = isolated(text);
        out.append(on).append(text).append(off);
    }
    if (!logical)
        return command_line::heldAsLaidOut(std::move(out));
    return fromTheRight ? std::string(command_line::RightToLeftMark) + out : out;
}

} // namespace taqwim_cal
