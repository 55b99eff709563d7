#pragma once

#include "digits.h"
#include "keeping.h"
#include "terminal.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string_view>

// Reading a command line as GNU programs do: getopt_long, with its abbreviations of long
// options, its permutation of operands and its optional arguments (-Idate, --iso-8601=date),
// and its refusals worded as GNU's are (an unrecognized or ambiguous option, one that needs
// an argument or allows none), but in the user's language and with the user's text quoted.
namespace command_line {

// Called for each option in turn with getopt_long's value for it and its argument (or
// nullptr); returns false to stop reading, as --help does.
using OptionHandler = std::function<bool(int option, const char *argument)>;

// Returns the index in argv of the first operand; every operand follows it. Throws
// UsageError for an option getopt_long refuses; longOptions ends with getopt's all-zero entry.
int readOptions(int argc, char *argv[], const char *shortOptions,
                std::span<const option> longOptions, const OptionHandler &handle);

// "extra operand 'x'", for an operand the program takes no meaning from.
[[noreturn]] void refuseOperand(std::string_view operand);
// "invalid argument 'x' for '--iso-8601'; valid arguments are: 'date' 'hours'".
[[noreturn]] void refuseArgument(std::string_view argument, std::string_view option,
                                 std::span<const std::string_view> validArguments);

// The values of the options both programs take alike:
// --digits=latin|arabic|persian|locale
Digits digitsNamed(std::string_view name);
// --adjust=N: whole days the Hijri calendar is moved by, -2 to 2
int hijriShiftNamed(std::string_view text);
// --bidi=auto|logical|visual
BidiChoice bidiNamed(std::string_view name);
// --calendar=umalqura|civil|tbla
calendar::HijriVariant variantOption(std::string_view name);
// --location=LAT,LON
NamedPlace placeOption(std::string_view text);

// The help of the options every program takes alike.
void showSharedOptionsHelp();

// getopt_long's values for the long options every program takes alike, apart from those a
// program gives its own long options (256 on).
enum SharedOption {
    DigitsOption = 1024,
    AdjustOption,
    BidiOption,
    CalendarOption,
    MonthsOption,
    LocationOption,
    SunsetOption,
    NoSunsetOption,
    DebugOption,
    HelpOption,
    VersionOption,
};

inline constexpr std::array<option, 12> SharedLongOptions{{
        {"digits", required_argument, nullptr, DigitsOption},
        {"adjust", required_argument, nullptr, AdjustOption},
        {"bidi", required_argument, nullptr, BidiOption},
        {"calendar", required_argument, nullptr, CalendarOption},
        {"months", required_argument, nullptr, MonthsOption},
        {"location", required_argument, nullptr, LocationOption},
        {"sunset", no_argument, nullptr, SunsetOption},
        {"no-sunset", no_argument, nullptr, NoSunsetOption},
        {"debug", no_argument, nullptr, DebugOption},
        {"help", no_argument, nullptr, HelpOption},
        {"version", no_argument, nullptr, VersionOption},
        {nullptr, 0, nullptr, 0},
}};

// A program's own long options followed by those every program takes, as getopt_long wants
// them: ended by the all-zero entry.
template<std::size_t Own>
constexpr std::array<option, Own + SharedLongOptions.size()>
withSharedOptions(const std::array<option, Own> &own)
{
    std::array<option, Own + SharedLongOptions.size()> all{};
    std::ranges::copy(SharedLongOptions, std::ranges::copy(own, all.begin()).out);
    return all;
}

// Takes the options every program takes alike into a program's options (their digits, bidi,
// action, and keeping: how the Hijri calendar is kept); any other option is left alone.
// Returns false to stop reading, as --help and --version do.
template<typename Options> bool takeSharedOption(Options &options, int option, const char *argument)
{
    switch (option) {
    case DigitsOption:
        options.digits = digitsNamed(argument);
        break;
    case AdjustOption:
        options.keeping.hijriShift = hijriShiftNamed(argument);
        break;
    case BidiOption:
        options.bidi = bidiNamed(argument);
        break;
    case CalendarOption:
        options.keeping.variant = variantOption(argument);
        break;
    case MonthsOption:
        options.keeping.monthsFile = argument;
        break;
    case LocationOption:
        options.keeping.place = placeOption(argument);
        break;
    case SunsetOption:
    case NoSunsetOption:
        options.keeping.sunset = option == SunsetOption;
        break;
    case DebugOption:
        options.keeping.debug = true;
        break;
    case HelpOption:
        options.action = Options::Action::Help;
        return false;
    case VersionOption:
        options.action = Options::Action::Version;
        return false;
    }
    return true;
}

} // namespace command_line
