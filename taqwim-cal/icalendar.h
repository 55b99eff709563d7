#pragma once

#include "calendar/date.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// iCalendar files (RFC 5545) of whole days and of nights, for calendar programs to import or
// subscribe to.
namespace taqwim_cal {

// A night from the evening it begins, where the sun's times are known.
struct EventHours
{
    std::chrono::sys_seconds start, end;
};

struct CalendarEvent
{
    calendar::Date day; // the day it falls on, or the evening it begins
    // The same for the same event in every file, so that importing a file again updates
    // the events instead of doubling them.
    std::string uid;
    std::string summary;
    std::string description; // may be empty
    // Written as instants in UTC, which every calendar program shows on its own clock, so
    // that no time zone definition need be written; none: the whole day.
    std::optional<EventHours> hours;
};

// The UIDs of a day's own event ("day-20240311@taqwim.invalid") and of an occasion's, which
// is the same whatever day --adjust puts it on, so that importing an adjusted file again
// moves the occasion instead of adding it twice ("occasion-eid-al-fitr-1445@taqwim.invalid").
std::string dayUid(calendar::Date day);
std::string occasionUid(std::string_view key, int hijriYear);

// The days an iCalendar file holds: its dates are Gregorian (proleptic, by its standard),
// and the programs' own dates before 15 October 1582 are Julian, so a file starts there, the
// first day both agree on; it ends with the last day of the year 9999, the last it can
// write. The day after each event is written too, as its end.
bool fitsICalendar(calendar::Date day);

struct ICalendarHeader
{
    std::string name; // X-WR-CALNAME, the name calendar programs show
    std::string product; // PRODID
    std::chrono::sys_seconds stamp; // DTSTAMP: when the file was made
};

// An iCalendar file written as it goes, with its lines folded at 75 octets and ended by
// CR LF. The events' days must fit.
class ICalendarWriter
{
public:
    ICalendarWriter(const ICalendarHeader &header, std::function<void(std::string_view)> write);

    void add(const CalendarEvent &event);
    // The end of the calendar; false where it holds no event, which RFC 5545 does not allow:
    // then nothing at all has been written.
    bool finish();

private:
    void addLine(std::string_view line);

    std::function<void(std::string_view)> m_write;
    std::string m_stamp;
    std::string m_pending; // what is written when the first event comes
    bool m_empty = true;
};

} // namespace taqwim_cal
