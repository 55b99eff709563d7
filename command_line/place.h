#pragma once

#include "sunset.h"

#include <optional>
#include <string>
#include <string_view>

// The place whose sunset the programs reckon with: one the user names, or the principal city
// of the time zone the clock follows.
namespace command_line {

struct NamedPlace
{
    Place place;
    std::string said; // how it was given: "21.42,39.83", or the zone "Asia/Riyadh"
};

// "21.4225,39.8262": latitude and longitude in degrees, north and east positive; nothing for
// a text that is not one.
std::optional<Place> placeWritten(std::string_view text);

// The principal city of the local time zone (TZ, else /etc/localtime), by tzdata's
// zone1970.tab (zone.tab for a zone that names a country's older zones); nothing where the
// zone is none of tzdata's (a POSIX rule such as "<+03>-3", or UTC).
std::optional<NamedPlace> placeOfTimeZone();

} // namespace command_line
