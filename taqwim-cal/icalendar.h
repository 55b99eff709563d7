#pragma once

#include "calendar/date.h"

#include <chrono>
#include <span>
#include <string>
#include <string_view>

// iCalendar files (RFC 5545) of whole days, for calendar programs to import or subscribe to.
namespace taqwim_cal {

struct AllDayEvent
{
    calendar::Date day;
    // The same for the same event in every file, so that importing a file again updates
    // the events instead of doubling them.
    std::string uid;
    std::string summary;
    std::string description; // may be empty
};

// The UIDs of a day's own event ("day-20240311@taqwim.invalid") and of an occasion's, which
// is the same whatever day --adjust puts it on, so that importing an adjusted file again
// moves the occasion instead of adding it twice ("occasion-eid-al-fitr-1445@taqwim.invalid").
std::string dayUid(calendar::Date day);
std::string occasionUid(std::string_view key, int hijriYear);

// iCalendar dates are proleptic Gregorian years 1 to 9999, whatever calendar the days were
// named in.
bool fitsICalendar(calendar::Date day);

struct ICalendarHeader
{
    std::string name; // X-WR-CALNAME, the name calendar programs show
    std::string product; // PRODID
    std::chrono::sys_seconds stamp; // DTSTAMP: when the file was made
};

// The whole file, with its lines folded at 75 octets and ended by CR LF. The events' days
// must fit.
std::string iCalendar(const ICalendarHeader &header, std::span<const AllDayEvent> events);

} // namespace taqwim_cal
