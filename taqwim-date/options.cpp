#include "options.h"

#include "command_line/options.h"
#include "command_line/program.h"

#include <array>
#include <string_view>

namespace taqwim_date {
namespace {

using command_line::formatted;
using command_line::quotedText;
using command_line::UsageError;

enum LongOnly { To = 256, Since };

constexpr auto longOptions = command_line::withSharedOptions<10>({{
        {"date", required_argument, nullptr, 'd'},
        {"file", required_argument, nullptr, 'f'},
        {"reference", required_argument, nullptr, 'r'},
        {"hijri", no_argument, nullptr, 'H'},
        {"iso-8601", optional_argument, nullptr, 'I'},
        {"iso", optional_argument, nullptr, 'I'},
        {"utc", no_argument, nullptr, 'u'},
        {"universal", no_argument, nullptr, 'u'},
        {"to", required_argument, nullptr, To},
        {"since", required_argument, nullptr, Since},
}});

calendar::Calendar calendarNamed(std::string_view name)
{
    if (name == "hijri")
        return calendar::Calendar::Hijri;
    if (name == "gregorian")
        return calendar::Calendar::Gregorian;
    throw UsageError(
            formatted(_("--to takes hijri or gregorian, not %s"), quotedText(name).c_str()));
}

// -I's precisions, as GNU date has them; like GNU date, any unambiguous start of one will do.
struct IsoPrecision
{
    std::string_view name;
    const char *format;
};
constexpr std::array<IsoPrecision, 5> IsoPrecisions{{
        {"date", "%F"},
        {"hours", "%FT%H%:z"},
        {"minutes", "%FT%H:%M%:z"},
        {"seconds", "%FT%H:%M:%S%:z"},
        {"ns", "%FT%H:%M:%S,%N%:z"},
}};

const char *isoFormat(const char *precision)
{
    if (!precision)
        return IsoPrecisions.front().format;
    const std::string_view written = precision;
    const IsoPrecision *found = nullptr;
    int starting = 0;
    for (const IsoPrecision &known : IsoPrecisions) {
        if (known.name == written)
            return known.format;
        if (!written.empty() && known.name.starts_with(written)) {
            found = &known;
            ++starting;
        }
    }
    if (starting == 1)
        return found->format;
    std::array<std::string_view, IsoPrecisions.size()> names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = IsoPrecisions[i].name;
    command_line::refuseArgument(written, "--iso-8601", names);
}

void setOnce(std::optional<std::string> &setting, std::string value, const char *refusal)
{
    if (setting)
        throw UsageError(refusal);
    setting = std::move(value);
}

bool take(Options &options, int option, const char *argument)
{
    switch (option) {
    case 'd':
        options.date = argument;
        break;
    case 'f':
        options.file = argument;
        break;
    case 'r':
        options.reference = argument;
        break;
    case 'H':
        options.hijri = true;
        break;
    case 'I':
        setOnce(options.format, isoFormat(argument), _("multiple output formats specified"));
        options.iso = true;
        break;
    case 'u':
        options.utc = true;
        break;
    case To:
        options.to = calendarNamed(argument);
        break;
    case Since:
        options.since = argument;
        break;
    default:
        return command_line::takeSharedOption(options, option, argument);
    }
    return true;
}

} // namespace

Options readOptions(int argc, char *argv[])
{
    Options options;
    const int operands = command_line::readOptions(
            argc, argv, "d:f:r:HI::u", longOptions,
            [&](int option, const char *argument) { return take(options, option, argument); });
    for (int i = operands; i < argc; ++i) {
        if (argv[i][0] != '+')
            command_line::refuseOperand(argv[i]);
        setOnce(options.format, argv[i] + 1, _("multiple output formats specified"));
    }
    if (int(options.date.has_value()) + int(options.file.has_value())
                + int(options.reference.has_value())
        > 1)
        throw UsageError(_("the options to specify dates for printing are mutually exclusive"));
    if (options.since && options.format && options.iso)
        throw UsageError(_("--since prints the time between two dates, which -I cannot write"));
    return options;
}

calendar::Calendar inputCalendar(const Options &options)
{
    return options.hijri ? calendar::Calendar::Hijri : calendar::Calendar::Gregorian;
}

calendar::Calendar printedCalendar(const Options &options)
{
    if (options.since)
        return options.to.value_or(calendar::Calendar::Hijri);
    return options.to.value_or(calendar::otherCalendar(inputCalendar(options)));
}

} // namespace taqwim_date
