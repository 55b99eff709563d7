#pragma once

#include "conversion.h"

#include <string>
#include <unistd.h>

namespace taqwim_date {

// The program's output, kept and written a large block at a time: a column of a million
// dates would otherwise cost a system call each. The first write that fails is told once,
// and from then on nothing more is written.
class Output
{
public:
    explicit Output(int fd = STDOUT_FILENO) : m_fd(fd) { }

    // The text kept to be written: lines are added to it in place.
    std::string &pending() { return m_pending; }
    // Writes the kept text once there is a block of it.
    bool flushIfFull();
    // Writes all the kept text: false, with the reason told, when the output did not take it.
    bool flush();
    // flush(), and standard output's own buffer too (--help): whether everything was written.
    bool finish();
    bool failed() const { return m_failed; }

private:
    int m_fd;
    std::string m_pending;
    bool m_failed = false;
};

// One line out for every line in, in order, so that the output stays beside its column: a
// line that names no day gives an empty line, and a message with its number, written after
// the answers before it. Each answer is written out before the program waits for more
// input, so that a terminal or a program talking to it through pipes sees it at once. Stops
// at the first failed write. Returns the exit status.
int convertLines(const std::string &file, const Conversion &conversion, Output &output);

} // namespace taqwim_date
