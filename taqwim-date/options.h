#pragma once

#include "output_format.h"

#include "command_line/keeping.h"
#include "command_line/program.h"
#include "command_line/terminal.h"

#include "calendar/civil_date.h"

#include <optional>
#include <string>

namespace taqwim_date {

struct Options
{
    using Action = command_line::Action;
    Action action = Action::Show;
    // Where the day comes from: one of these, or today.
    std::optional<std::string> date; // -d
    std::optional<std::string> file; // -f
    std::optional<std::string> reference; // -r: the file's last change
    std::optional<std::string> since; // --since: the time from it to the date is shown
    bool hijri = false; // -H: DATE and FILE's dates are Hijri
    bool utc = false; // -u
    std::optional<calendar::Calendar> to;
    std::optional<std::string> format; // +FORMAT or -I
    bool iso = false; // the format is -I's
    Digits digits = Digits::Latin;
    command_line::KeepingOptions keeping;
    command_line::BidiChoice bidi = command_line::BidiChoice::Auto;
};

// Throws command_line::UsageError for anything the command line cannot mean.
Options readOptions(int argc, char *argv[]);

// The calendar of the dates read (-H) and the one FORMAT prints: --to's, else the other one,
// whichever way the date comes (today, -d, -f, -r); for the time since a date, --to's, else
// the Hijri one.
calendar::Calendar inputCalendar(const Options &options);
calendar::Calendar printedCalendar(const Options &options);

} // namespace taqwim_date
