#include "options.h"

#include "messages.h"

#include <getopt.h>

#include <array>
#include <charconv>
#include <string_view>

namespace taqwim_date {
namespace {

enum LongOnly { To = 256, DigitsOption, Adjust, Help, Version };

constexpr std::array<option, 10> longOptions{{
        {"date", required_argument, nullptr, 'd'},
        {"file", required_argument, nullptr, 'f'},
        {"hijri", no_argument, nullptr, 'H'},
        {"iso", no_argument, nullptr, 'I'},
        {"to", required_argument, nullptr, To},
        {"digits", required_argument, nullptr, DigitsOption},
        {"adjust", required_argument, nullptr, Adjust},
        {"help", no_argument, nullptr, Help},
        {"version", no_argument, nullptr, Version},
        {nullptr, 0, nullptr, 0},
}};

calendar::Calendar calendarNamed(std::string_view name)
{
    if (name == "hijri")
        return calendar::Calendar::Hijri;
    if (name == "gregorian")
        return calendar::Calendar::Gregorian;
    throw UsageError(printed(_("--to takes hijri or gregorian, not %s"), quotedText(name).c_str()));
}

Digits digitsNamed(std::string_view name)
{
    if (name == "latin")
        return Digits::Latin;
    if (name == "arabic")
        return Digits::Arabic;
    throw UsageError(printed(_("--digits takes latin or arabic, not %s"), quotedText(name).c_str()));
}

int shiftNamed(std::string_view text)
{
    const std::string_view number = text.starts_with('+') ? text.substr(1) : text;
    int shift = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), shift);
    const bool whole = !number.empty() && number.front() != (text.starts_with('+') ? '-' : '+')
            && error == std::errc() && end == number.data() + number.size();
    if (!whole || shift < -2 || shift > 2)
        throw UsageError(printed(_("--adjust takes a whole number of days from -2 to 2, not %s"),
                                 quotedText(text).c_str()));
    return shift;
}

void setFormat(Options &options, std::string format)
{
    if (options.format)
        throw UsageError(_("only one output format may be given"));
    options.format = std::move(format);
}

std::string longNameOf(int value)
{
    for (const option &known : longOptions)
        if (known.name && known.val == value)
            return std::string("--") + known.name;
    return {};
}

// getopt_long leaves what went wrong in optopt: 0 for a long option it does not know, the
// option's value for a long option given a value it takes none of, and the letter itself
// for an unknown short one.
[[noreturn]] void refuse(int result, std::string_view given)
{
    if (result == ':')
        throw UsageError(printed(_("option %s needs a value"), quotedText(longNameOf(optopt)).c_str()));
    if (optopt == 0)
        throw UsageError(
                printed(_("unknown option %s"), quotedText(given.substr(0, given.find('='))).c_str()));
    if (const std::string name = longNameOf(optopt); !name.empty())
        throw UsageError(printed(_("option %s takes no value"), quotedText(name).c_str()));
    throw UsageError(
            printed(_("unknown option %s"), quotedText(std::string{'-', char(optopt)}).c_str()));
}

} // namespace

Options readOptions(int argc, char *argv[])
{
    Options options;
    opterr = 0; // its own messages are neither one line each nor in the user's language
    for (int option;
         (option = getopt_long(argc, argv, ":d:f:HI", longOptions.data(), nullptr)) != -1;) {
        switch (option) {
        case 'd':
            options.date = optarg;
            break;
        case 'f':
            options.file = optarg;
            break;
        case 'H':
            options.hijri = true;
            break;
        case 'I':
            setFormat(options, "%F");
            break;
        case To:
            options.to = calendarNamed(optarg);
            break;
        case DigitsOption:
            options.digits = digitsNamed(optarg);
            break;
        case Adjust:
            options.hijriShift = shiftNamed(optarg);
            break;
        case Help:
            options.action = Options::Action::Help;
            return options;
        case Version:
            options.action = Options::Action::Version;
            return options;
        default:
            refuse(option, argv[optind - 1]);
        }
    }
    for (int i = optind; i < argc; ++i) {
        if (argv[i][0] != '+')
            throw UsageError(printed(_("extra operand %s"), quotedText(argv[i]).c_str()));
        setFormat(options, argv[i] + 1);
    }
    if (options.date && options.file)
        throw UsageError(_("--date and --file cannot be used together"));
    return options;
}

} // namespace taqwim_date
