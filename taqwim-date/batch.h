#pragma once

#include "conversion.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace taqwim_date {

// Standard output written a large block at a time, so that a column of a million dates does
// not cost a system call each; before anything is written to it.
void bufferStandardOutput();

// The program's output through stdio. The first write that fails is told once, and from
// then on nothing more is written.
class Output
{
public:
    explicit Output(std::FILE *stream = stdout);

    void write(std::string_view text);
    // Writes what is kept: false, with the reason told, when the output did not take it.
    bool flush();
    bool failed() const { return m_failed; }

private:
    void fail();

    std::FILE *m_stream;
    bool m_failed = false;
};

// One line out for every line in, in order, so that the output stays beside its column: a
// line that names no day gives an empty line, and a message with its number, written after
// the answers before it. Each answer is written out before the program waits for more
// input, so that a terminal or a program talking to it through pipes sees it at once. Stops
// at the first failed write. Returns the exit status.
int convertLines(const std::string &file, const Conversion &conversion, Output &output);

} // namespace taqwim_date
