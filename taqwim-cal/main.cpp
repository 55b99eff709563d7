// taqwim-cal: cal(1) for the Hijri calendar of Umm al-Qura.
#include "cal_options.h"
#include "calendar_page.h"
#include "icalendar.h"
#include "occasions.h"
#include "span.h"
#include "terminal_text.h"
#include "words.h"

#include "command_line/locale.h"
#include "command_line/program.h"

#include "calendar/date.h"
#include "command_line/locale_names.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace taqwim_cal;
using calendar::Calendar;
using command_line::formatted;

namespace {

void showHelp()
{
    std::fputs(_("Usage: taqwim-cal [OPTION]... [[MONTH] YEAR]\n"
                 "Show a Hijri (Umm al-Qura) month as a grid of weeks, with the Gregorian day\n"
                 "under each of its days; the occasions of the year; or an iCalendar file of\n"
                 "them for a calendar program. MONTH and YEAR are Hijri: this month by default,\n"
                 "the twelve months of YEAR alone.\n"
                 "\n"),
               stdout);
    std::fputs(_("  -g, --gregorian      MONTH, YEAR and DATE are Gregorian, and so is the grid\n"
                 "  -y, --year           the twelve months of the year\n"
                 "  -3                   the previous, the current and the next month\n"
                 "  -A, --after=N        N months after as well\n"
                 "  -B, --before=N       N months before as well\n"
                 "      --from=DATE --until=DATE  the days from one DATE to the other, in place\n"
                 "                       of a month or a year (written as taqwim-date reads them)\n"
                 "  -s, --saturday       start the week on Saturday\n"
                 "  -S, --sunday         start the week on Sunday\n"
                 "  -M, --monday         start the week on Monday\n"
                 "                       (by default, on the day usual in the locale's country)\n"
                 "      --color[=WHEN]   mark today: auto (on a terminal), always or never\n"
                 "      --occasions      list the occasions, of the whole year unless a month,\n"
                 "                       -3, -A, -B or --from is given\n"
                 "      --ics            write an iCalendar file of the days shown, with an\n"
                 "                       all-day event for each occasion\n"
                 "      --days           with --ics, also an event for every day naming its\n"
                 "                       Hijri date\n"
                 "      --digits=DIGITS  latin (the default) or arabic digits\n"
                 "      --adjust=N       move the Hijri calendar by N days, -2 to 2\n"
                 "      --help           show this help and exit\n"
                 "      --version        show the version and exit\n"
                 "\n"),
               stdout);
    std::fputs(_("Exit status: 0 if all went well, 1 if a month, year or date does not exist\n"
                 "or the output could not be written, 2 for a mistake in the command line.\n"),
               stdout);
}

// The terminal's width as COLUMNS gives it, as the terminal tells it, or 80.
int terminalColumns()
{
    if (const char *columns = std::getenv("COLUMNS"))
        if (const int number = std::atoi(columns); number > 0)
            return number;
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// Everything a run shows, and what it is shown with.
struct Run
{
    const Options &options;
    const Reckoning &reckoning;
    std::string locale; // of the names, as ICU takes it
    calendar::Date today;
    Words words;
    Span span;
    bool toTerminal;
};

std::string grids(const Run &run)
{
    const std::chrono::weekday firstDay
            = run.options.firstDayOfWeek.value_or(command_line::firstDayOfWeek(run.locale));
    std::vector<MonthGrid> months;
    for (const CalendarMonth &month : run.span.months)
        months.push_back(monthGrid(month, firstDay, run.reckoning));
    PageLook look{.rightToLeft = command_line::readsRightToLeft(run.locale),
                  .columns = terminalColumns(),
                  .today = run.today};
    for (const DatedOccasion &occasion :
         occasionsBetween(run.span.first, run.span.last, run.reckoning))
        look.occasions.push_back(occasion.date);
    const bool styled = run.options.colour == Colour::Always
            || (run.options.colour == Colour::Auto && run.toTerminal);
    return terminalText(calendarPage(months, run.words.page(), look), styled, run.toTerminal);
}

// One a line: "2024-03-11  1445-09-01  First of Ramadan". On a terminal the lines are laid
// out as the grid's are, so that an Arabic name reads right in either kind of terminal; into
// a pipe they stay in reading order, for scripts.
std::string occasionLines(const Run &run)
{
    std::string text;
    std::vector<TerminalLine> lines;
    for (const DatedOccasion &occasion :
         occasionsBetween(run.span.first, run.span.last, run.reckoning)) {
        const std::string line
                = run.words.isoDate(run.reckoning.civilDate(occasion.date, Calendar::Gregorian))
                + "  " + run.words.isoDate(run.reckoning.civilDate(occasion.date, Calendar::Hijri))
                + "  " + occasionName(occasion.occasion->occasion);
        text += line + "\n";
        lines.push_back(
                TerminalLine().add(visualOrder(line, command_line::messagesReadRightToLeft())));
    }
    return run.toTerminal ? terminalText(lines, false, true) : text;
}

std::vector<AllDayEvent> events(const Run &run)
{
    std::vector<AllDayEvent> events;
    const std::vector<DatedOccasion> occasions
            = occasionsBetween(run.span.first, run.span.last, run.reckoning);
    auto next = occasions.begin();
    for (calendar::Date day = run.span.first; day <= run.span.last; day += calendar::Days{1}) {
        const calendar::CivilDate hijri = run.reckoning.civilDate(day, Calendar::Hijri);
        if (run.options.everyDay)
            events.push_back({day, dayUid(day), run.words.dayName(hijri), {}});
        for (; next != occasions.end() && next->date == day; ++next)
            events.push_back({day, occasionUid(next->occasion->key, next->hijriYear),
                              occasionName(next->occasion->occasion), run.words.longDate(hijri)});
    }
    return events;
}

std::string iCalendarFile(const Run &run)
{
    if (!fitsICalendar(run.span.first) || !fitsICalendar(run.span.last))
        throw NoSuchSpan(_("an iCalendar file holds only the Gregorian years 1 to 9999"));
    const ICalendarHeader header{
            .name = _("Hijri calendar (Umm al-Qura)"),
            .product = std::string("-//The Taqwim team//taqwim-cal ") + TAQWIM_VERSION + "//EN",
            .stamp = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()),
    };
    return iCalendar(header, events(run));
}

bool written(const std::string &text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0)
        return true;
    command_line::complain(formatted(_("cannot write the output: %s"), std::strerror(errno)));
    return false;
}

int show(const Options &options)
{
    try {
        const Reckoning reckoning(options.hijriShift);
        const std::string locale = command_line::timeLocale();
        const command_line::LocaleNames names(locale);
        const calendar::Date today = calendar::localToday();
        const Run run{options,
                      reckoning,
                      locale,
                      today,
                      {names, options.digits},
                      spanOf(options, reckoning, today),
                      isatty(STDOUT_FILENO) == 1};
        std::string text;
        switch (options.output) {
        case Output::Grid:
            text = grids(run);
            break;
        case Output::Occasions:
            text = occasionLines(run);
            break;
        case Output::ICalendar:
            text = iCalendarFile(run);
            break;
        }
        return written(text) ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const NoSuchSpan &error) {
        command_line::complain(error.what());
        return EXIT_FAILURE;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    return command_line::runProgram<Options>(
            {"taqwim-cal", "taqwim-cal", TAQWIM_CAL_LOCALEDIR, TAQWIM_CAL_LOCALEDIR_FROM_BINDIR,
             TAQWIM_VERSION},
            argc, argv, {readOptions, showHelp, show, [] { return written({}); }});
}
