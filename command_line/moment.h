#pragma once

#include "calendar/date.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// An instant as the programs print it: the day it falls on and the time of day on that day's
// clock, in a zone written with the date or else the local one (TZ; -u makes it UTC). The
// day is always the one the user wrote: no zone's arithmetic moves it.
namespace command_line {

struct Moment
{
    calendar::Date day = calendar::Date::fromDays(0);
    std::chrono::seconds timeOfDay{0};
    std::chrono::nanoseconds fraction{0}; // of the second
    // A zone written with the date ("+03:00", "Z"), in minutes east of UTC.
    std::optional<std::chrono::minutes> writtenOffset;
    // Seconds since 1970 where the moment is an instant (the clock, a file's time, @SECONDS);
    // for a date written in the local zone they are worked out from the zone's rules only when
    // asked for (zoned()), which costs more than reading the date.
    std::optional<std::int64_t> unixSeconds;
};

// The instant and the zone a moment's clock keeps: "+0300" and "+03", or the local zone's
// offset and abbreviation on that day ("CET", "CEST").
struct ZonedMoment
{
    std::int64_t unixSeconds = 0;
    std::chrono::seconds offset{0}; // east of UTC
    std::string abbreviation;
};
ZonedMoment zoned(const Moment &moment);

// The instant a time on the local clock names. Where the clocks were put back over it, the
// first of the two; where they were put forward over it, the instant of the jump, which the
// clock showed as the first time after it.
struct LocalInstant
{
    std::int64_t unixSeconds = 0;
    bool skipped = false; // the clock never showed the time
};
LocalInstant localInstant(calendar::Date day, std::chrono::seconds timeOfDay);

// The moment of an instant, on the local clock.
Moment momentAt(std::int64_t unixSeconds, std::chrono::nanoseconds fraction = {});
// Now, by the system clock.
Moment currentMoment();

} // namespace command_line
