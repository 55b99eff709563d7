#include "span.h"

#include "command_line/date_text.h"
#include "command_line/program.h"

#include "calendar/date_error.h"

namespace taqwim_cal {
namespace {

using calendar::Date;
using calendar::FirstYear;
using calendar::LastYear;
using command_line::formatted;

[[noreturn]] void refuseYear(int year)
{
    throw NoSuchSpan(formatted(_("there is no year %d: years run from %d to %d"), year, FirstYear,
                               LastYear));
}

// Every month shown lies within the years the program takes, or none is shown.
void checkYears(const CalendarMonth &first, const CalendarMonth &last)
{
    for (const int year : {first.year, last.year})
        if (year < FirstYear || year > LastYear)
            refuseYear(year);
}

calendar::Date dayWritten(const std::string &text, const Options &options,
                          const Reckoning &reckoning)
{
    const command_line::DateReading reading{.calendar = options.calendar, .reckoning = reckoning};
    try {
        return command_line::readDate(text, reading).day;
    } catch (const command_line::DateTextError &error) {
        throw NoSuchSpan(command_line::dateProblem(text, error, reading));
    }
}

Span writtenSpan(const Options &options, const Reckoning &reckoning)
{
    const Date first = dayWritten(*options.from, options, reckoning);
    const Date last = dayWritten(*options.until, options, reckoning);
    if (last < first)
        throw NoSuchSpan(_("the day --until names comes before the one --from names"));
    const Span span{monthOf(first, options.calendar, reckoning),
                    monthOf(last, options.calendar, reckoning), first, last};
    checkYears(span.firstMonth, span.lastMonth);
    return span;
}

void checkGiven(const Options &options)
{
    if (options.year && (*options.year < FirstYear || *options.year > LastYear))
        refuseYear(*options.year);
    if (options.month && (*options.month < 1 || *options.month > 12))
        throw NoSuchSpan(
                formatted(_("there is no month %d: months run from 1 to 12"), *options.month));
}

Span monthsSpan(const Options &options, const Reckoning &reckoning, Date today)
{
    checkGiven(options);
    const CalendarMonth now = monthOf(today, options.calendar, reckoning);
    // The occasions are the year's unless a month or the months around it are asked for.
    const bool wholeYear = options.wholeYear
            || (options.output == Output::Occasions && !options.month && !options.aroundGiven);
    const CalendarMonth shown{options.calendar, options.year.value_or(now.year),
                              wholeYear ? 1 : options.month.value_or(now.month)};
    const CalendarMonth first = shown.plus(-options.monthsBefore);
    const CalendarMonth last = shown.plus((wholeYear ? 11 : 0) + options.monthsAfter);
    checkYears(first, last);
    return {first, last, reckoning.monthStart(options.calendar, first.year, first.month),
            reckoning.monthStart(options.calendar, last.year, last.month + 1) - calendar::Days{1}};
}

} // namespace

Span spanOf(const Options &options, const Reckoning &reckoning, Date today)
{
    try {
        return options.from ? writtenSpan(options, reckoning)
                            : monthsSpan(options, reckoning, today);
    } catch (const calendar::DateError &) {
        throw NoSuchSpan(_("the months asked for go beyond the years this program computes"));
    }
}

} // namespace taqwim_cal
