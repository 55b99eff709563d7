#include "terminal.h"

#include "program.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

namespace command_line {
namespace {

using namespace std::chrono;

constexpr std::array<int, 4> EndingSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What puts the terminal back, read by the signal handler. It changes only while the ending
// signals are held back, so the handler never sees it half made.
struct Restoration
{
    int fd = -1;
    std::array<char, 64> undo{};
    std::size_t undoLength = 0;
    bool lineSettingsKept = false;
    termios lineSettings{};
};
Restoration restoration;
std::array<struct sigaction, EndingSignals.size()> previousActions{};

// Async-signal-safe: write() alone.
void sendWhole(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes.remove_prefix(std::size_t(written));
    }
}

void putBack()
{
    const Restoration &r = restoration;
    sendWhole(r.fd, {r.undo.data(), r.undoLength});
    if (r.lineSettingsKept)
        ::tcsetattr(r.fd, TCSANOW, &r.lineSettings);
}

extern "C" void putBackAndEnd(int signal)
{
    const int savedErrno = errno;
    putBack();
    errno = savedErrno;
    // SA_RESETHAND has put the usual action back; the signal, held back while this runs,
    // takes it once the handler returns.
    ::raise(signal);
}

// The ending signals held back while it lives.
class HeldSignals
{
public:
    HeldSignals()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : EndingSignals)
            sigaddset(&held, signal);
        ::sigprocmask(SIG_BLOCK, &held, &m_before);
    }
    ~HeldSignals() { ::sigprocmask(SIG_SETMASK, &m_before, nullptr); }
    HeldSignals(const HeldSignals &) = delete;
    HeldSignals &operator=(const HeldSignals &) = delete;

private:
    sigset_t m_before;
};

void catchEndingSignals()
{
    for (std::size_t i = 0; i < EndingSignals.size(); ++i) {
        struct sigaction action = {};
        ::sigaction(EndingSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler == SIG_IGN)
            continue;
        action.sa_handler = putBackAndEnd;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(EndingSignals[i], &action, nullptr);
    }
}

void releaseEndingSignals()
{
    for (std::size_t i = 0; i < EndingSignals.size(); ++i)
        ::sigaction(EndingSignals[i], &previousActions[i], nullptr);
}

bool environmentSays(const char *name, std::string_view startsWith)
{
    const char *value = std::getenv(name);
    return value && std::string_view(value).starts_with(startsWith);
}

// The terminal standard output is written to, opened again to read its answer, where it is
// this program's controlling terminal and the program is in its foreground: reading it from
// the background would stop the program.
int askableTerminal()
{
    const char *const name = ::ttyname(STDOUT_FILENO);
    const int fd = name ? ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (fd >= 0 && ::tcgetpgrp(fd) == ::getpgrp())
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// The terminal's line settings, raw while it lives, so that its answer is read as it comes
// and not shown; put back however the program ends.
class RawInput
{
public:
    explicit RawInput(int fd) : m_guard(fd)
    {
        termios raw{};
        if (::tcgetattr(fd, &raw) != 0)
            return;
        {
            const HeldSignals held;
            restoration.lineSettings = raw;
            restoration.lineSettingsKept = true;
        }
        raw.c_lflag &= tcflag_t(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &raw);
    }

private:
    TerminalGuard m_guard;
};

// What the terminal answers DECRQM for its bidirectional support mode, followed by the
// primary device attributes, which every terminal answers, so that the wait ends as soon
// as it has said all it will.
BidiMode askBidiMode(int fd, milliseconds patience)
{
    const RawInput raw(fd);
    sendWhole(fd, "\x1b[8$p\x1b[c");
    std::string answers;
    const auto deadline = steady_clock::now() + patience;
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        pollfd input{.fd = fd, .events = POLLIN, .revents = 0};
        if (left.count() <= 0 || ::poll(&input, 1, int(left.count())) <= 0)
            break;
        std::array<char, 256> block;
        const ssize_t length = ::read(fd, block.data(), block.size());
        if (length <= 0)
            break;
        answers.append(block.data(), std::size_t(length));
        // The device attributes end the answers: ESC [ ? ... c.
        if (const std::size_t at = answers.find("\x1b[?");
            at != std::string::npos && answers.find('c', at) != std::string::npos)
            break;
    }
    return bidiModeIn(answers);
}

} // namespace

BidiMode bidiModeIn(std::string_view answers)
{
    constexpr std::string_view Start = "\x1b[8;";
    const std::size_t at = answers.find(Start);
    if (at == std::string_view::npos || at + Start.size() + 3 > answers.size()
        || answers.substr(at + Start.size() + 1, 2) != "$y")
        return {};
    // 1 set, 2 reset, 3 set for good, 4 reset for good; 0 a mode the terminal does not know.
    const char state = answers[at + Start.size()];
    return {.known = state >= '1' && state <= '4', .implicit = state == '1' || state == '3'};
}

OutputPlan planOutput(BidiChoice choice, milliseconds patience)
{
    OutputPlan plan;
    plan.terminal = ::isatty(STDOUT_FILENO) == 1;
    plan.dumb = plan.terminal && environmentSays("TERM", "dumb");
    const bool multiplexer = environmentSays("TMUX", "") || environmentSays("TERM", "tmux")
            || environmentSays("TERM", "screen");
    if (choice == BidiChoice::Logical || (choice == BidiChoice::Auto && !plan.terminal))
        return plan;
    if (choice == BidiChoice::Auto && (plan.dumb || multiplexer))
        return plan;
    plan.layout = Layout::Visual;
    if (!plan.terminal || plan.dumb)
        return plan;
    if (const int fd = askableTerminal(); fd >= 0) {
        const BidiMode mode = askBidiMode(fd, patience);
        ::close(fd);
        plan.explicitMode = mode.known && mode.implicit;
    }
    // In the terminal's explicit mode, or in one that never reorders, a message in reading
    // order would show its words backwards.
    if (::isatty(STDERR_FILENO) == 1)
        layOutMessages();
    return plan;
}

TerminalGuard::TerminalGuard(int fd)
{
    const HeldSignals held;
    restoration = Restoration{};
    restoration.fd = fd;
    catchEndingSignals();
}

TerminalGuard::~TerminalGuard()
{
    const HeldSignals held;
    putBack();
    restoration = Restoration{};
    releaseEndingSignals();
}

void TerminalGuard::change(std::string_view change, std::string_view undo)
{
    const HeldSignals held;
    Restoration &r = restoration;
    if (r.undoLength + undo.size() > r.undo.size())
        return; // more than any change a run makes
    sendWhole(r.fd, change);
    // The last change is undone first.
    std::memmove(r.undo.data() + undo.size(), r.undo.data(), r.undoLength);
    std::memcpy(r.undo.data(), undo.data(), undo.size());
    r.undoLength += undo.size();
}

} // namespace command_line
