// taqwim-date: date(1) for the Hijri calendar of Umm al-Qura.
#include "batch.h"
#include "conversion.h"
#include "options.h"

#include "command_line/locale.h"
#include "command_line/options.h"
#include "command_line/output.h"
#include "command_line/program.h"
#include "command_line/terminal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

using namespace taqwim_date;
using command_line::complain;
using command_line::formatted;
using command_line::Output;

namespace {

void showHelp()
{
    std::fputs(_("Usage: taqwim-date [OPTION]... [+FORMAT]\n"
                 "Show today's date, or the date given, in the Hijri and Gregorian\n"
                 "calendars.\n"
                 "\n"),
               stdout);
    std::fputs(_("  -d, --date=DATE       show DATE instead of today (see DATE below)\n"
                 "  -H, --hijri           DATE and the lines of FILE are Hijri dates, and\n"
                 "                        months and years in DATE Hijri ones (without it,\n"
                 "                        Gregorian: Julian before 15 October 1582)\n"
                 "  -f, --file=FILE       show the date on each line of FILE, one line out for\n"
                 "                        each line in; - reads standard input\n"
                 "  -r, --reference=FILE  show the day FILE was last changed\n"
                 "  -u, --utc, --universal  today, now, @SECONDS and -r in UTC\n"
                 "      --since=DATE      show the time from DATE to the date shown, in\n"
                 "                        days and in Hijri years, months and days\n"
                 "      --to=CALENDAR     the calendar FORMAT prints, or --since counts in:\n"
                 "                        hijri or gregorian (by default the other one than\n"
                 "                        that of the dates read; hijri for --since)\n"
                 "  -I[FMT], --iso-8601[=FMT]  the date as ISO 8601 writes it; FMT 'hours',\n"
                 "                        'minutes', 'seconds' or 'ns' adds the time, 'date'\n"
                 "                        (the default) does not\n"),
               stdout);
    command_line::showSharedOptionsHelp();
    std::fputs(_("DATE is written in numbers, with the year in four digits:\n"
                 "  2024-03-11  2024/03/11  2024.03.11  20240311   the year first: Y M D\n"
                 "  11/3/2024   11-3-2024   11.3.2024              the year last: D M Y\n"
                 "so 03/11/2024 is 3 November. A time may follow (2024-03-11T10:00,\n"
                 "2024-03-11 10:00:30+03:00). DATE may also be today, yesterday, tomorrow,\n"
                 "now or @SECONDS since 1970, and today or tomorrow may take a time.\n"
                 "Digits may be 0-9, ٠-٩ or ۰-۹. Before or after the date, or alone for now,\n"
                 "these move it as date(1) does:\n"
                 "  +40 days  -3 weeks  2 months  1 year  3 days ago  next month  last year\n"
                 "  next friday  last fri  friday (the coming one; with a date, its weekday)\n"
                 "Months and years are Hijri with -H; 'hijri months' or 'gregorian years'\n"
                 "name the calendar. A day past the end of the month reached is its last:\n"
                 "2024-01-31 +1 month is 2024-02-29. A time the local clock skipped is\n"
                 "refused; a day that began after midnight begins at its first instant.\n"
                 "\n"),
               stdout);
    // xgettext:no-c-format
    std::fputs(_("Without FORMAT, one line gives the weekday and the date in both calendars.\n"
                 "FORMAT takes these conversions of date(1):\n"
                 "  %d  day of the month (01..31)     %e  the same, padded with a blank\n"
                 "  %m  month (01..12)                %Y  year\n"
                 "  %y  the year's last two digits    %C  the year's hundreds\n"
                 "  %F  the same as %Y-%m-%d          %j  day of the year (001..366)\n"
                 "  %A  name of the weekday           %a  the same, abbreviated\n"
                 "  %B  name of the month             %b, %h  the same, abbreviated\n"
                 "  %u  day of the week (1..7), 1 is Monday; %w (0..6), 0 is Sunday\n"
                 "  %H  hour (00..23)  %I  hour (01..12)  %k, %l  the same, blank-padded\n"
                 "  %M  minute  %S  second  %p  AM or PM  %P  am or pm\n"
                 "  %N  nanoseconds: %3N the first three digits, %-3N without zeros at the end\n"
                 "  %T  the same as %H:%M:%S  %R  %H:%M  %r  %I:%M:%S %p\n"
                 "  %s  seconds since 1970-01-01 00:00 UTC\n"
                 "  %z  +hhmm  %:z  +hh:mm  %::z  +hh:mm:ss  %:::z  +hh  %Z  the zone's name\n"
                 "  %n  a line break   %t  a tab   %%  a %\n"
                 "  %{sunset}  the time the sun sets that day, where the place is known\n"
                 "Only where FORMAT prints the Gregorian calendar:\n"
                 "  %U, %W  week of the year (00..53), from its first Sunday, Monday\n"
                 "  %V  ISO week (01..53)  %G, %g  its year, and that year's last two digits\n"
                 "  %q  quarter (1..4)                %D  the same as %m/%d/%y\n"
                 "  %c, %x, %X  date and time, date, time as the C library's locale writes them\n"
                 "The time is the one written with DATE (or midnight), the time now for\n"
                 "today and now, and the instant of @SECONDS and of -r.\n"
                 "After %, - leaves a number unpadded, _ pads it with blanks, 0 with zeros,\n"
                 "^ writes capitals and # changes the case; a width may follow, as in %10B.\n"
                 "Names are in the language of LC_ALL, LC_TIME or LANG.\n"
                 "\n"),
               stdout);
    // xgettext:no-c-format
    std::fputs(_("With --since, FORMAT takes these: %Y whole years, %m and %d the months and\n"
                 "days after them, %{days} all the days; negative where DATE comes after.\n"
                 "\n"),
               stdout);
    std::fputs(_("Exit status: 0 if all went well, 1 if a date does not exist, a line of FILE\n"
                 "names none, a file of settings or month starts is wrong or a file cannot be\n"
                 "read or written, 2 for a mistake in the command line.\n"),
               stdout);
}

Conversion conversionFor(const Options &options, std::optional<OutputFormat> format,
                         const command_line::LocaleNames &names,
                         const command_line::Reckoning &reckoning, command_line::Layout layout)
{
    return Conversion(
            {
                    .input = inputCalendar(options),
                    .printed = printedCalendar(options),
                    .format = std::move(format),
                    .digits = options.digits,
                    .layout = layout,
            },
            names, reckoning);
}

// When the file was last changed, or nothing, with the reason told.
std::optional<command_line::Moment> lastChangeOf(const std::string &file,
                                                 const Conversion &conversion)
{
    struct stat status = {};
    if (::stat(file.c_str(), &status) != 0) {
        complain(formatted(_("cannot read the time of %s: %s"),
                           command_line::quotedText(file).c_str(), std::strerror(errno)));
        return std::nullopt;
    }
    try {
        return conversion.momentAt(status.st_mtim.tv_sec,
                                   std::chrono::nanoseconds{status.st_mtim.tv_nsec});
    } catch (const command_line::DateTextError &error) {
        complain(conversion.problem("@" + std::to_string(status.st_mtim.tv_sec), error));
        return std::nullopt;
    }
}

std::optional<command_line::Moment> momentOf(const Options &options, const Conversion &conversion)
{
    if (options.reference)
        return lastChangeOf(*options.reference, conversion);
    if (!options.date)
        return command_line::currentMoment();
    try {
        return conversion.read(*options.date);
    } catch (const command_line::DateTextError &error) {
        complain(conversion.problem(*options.date, error));
        return std::nullopt;
    }
}

int showOneDate(const Options &options, const Conversion &conversion, Output &output)
{
    const std::optional<command_line::Moment> moment = momentOf(options, conversion);
    if (!moment)
        return EXIT_FAILURE;
    std::string line;
    conversion.write(line, *moment);
    output.write(line + '\n');
    return EXIT_SUCCESS;
}

int show(const Options &options)
{
    if (options.utc) { // as date(1) does, for every zone's question alike
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    command_line::bufferStandardOutput();
    const command_line::LocaleNames names(command_line::timeLocale());
    std::optional<OutputFormat> format;
    if (options.format)
        format.emplace(*options.format, printedCalendar(options),
                       options.since ? OutputFormat::Subject::Elapsed
                                     : OutputFormat::Subject::Moment);
    std::optional<command_line::Reckoning> reckoning;
    try {
        const command_line::Keeping keeping = command_line::keepingOf(options.keeping);
        if (format && format->showsSunset())
            command_line::knownPlace(keeping, _("the format shows the time of sunset"));
        reckoning.emplace(keeping);
    } catch (const command_line::SettingsError &error) {
        complain(error.what());
        return EXIT_FAILURE;
    }
    const command_line::OutputPlan plan = command_line::planOutput(options.bidi);
    Conversion conversion
            = conversionFor(options, std::move(format), names, *reckoning, plan.layout);
    if (options.since) {
        try {
            conversion.measureFrom(*options.since);
        } catch (const command_line::DateTextError &error) {
            complain(conversion.problem(*options.since, error));
            return EXIT_FAILURE;
        }
    }
    Output output;
    // Visual text to a terminal that would reorder it, in the mode in which it does not, from
    // the first line to the last.
    std::optional<command_line::TerminalGuard> guard;
    if (plan.explicitMode) {
        guard.emplace(STDOUT_FILENO);
        guard->change("\x1b[8l", "\x1b[8h");
    }
    const int status = options.file ? convertLines(*options.file, conversion, output)
                                    : showOneDate(options, conversion, output);
    return output.flush() ? status : EXIT_FAILURE;
}

} // namespace

int main(int argc, char *argv[])
{
    return command_line::runProgram<Options>(
            {"taqwim-date", "taqwim-date", TAQWIM_DATE_LOCALEDIR, TAQWIM_DATE_LOCALEDIR_FROM_BINDIR,
             TAQWIM_VERSION},
            argc, argv, {readOptions, showHelp, show, [] { return Output().flush(); }});
}
