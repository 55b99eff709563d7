// taqwim-date: date(1) for the Hijri calendar of Umm al-Qura.
#include "batch.h"
#include "conversion.h"
#include "messages.h"
#include "options.h"

#include "calendar/date.h"

#include <cstdio>
#include <cstdlib>

using namespace taqwim_date;

namespace {

constexpr int UsageStatus = 2;

void showHelp()
{
    std::fputs(_("Usage: taqwim-date [OPTION]... [+FORMAT]\n"
                 "Show today's date, or the date given, in the Hijri (Umm al-Qura) and\n"
                 "Gregorian calendars.\n"
                 "\n"),
               stdout);
    // xgettext:no-c-format
    std::fputs(_("  -d, --date=DATE      show DATE instead of today: YYYY-MM-DD or D/M/YYYY\n"
                 "  -H, --hijri          DATE is a Hijri date (without it, Gregorian: Julian\n"
                 "                       before 15 October 1582)\n"
                 "  -f, --file=FILE      show the date on each line of FILE, one line out for\n"
                 "                       each line in; - reads standard input\n"
                 "      --to=CALENDAR    the calendar FORMAT prints: hijri or gregorian\n"
                 "                       (by default the other one than DATE's; for today, hijri)\n"
                 "  -I, --iso            the same as +%F\n"
                 "      --digits=DIGITS  latin (the default) or arabic digits\n"
                 "      --adjust=N       move the Hijri calendar by N days, -2 to 2\n"
                 "      --help           show this help and exit\n"
                 "      --version        show the version and exit\n"
                 "\n"),
               stdout);
    // xgettext:no-c-format
    std::fputs(_("Without FORMAT, one line gives the weekday and the date in both calendars.\n"
                 "FORMAT takes these conversions of date(1):\n"
                 "  %d  day of the month (01..31)     %e  the same, padded with a blank\n"
                 "  %m  month (01..12)                %Y  year\n"
                 "  %F  the same as %Y-%m-%d          %B  name of the month, in Arabic\n"
                 "  %A  name of the weekday, in Arabic\n"
                 "  %u  day of the week (1..7), 1 is Monday\n"
                 "  %j  day of the year (001..366)\n"
                 "  %n  a line break   %t  a tab   %%  a %\n"
                 "After %, - leaves a number unpadded, _ pads it with blanks, 0 with zeros.\n"
                 "\n"),
               stdout);
    std::fputs(_("Exit status: 0 if all went well, 1 if a date does not exist or a line of FILE\n"
                 "names none, 2 for a mistake in the command line.\n"),
               stdout);
}

void showVersion()
{
    std::printf("taqwim-date (Taqwim) %s\n", TAQWIM_VERSION);
    std::fputs(_("Copyright (C) 2026 The Taqwim team.\n"
                 "License MIT: <https://opensource.org/licenses/MIT>.\n"
                 "This is free software: you are free to change and redistribute it.\n"
                 "There is NO WARRANTY, to the extent permitted by law.\n"),
               stdout);
}

Conversion conversionFor(const Options &options)
{
    using calendar::Calendar;
    const Calendar input = options.hijri ? Calendar::Hijri : Calendar::Gregorian;
    const bool given = options.date || options.file;
    const Calendar other = input == Calendar::Hijri ? Calendar::Gregorian : Calendar::Hijri;
    return Conversion({
            .input = input,
            .printed = options.to.value_or(given ? other : Calendar::Hijri),
            .hijriShift = options.hijriShift,
            .format = options.format ? std::optional(OutputFormat(*options.format)) : std::nullopt,
            .digits = options.digits,
    });
}

int showOneDate(const Options &options, const Conversion &conversion, Output &output)
{
    try {
        const calendar::Date date
                = options.date ? conversion.read(*options.date) : calendar::localToday();
        conversion.write(output.text(), date);
    } catch (const calendar::DateError &error) {
        complain(dateProblem(options.date.value_or(std::string()), error));
        return EXIT_FAILURE;
    }
    output.text() += '\n';
    return EXIT_SUCCESS;
}

int show(const Options &options)
{
    const Conversion conversion = conversionFor(options);
    Output output;
    const int status = options.file ? convertLines(*options.file, conversion, output)
                                    : showOneDate(options, conversion, output);
    return output.finish() ? status : EXIT_FAILURE;
}

} // namespace

int main(int argc, char *argv[])
{
    useUsersLanguage();
    try {
        const Options options = readOptions(argc, argv);
        switch (options.action) {
        case Options::Action::Help:
            showHelp();
            break;
        case Options::Action::Version:
            showVersion();
            break;
        case Options::Action::Show:
            return show(options);
        }
        return Output().finish() ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const UsageError &error) {
        complain(error.what());
        std::fputs(_("Try 'taqwim-date --help' for more information.\n"), stderr);
        return UsageStatus;
    }
}
