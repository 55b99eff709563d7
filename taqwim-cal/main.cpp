// taqwim-cal: cal(1) for the Hijri calendar of Umm al-Qura.
#include "cal_options.h"
#include "calendar_page.h"
#include "icalendar.h"
#include "occasions.h"
#include "span.h"
#include "terminal_text.h"
#include "words.h"

#include "command_line/bidi_text.h"
#include "command_line/date_writing.h"
#include "command_line/locale.h"
#include "command_line/locale_names.h"
#include "command_line/options.h"
#include "command_line/output.h"
#include "command_line/program.h"
#include "command_line/terminal.h"

#include "calendar/date.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace taqwim_cal;
using calendar::Calendar;
using calendar::Date;
using command_line::formatted;

namespace {

void showHelp()
{
    std::fputs(_("Usage: taqwim-cal [OPTION]... [[MONTH] YEAR]\n"
                 "Show a Hijri month as a grid of weeks, with the Gregorian day\n"
                 "under each of its days; the occasions of the year; or an iCalendar file of\n"
                 "them for a calendar program. MONTH and YEAR are Hijri: this month by default,\n"
                 "the twelve months of YEAR alone.\n"
                 "\n"),
               stdout);
    std::fputs(
            _("  -g, --gregorian       MONTH, YEAR and DATE are Gregorian, and so is the grid\n"
              "  -y, --year            the twelve months of the year\n"
              "  -3                    the previous, the current and the next month\n"
              "  -A, --after=N         N months after as well\n"
              "  -B, --before=N        N months before as well\n"
              "      --from=DATE --until=DATE  the days from one DATE to the other, in place\n"
              "                        of a month or a year (written as taqwim-date reads them)\n"
              "  -s, --saturday        start the week on Saturday\n"
              "  -S, --sunday          start the week on Sunday\n"
              "  -M, --monday          start the week on Monday\n"
              "                        (by default, on the day usual in the locale's country)\n"
              "      --color[=WHEN]    mark today: auto (on a terminal, unless NO_COLOR is\n"
              "                        set), always or never\n"
              "      --occasions       list the occasions, of the whole year unless a month,\n"
              "                        -3, -A, -B or --from is given\n"
              "      --ics             write an iCalendar file of the days shown, with an\n"
              "                        all-day event for each occasion (a night from sunset\n"
              "                        to sunrise where the place is known)\n"
              "      --days            with --ics, also an event for every day naming its\n"
              "                        Hijri date\n"),
            stdout);
    command_line::showSharedOptionsHelp();
    std::fputs(_("Exit status: 0 if all went well, 1 if a month, year or date does not exist,\n"
                 "a file of settings or month starts is wrong or the output could not be\n"
                 "written, 2 for a mistake in the command line.\n"),
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
    Date today;
    Words words;
    Span span;
    command_line::OutputPlan plan;
    command_line::Output &output;
};

bool styled(const Run &run)
{
    const char *noColour = std::getenv("NO_COLOR");
    return run.options.colour == Colour::Always
            || (run.options.colour == Colour::Auto && run.plan.terminal && !run.plan.dumb
                && !(noColour && *noColour));
}

void writeLine(const Run &run, std::string line)
{
    line += '\n';
    run.output.write(line);
}

// The days occasions are starred on in a grid of the calendar: a night on its Hijri day in a
// Hijri grid, on its evening in a Gregorian one.
std::vector<Date> starredDays(const Run &run, Date first, Date last)
{
    std::vector<Date> days;
    for (const DatedOccasion &occasion :
         occasionsBetween(first, last + calendar::Days{1}, run.reckoning))
        days.push_back(run.options.calendar == Calendar::Hijri ? occasion.date
                                                               : occasion.evening());
    std::ranges::sort(days);
    return days;
}

void writeGrids(const Run &run)
{
    const std::chrono::weekday firstDay
            = run.options.firstDayOfWeek.value_or(command_line::firstDayOfWeek(run.locale));
    const PageLook look{.rightToLeft = command_line::readsRightToLeft(run.locale),
                        .columns = terminalColumns(),
                        .today = run.today};
    const PageWords words = run.words.page();
    CalendarPage page(words, look);
    const CalendarMonth end = run.span.lastMonth.plus(1);
    for (CalendarMonth month = run.span.firstMonth; month != end; month = month.plus(1))
        page.fit(month, otherMonthsOf(month, run.reckoning));
    const LineLayout layout{run.plan.layout, look.rightToLeft, styled(run)};
    bool first = true;
    if (run.options.wholeYear) {
        writeLine(run,
                  page.heading(words.yearText(run.options.calendar, run.span.firstMonth.year))
                          .written(layout));
        first = false;
    }
    std::vector<MonthGrid> row;
    for (CalendarMonth month = run.span.firstMonth; month != end; month = month.plus(1)) {
        row.push_back(monthGrid(month, firstDay, run.reckoning));
        if (row.size() < page.monthsPerRow() && month.plus(1) != end)
            continue;
        if (!first)
            writeLine(run, {});
        first = false;
        const CalendarMonth &last = row.back().month;
        const std::vector<Date> stars = starredDays(
                run,
                run.reckoning.monthStart(row.front().month.calendar, row.front().month.year,
                                         row.front().month.month),
                run.reckoning.monthStart(last.calendar, last.year, last.month + 1));
        for (const TerminalLine &line : page.row(row, stars))
            writeLine(run, line.written(layout));
        row.clear();
    }
}

// A line of the list in reading order: its fields apart by two blanks; where the
// bidirectional algorithm would otherwise move them, each date held left to right and a
// mark of the line's direction before each field, so that the columns stand alike on every
// line of a display that applies it.
std::string listLine(const std::array<std::string, 3> &fields, bool rightToLeft)
{
    const bool held = rightToLeft || std::ranges::any_of(fields, [](const std::string &field) {
                          return command_line::hasRightToLeft(field);
                      });
    if (!held)
        return fields[0] + "  " + fields[1] + "  " + fields[2];
    const std::string_view mark = rightToLeft ? command_line::RightToLeftMark : "";
    std::string line;
    for (const std::string &field : fields) {
        if (&field != &fields.front())
            line += "  ";
        line.append(mark).append(&field == &fields.back() ? field
                                                          : command_line::heldLeftToRight(field));
    }
    return line;
}

// From the sunset that begins a night to the sunrise that ends it, where the place is known.
std::optional<EventHours> nightHours(const Run &run, const DatedOccasion &occasion)
{
    if (!occasion.occasion->night)
        return std::nullopt;
    const std::optional<std::int64_t> sunset = run.reckoning.sunsetOn(occasion.evening());
    const std::optional<std::int64_t> sunrise = run.reckoning.sunriseOn(occasion.date);
    if (!sunset || !sunrise)
        return std::nullopt;
    using std::chrono::seconds, std::chrono::sys_seconds;
    return EventHours{sys_seconds{seconds{*sunset}}, sys_seconds{seconds{*sunrise}}};
}

// "Laylat al-Qadr, from 18:43"; "from sunset" where its time is not known.
std::string titleOf(const Run &run, const DatedOccasion &occasion)
{
    const std::optional<EventHours> hours = nightHours(run, occasion);
    return occasionTitle(*occasion.occasion,
                         hours ? run.words.clockTime(hours->start.time_since_epoch().count())
                               : std::string());
}

// One a line: "2024-03-11  1445-09-01  First of Ramadan"; a night on the evening it begins.
void writeOccasions(const Run &run)
{
    const bool rightToLeft = command_line::messagesReadRightToLeft();
    const auto [firstYear, lastYear] = hijriYearsOf(run.span.first, run.span.last, run.reckoning);
    for (int year = firstYear; year <= lastYear && !run.output.failed(); ++year) {
        for (const DatedOccasion &occasion :
             occasionsOf(year, run.span.first, run.span.last, run.reckoning)) {
            const std::string line = listLine(
                    {run.words.isoDate(
                             run.reckoning.civilDate(occasion.evening(), Calendar::Gregorian)),
                     run.words.isoDate(run.reckoning.civilDate(occasion.date, Calendar::Hijri)),
                     titleOf(run, occasion)},
                    rightToLeft);
            writeLine(run,
                      run.plan.layout == Layout::Logical
                              ? line
                              : command_line::heldAsLaidOut(
                                      command_line::visualOrder(line, rightToLeft)));
        }
    }
}

CalendarEvent occasionEvent(const Run &run, const DatedOccasion &occasion)
{
    return {occasion.evening(), occasionUid(occasion.occasion->key, occasion.hijriYear),
            titleOf(run, occasion),
            run.words.longDate(run.reckoning.civilDate(occasion.date, Calendar::Hijri)),
            nightHours(run, occasion)};
}

[[noreturn]] void refuseICalendarDays()
{
    throw NoSuchSpan(_("an iCalendar file holds the days from 15 October 1582, where its "
                       "Gregorian calendar begins, to the end of the year 9999"));
}

void addEvent(ICalendarWriter &file, const CalendarEvent &event)
{
    if (!fitsICalendar(event.day))
        refuseICalendarDays();
    file.add(event);
}

// The events of a Hijri year's days within the span, in the order of their days.
void addYear(const Run &run, ICalendarWriter &file, int year)
{
    const std::vector<DatedOccasion> occasions
            = occasionsOf(year, run.span.first, run.span.last, run.reckoning);
    auto next = occasions.begin();
    const Date first = std::max(run.span.first, run.reckoning.monthStart(Calendar::Hijri, year, 1));
    const Date last = std::min(
            run.span.last, run.reckoning.monthStart(Calendar::Hijri, year, 13) - calendar::Days{1});
    for (Date day = first; day <= last && !run.output.failed(); day += calendar::Days{1}) {
        for (; next != occasions.end() && next->evening() < day; ++next)
            addEvent(file, occasionEvent(run, *next));
        if (run.options.everyDay)
            addEvent(file,
                     {day,
                      dayUid(day),
                      run.words.dayName(run.reckoning.civilDate(day, Calendar::Hijri)),
                      {},
                      {}});
        for (; next != occasions.end() && next->evening() == day; ++next)
            addEvent(file, occasionEvent(run, *next));
    }
}

// The name calendar programs show the file under.
std::string calendarName(calendar::HijriVariant variant)
{
    switch (variant) {
    case calendar::HijriVariant::UmmAlQura:
        return _("Hijri calendar (Umm al-Qura)");
    case calendar::HijriVariant::Civil:
        return _("Hijri calendar (civil)");
    case calendar::HijriVariant::Tabular:
        break;
    }
    return _("Hijri calendar (tabular)");
}

void writeICalendar(const Run &run)
{
    const ICalendarHeader header{
            .name = calendarName(run.reckoning.keeping().variant),
            .product = std::string("-//The Taqwim team//taqwim-cal ") + TAQWIM_VERSION + "//EN",
            .stamp = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()),
    };
    // Every day asked for, and not only those an event falls on: the file is all of them.
    if (!fitsICalendar(run.span.first) || !fitsICalendar(run.span.last))
        refuseICalendarDays();
    ICalendarWriter file(header, [&](std::string_view text) { run.output.write(text); });
    const auto [firstYear, lastYear] = hijriYearsOf(run.span.first, run.span.last, run.reckoning);
    for (int year = firstYear; year <= lastYear; ++year)
        addYear(run, file, year);
    if (!file.finish())
        throw NoSuchSpan(_("no occasion falls on the days asked for, and an iCalendar file holds "
                           "at least one event: add --days for an event every day"));
}

// A year typed without -g is a Hijri one; one centuries past this Hijri year is more likely
// a Gregorian year typed as it would be for cal(1), which the user is told of.
void noteGregorianLookingYear(const Options &options, const Reckoning &reckoning, Date today)
{
    constexpr int Centuries = 300;
    if (!options.year || options.calendar != Calendar::Hijri
        || *options.year <= reckoning.civilDate(today, Calendar::Hijri).year + Centuries)
        return;
    const int gregorian
            = reckoning
                      .civilDate(reckoning.monthStart(Calendar::Hijri, *options.year, 1),
                                 Calendar::Gregorian)
                      .year;
    command_line::complain(formatted(_("%d is taken as a Hijri year, which begins in %d AD; for "
                                       "the Gregorian year %d, add -g"),
                                     *options.year, gregorian, *options.year));
}

void writeAll(const Run &run)
{
    switch (run.options.output) {
    case Output::Grid:
        writeGrids(run);
        break;
    case Output::Occasions:
        writeOccasions(run);
        break;
    case Output::ICalendar:
        writeICalendar(run);
        break;
    }
}

// Writes all, with the terminal in the state the text needs while it is written, and put
// back only once all of it has gone out. Returns the exit status.
int writeWithTerminal(const Run &run)
{
    std::optional<command_line::TerminalGuard> guard;
    if (run.plan.explicitMode || (styled(run) && run.plan.terminal)) {
        guard.emplace(STDOUT_FILENO);
        if (run.plan.explicitMode)
            guard->change("\x1b[8l", "\x1b[8h");
        if (styled(run))
            guard->change("", "\x1b[22;27m");
    }
    int status = EXIT_SUCCESS;
    try {
        writeAll(run);
    } catch (const NoSuchSpan &error) {
        run.output.flush();
        command_line::complain(error.what());
        status = EXIT_FAILURE;
    }
    return run.output.flush() ? status : EXIT_FAILURE;
}

int show(const Options &options)
{
    command_line::bufferStandardOutput();
    command_line::Output output;
    try {
        const Reckoning reckoning(command_line::keepingOf(options.keeping));
        const std::string locale = command_line::timeLocale();
        const command_line::LocaleNames names(locale);
        // Where the Hijri day begins at sunset, the evening is already tomorrow's in its grid.
        const command_line::Moment now = command_line::currentMoment();
        const Date today
                = options.calendar == Calendar::Hijri ? reckoning.hijriDayOf(now) : now.day;
        noteGregorianLookingYear(options, reckoning, today);
        const Run run{options,
                      reckoning,
                      locale,
                      today,
                      {names, options.digits},
                      spanOf(options, reckoning, today),
                      command_line::planOutput(
                              options.output == Output::Grid || options.output == Output::Occasions
                                      ? options.bidi
                                      : command_line::BidiChoice::Logical),
                      output};
        return writeWithTerminal(run);
    } catch (const NoSuchSpan &error) {
        command_line::complain(error.what());
        return EXIT_FAILURE;
    } catch (const command_line::SettingsError &error) {
        command_line::complain(error.what());
        return EXIT_FAILURE;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    return command_line::runProgram<Options>({"taqwim-cal", "taqwim-cal", TAQWIM_CAL_LOCALEDIR,
                                              TAQWIM_CAL_LOCALEDIR_FROM_BINDIR, TAQWIM_VERSION},
                                             argc, argv, {readOptions, showHelp, show, [] {
                                                              return command_line::Output().flush();
                                                          }});
}
