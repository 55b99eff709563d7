#pragma once

#include "calendar_service.h"

#include <unicode/calendar.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

// One calendar as ICU computes it, with the Arabic names it writes. Built once per process:
// ICU calendars and symbol tables are far too costly to make per call.
namespace calendar::detail {

struct CivilDate
{
    int year = 0; // astronomical: 0 and below precede the era
    int month = 0; // 1..12
    int day = 0;
};

class CalendarSystem
{
public:
    CalendarSystem(const char *icuLocale, std::string eraBefore);

    CivilDate civilDate(Date date) const;
    // The day named by year, month and day, or nothing where the calendar has no such day.
    std::optional<Date> dateOf(CivilDate civil) const;
    int monthLength(int year, int month) const;

    const std::string &monthName(int month) const { return m_monthNames.at(month - 1); }
    std::string yearText(int year) const;

private:
    std::unique_ptr<icu::Calendar> m_calendar; // stateful: every call sets it afresh
    // One conversion asks for the same day's long date and month in turn, and ICU's Hijri
    // arithmetic is costly enough that working the day out twice would show.
    mutable std::optional<std::pair<Date, CivilDate>> m_lastDay;
    std::array<std::string, 12> m_monthNames;
    std::string m_era;
    std::string m_eraBefore;
};

const CalendarSystem &system(int calendar);
const std::string &weekdayName(int sundayBasedWeekday); // 1 Sunday ... 7 Saturday

} // namespace calendar::detail
