#pragma once

#include "conversion.h"

#include <cstdio>
#include <string>

namespace taqwim_date {

// Standard output, written a large block at a time: a column of a million dates would
// otherwise cost a system call each.
class Output
{
public:
    std::string &text() { return m_text; }
    void flushIfFull();
    // Writes what is left; false, with the reason told, when standard output did not take it.
    bool finish();

private:
    std::string m_text;
};

// One line out for every line in, in order, so that the output stays beside its column: a
// line that names no day gives an empty line, and a message with its number. Returns the
// exit status.
int convertLines(const std::string &file, const Conversion &conversion, Output &output);

} // namespace taqwim_date
