#pragma once

#include <cstdio>
#include <string_view>

// What a program writes to standard output.
namespace command_line {

// Standard output written a large block at a time, so that a column of a million dates does
// not cost a system call each; before anything is written to it.
void bufferStandardOutput();

// A program's output through stdio. The first write that fails is told once, and from then
// on nothing more is written. The text is UTF-8: where the locale's character set is another,
// the program says so once, the first time it writes a character beyond ASCII.
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
    bool m_toldCharacterSet;
};

} // namespace command_line
