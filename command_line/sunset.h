#pragma once

#include "calendar/date.h"

#include <cstdint>

// When the sun sets and rises, for the Hijri day, which begins at sunset, and for the nights
// kept as occasions.
namespace command_line {

struct Place
{
    double latitude = 0; // degrees, north positive
    double longitude = 0; // degrees, east positive
};

// Where the sun neither sets nor rises on a day (a polar day or night), its times are those
// of the same longitude at this latitude of the same hemisphere: the nearest latitude where
// it sets and rises on every day of the year, by the rule many Muslims of the far north and
// south keep.
inline constexpr double NearestLatitudeOfEveryDay = 48.5;

// The instant the sun sets on the day at the place, and the one it rises, to the minute, in
// seconds since 1970: its upper limb on the horizon, refraction included, by NOAA's solar
// calculator, accurate to about a minute within 72 degrees of latitude. The day is the one
// between the place's solar midnights.
std::int64_t sunsetOn(calendar::Date day, const Place &place);
std::int64_t sunriseOn(calendar::Date day, const Place &place);

} // namespace command_line
