#include "cal_options.h"

#include "command_line/options.h"
#include "command_line/program.h"

#include "calendar/numerals.h"

#include <array>
#include <span>
#include <string_view>

namespace taqwim_cal {
namespace {

using command_line::formatted;
using command_line::quotedText;
using command_line::UsageError;

enum LongOnly {
    ColourOption = 256,
    OccasionsOption,
    ICalendarOption,
    DaysOption,
    From,
    Until,
};

constexpr auto longOptions = command_line::withSharedOptions<13>({{
        {"gregorian", no_argument, nullptr, 'g'},
        {"year", no_argument, nullptr, 'y'},
        {"after", required_argument, nullptr, 'A'},
        {"before", required_argument, nullptr, 'B'},
        {"saturday", no_argument, nullptr, 's'},
        {"sunday", no_argument, nullptr, 'S'},
        {"monday", no_argument, nullptr, 'M'},
        {"color", optional_argument, nullptr, ColourOption},
        {"occasions", no_argument, nullptr, OccasionsOption},
        {"ics", no_argument, nullptr, ICalendarOption},
        {"days", no_argument, nullptr, DaysOption},
        {"from", required_argument, nullptr, From},
        {"until", required_argument, nullptr, Until},
}});

int monthsNamed(std::string_view text, const char *option)
{
    if (const std::optional<int> months = calendar::wholeNumber<int>(text))
        return *months;
    throw UsageError(
            formatted(_("%s takes a number of months, not %s"), option, quotedText(text).c_str()));
}

Colour colourNamed(const char *argument)
{
    static constexpr std::array<std::string_view, 3> names{"auto", "always", "never"};
    const std::string_view name = argument ? argument : "always";
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name == names[i])
            return Colour(i);
    command_line::refuseArgument(name, "--color", names);
}

void takeOperands(Options &options, int argc, char *argv[], int first)
{
    if (argc - first > 2)
        command_line::refuseOperand(argv[first + 2]);
    std::array<std::optional<int> *, 2> fields{&options.month, &options.year};
    const bool yearAlone = argc - first == 1;
    for (int i = first; i < argc; ++i) {
        const std::optional<int> number = calendar::wholeNumber<int>(std::string_view(argv[i]));
        const bool isYear = yearAlone || i == first + 1;
        if (!number)
            throw UsageError(formatted(isYear ? _("the year %s is not a number")
                                              : _("the month %s is not a number"),
                                       quotedText(argv[i]).c_str()));
        *fields[isYear ? 1 : 0] = number;
    }
    options.wholeYear = options.wholeYear || yearAlone;
}

void checkTogether(const Options &options)
{
    if (options.everyDay && options.output != Output::ICalendar)
        throw UsageError(_("--days goes with --ics"));
    if (options.from.has_value() != options.until.has_value())
        throw UsageError(_("--from and --until go together"));
    if (options.from && (options.year || options.wholeYear || options.aroundGiven))
        throw UsageError(_("--from and --until take the place of a month, a year, -y, -3, -A "
                           "and -B"));
}

void setOutput(Options &options, Output output)
{
    if (options.output != Output::Grid && options.output != output)
        throw UsageError(_("--occasions and --ics cannot be used together"));
    options.output = output;
}

} // namespace

Options readOptions(int argc, char *argv[])
{
    Options options;
    const auto handle = [&](int option, const char *argument) {
        switch (option) {
        case 'g':
            options.calendar = calendar::Calendar::Gregorian;
            break;
        case 'y':
            options.wholeYear = true;
            break;
        case '3':
            options.monthsBefore = options.monthsAfter = 1;
            options.aroundGiven = true;
            break;
        case 'A':
            options.monthsAfter = monthsNamed(argument, "-A");
            options.aroundGiven = true;
            break;
        case 'B':
            options.monthsBefore = monthsNamed(argument, "-B");
            options.aroundGiven = true;
            break;
        case 's':
            options.firstDayOfWeek = std::chrono::Saturday;
            break;
        case 'S':
            options.firstDayOfWeek = std::chrono::Sunday;
            break;
        case 'M':
            options.firstDayOfWeek = std::chrono::Monday;
            break;
        case ColourOption:
            options.colour = colourNamed(argument);
            break;
        case OccasionsOption:
            setOutput(options, Output::Occasions);
            break;
        case ICalendarOption:
            setOutput(options, Output::ICalendar);
            break;
        case DaysOption:
            options.everyDay = true;
            break;
        case From:
            options.from = argument;
            break;
        case Until:
            options.until = argument;
            break;
        default:
            return command_line::takeSharedOption(options, option, argument);
        }
        return true;
    };
    const int first = command_line::readOptions(argc, argv, "gy3A:B:sSM", longOptions, handle);
    if (options.action != Options::Action::Show)
        return options;
    takeOperands(options, argc, argv, first);
    checkTogether(options);
    return options;
}

} // namespace taqwim_cal
