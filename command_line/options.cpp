#include "options.h"

#include "locale.h"
#include "program.h"

#include "calendar/numerals.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace command_line {
namespace {

// The long options whose names begin with what was written, or the one named in full.
std::vector<const option *> optionsMatching(std::string_view written,
                                            std::span<const option> longOptions)
{
    std::vector<const option *> matching;
    for (const option &known : longOptions) {
        if (!known.name)
            break;
        const std::string_view name = known.name;
        if (name == written)
            return {&known};
        if (name.starts_with(written))
            matching.push_back(&known);
    }
    return matching;
}

// getopt_long takes the first of several matches without complaint when they all mean the
// same (--iso for --iso-8601); otherwise the abbreviation is ambiguous.
bool ambiguous(const std::vector<const option *> &matching)
{
    for (const option *other : matching)
        if (other->has_arg != matching.front()->has_arg || other->val != matching.front()->val
            || other->flag != matching.front()->flag)
            return true;
    return false;
}

std::string quotedList(std::span<const std::string_view> texts)
{
    std::string list;
    for (const std::string_view text : texts)
        list.append(" ").append(quotedText(text));
    return list;
}

[[noreturn]] void refuseLongOption(std::string_view given, std::span<const option> longOptions)
{
    const std::string_view written = given.substr(2, given.find('=') - 2);
    const std::vector<const option *> matching = optionsMatching(written, longOptions);
    if (matching.empty())
        throw UsageError(formatted(_("unrecognized option %s"), quotedText(given).c_str()));
    const std::string name = std::string("--") + matching.front()->name;
    if (ambiguous(matching)) {
        std::vector<std::string> names;
        for (const option *candidate : matching)
            names.push_back(std::string("--") + candidate->name);
        const std::vector<std::string_view> views(names.begin(), names.end());
        throw UsageError(formatted(_("option %s is ambiguous; possibilities:%s"),
                                   quotedText(given).c_str(), quotedList(views).c_str()));
    }
    if (matching.front()->has_arg == no_argument)
        throw UsageError(
                formatted(_("option %s doesn't allow an argument"), quotedText(name).c_str()));
    throw UsageError(formatted(_("option %s requires an argument"), quotedText(name).c_str()));
}

// getopt_long says only that something went wrong ('?', or ':' for a missing argument) and
// leaves in optopt the letter, 0 for a long option it could not tell, or the value of a long
// option given an argument it allows none of. Which long option was meant is worked out again
// from the text, as getopt_long itself does; it has stepped past a long option by then, but
// may still be within a group of letters (-Hx).
[[noreturn]] void refuse(int result, std::string_view last, std::span<const option> longOptions)
{
    const auto isLongValue = [&](int value) {
        for (const option &known : longOptions)
            if (known.name && known.val == value)
                return true;
        return false;
    };
    const bool longOption
            = result == ':' ? last.starts_with("--") : optopt == 0 || isLongValue(optopt);
    if (longOption)
        refuseLongOption(last, longOptions);
    const std::string letter{char(optopt)};
    if (result == ':')
        throw UsageError(
                formatted(_("option requires an argument -- %s"), quotedText(letter).c_str()));
    throw UsageError(formatted(_("invalid option -- %s"), quotedText(letter).c_str()));
}

} // namespace

int readOptions(int argc, char *argv[], const char *shortOptions,
                std::span<const option> longOptions, const OptionHandler &handle)
{
    opterr = 0; // its own messages are neither in the user's language nor quoted
    optind = 0; // from the start, wherever an earlier reading stopped
    const std::string optionString = std::string(":") + shortOptions;
    for (int result;
         (result = getopt_long(argc, argv, optionString.c_str(), longOptions.data(), nullptr))
         != -1;) {
        if (result == '?' || result == ':')
            refuse(result, argv[optind - 1], longOptions);
        if (!handle(result, optarg))
            return argc;
    }
    return optind;
}

