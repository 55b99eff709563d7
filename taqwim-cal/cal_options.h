#pragma once

#include "command_line/digits.h"
#include "command_line/keeping.h"
#include "command_line/program.h"
#include "command_line/terminal.h"

#include "calendar/civil_date.h"

#include <chrono>
#include <optional>
#include <string>

namespace taqwim_cal {

enum class Output { Grid, Occasions, ICalendar };
enum class Colour { Auto, Always, Never };

struct Options
{
    using Action = command_line::Action;
    Action action = Action::Show;
    Output output = Output::Grid;
    bool everyDay = false; // --days
    calendar::Calendar calendar = calendar::Calendar::Hijri; // -g: Gregorian
    bool wholeYear = false; // -y, or a YEAR alone
    std::optional<int> month; // the operands, as numbers
    std::optional<int> year;
    int monthsBefore = 0; // -B, -3
    int monthsAfter = 0; // -A, -3
    bool aroundGiven = false; // one of -3, -A, -B
    std::optional<std::string> from; // --from and --until, as written
    std::optional<std::string> until;
    std::optional<std::chrono::weekday> firstDayOfWeek; // -s, -S, -M
    Colour colour = Colour::Auto;
    command_line::Digits digits = command_line::Digits::Latin;
    command_line::KeepingOptions keeping;
    command_line::BidiChoice bidi = command_line::BidiChoice::Auto;
};

// Throws command_line::UsageError for anything the command line cannot mean. A month or a
// year out of range is not its business: that is a month that does not exist.
Options readOptions(int argc, char *argv[]);

} // namespace taqwim_cal
