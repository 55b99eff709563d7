#pragma once

#include <chrono>
#include <string_view>

// Where the text goes, and what the program changes on a terminal.
//
// Text in a right-to-left language reaches its reader in one of two layouts. In reading
// order (logical), as a file, a pipe, an editor, a browser and a terminal that applies the
// Unicode bidirectional algorithm itself (VTE, Konsole, mlterm) take it. Or laid out by the
// program cell by cell as it stands from left to right, with the Arabic letters in the forms
// they take in place (visual), for a terminal that shows characters in the order they come
// (xterm, the Linux console). A terminal that reorders text unless told not to (ECMA-48's
// bidirectional support mode, BDSM, which VTE has) is switched to its explicit mode for
// visual text, and back again however the run ends.
namespace command_line {

enum class Layout { Logical, Visual };

// --bidi=auto|logical|visual
enum class BidiChoice { Auto, Logical, Visual };

// How a run writes to its standard output.
struct OutputPlan
{
    bool terminal = false; // standard output is a terminal
    bool dumb = false; // TERM=dumb: a terminal that takes no escape sequences
    Layout layout = Layout::Logical;
    // Visual text to a terminal that would reorder it: written in its explicit mode.
    bool explicitMode = false;
};

// The plan for standard output. With auto, logical for anything but a terminal; on a terminal
// what suits it, by what it says of itself when asked through DECRQM (at most `patience`
// for its answer): visual, in explicit mode where it has BDSM; logical inside tmux or screen,
// which pass text on to a terminal they cannot ask, and on TERM=dumb. Visual on a terminal,
// messages to a terminal are laid out too.
OutputPlan planOutput(BidiChoice choice,
                      std::chrono::milliseconds patience = std::chrono::milliseconds(300));

// What a terminal answers a question about ECMA-48's bidirectional support mode ("\e[8;1$y"
// among whatever else it sends): whether it has the mode, and whether it is set (implicit).
struct BidiMode
{
    bool known = false;
    bool implicit = false;
};
BidiMode bidiModeIn(std::string_view answers);

// Whatever a run changes on its terminal, put back when it ends: at the end of the scope,
// and on SIGINT, SIGTERM, SIGHUP and SIGPIPE by a handler that puts it back with
// async-signal-safe calls and then lets the signal take its course (a signal ignored when
// the program started, as nohup ignores SIGHUP, stays ignored). Changes are sent with those
// signals held back, so that neither a change nor its undoing is ever half-sent. One at a
// time.
class TerminalGuard
{
public:
    explicit TerminalGuard(int fd);
    ~TerminalGuard();
    TerminalGuard(const TerminalGuard &) = delete;
    TerminalGuard &operator=(const TerminalGuard &) = delete;

    // Sends `change` to the terminal now, and `undo` when the run ends.
    void change(std::string_view change, std::string_view undo);
};

} // namespace command_line