void refuseOperand(std::string_view operand)
{
    throw UsageError(formatted(_("extra operand %s"), quotedText(operand).c_str()));
}

void refuseArgument(std::string_view argument, std::string_view option,
                    std::span<const std::string_view> validArguments)
{
    throw UsageError(formatted(_("invalid argument %s for %s; valid arguments are:%s"),
                               quotedText(argument).c_str(), quotedText(option).c_str(),
                               quotedList(validArguments).c_str()));
}

Digits digitsNamed(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> names{"latin", "arabic", "persian", "locale"};
    if (name == names[0])
        return Digits::Latin;
    if (name == names[1])
        return Digits::Arabic;
    if (name == names[2])
        return Digits::Persian;
    if (name == names[3])
        return localeDigits(timeLocale());
    refuseArgument(name, "--digits", names);
}

int hijriShiftNamed(std::string_view text)
{
    if (const std::optional<int> shift = hijriShiftWritten(text))
        return *shift;
    throw UsageError(formatted(_("--adjust takes a whole number of days from -2 to 2, not %s"),
                               quotedText(text).c_str()));
}

BidiChoice bidiNamed(std::string_view name)
{
    static constexpr std::array<std::string_view, 3> names{"auto", "logical", "visual"};
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name == names[i])
            return BidiChoice(i);
    refuseArgument(name, "--bidi", names);
}

calendar::HijriVariant variantOption(std::string_view name)
{
    if (const std::optional<calendar::HijriVariant> variant = variantNamed(name))
        return *variant;
    refuseArgument(name, "--calendar", VariantNames);
}

NamedPlace placeOption(std::string_view text)
{
    if (const std::optional<Place> place = placeWritten(text))
        return {*place, std::string(text)};
    throw UsageError(formatted(_("--location takes a latitude and a longitude in degrees, north "
                                 "and east positive, as 21.42,39.83, not %s"),
                               quotedText(text).c_str()));
}

void showSharedOptionsHelp()
{
    std::fputs(_("      --digits=DIGITS   latin (the default), arabic (٠١٢), persian (۰۱۲), or\n"
                 "                        locale: the digits of the language of the dates\n"
                 "      --bidi=LAYOUT     right-to-left text in reading order (logical), or laid\n"
                 "                        out for a terminal that does not reorder it (visual);\n"
                 "                        auto (the default): logical into a pipe or a file,\n"
                 "                        on a terminal what it says it needs\n"
                 "      --help            show this help and exit\n"
                 "      --version         show the version and exit\n"
                 "\n"
                 "The Hijri calendar as your community keeps it (see FILES in the manual):\n"
                 "      --calendar=NAME   umalqura: Umm al-Qura, of Saudi Arabia and the Gulf\n"
                 "                        (the default); civil: the arithmetic calendar of\n"
                 "                        Turkey and Central Asia; tbla: the tabular one\n"
                 "      --months=FILE     the month starts FILE records, as 1446-09 2025-03-01\n"
                 "                        (Ramadan 1446 began on 1 March 2025), in place of\n"
                 "                        those of ~/.config/taqwim/months and /etc/xdg\n"
                 "      --adjust=N        begin every month no file records N days earlier,\n"
                 "                        -2 to 2: -1 where months begin a day later than the\n"
                 "                        calendar has them\n"
                 "      --sunset          the Hijri day begins at sunset: from then on, today,\n"
                 "                        now and @SECONDS have the next Hijri date\n"
                 "      --no-sunset       the Hijri day begins at midnight (the default)\n"
                 "      --location=LAT,LON  where the sun's times are reckoned, in degrees\n"
                 "                        north and east (21.42,39.83); by default the\n"
                 "                        principal city of the time zone, as TZ=Asia/Riyadh\n"
                 "      --debug           tell on standard error which settings and files\n"
                 "                        were taken\n"
                 "\n"),
               stdout);
}

} // namespace command_line
