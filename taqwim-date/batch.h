#pragma once

#include "conversion.h"

#include "command_line/output.h"

#include <string>
#include <string_view>

namespace taqwim_date {

// One line out for every line in, in order, so that the output stays beside its column: a
// line that names no day gives an empty line, and a message with its number, written after
// the answers before it. Each answer is written out before the program waits for more
// input, so that a terminal or a program talking to it through pipes sees it at once. Stops
// at the first failed write. Returns the exit status.
int convertLines(const std::string &file, const Conversion &conversion,
                 command_line::Output &output);

} // namespace taqwim_date
