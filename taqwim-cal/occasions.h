#pragma once

#include "month_grid.h"

#include <span>
#include <string_view>
#include <utility>
#include <vector>

// The days of the Hijri year that Muslims keep, by their Hijri dates. Their names are words,
// and belong to the front end.
namespace taqwim_cal {

enum class Occasion {
    IslamicNewYear,
    Ashura,
    ProphetsBirthday,
    IsraAndMiraj,
    MidShaban,
    FirstOfRamadan,
    LaylatAlQadr,
    EidAlFitr,
    DayOfArafah,
    EidAlAdha,
};

struct OccasionDay
{
    Occasion occasion;
    int month;
    int day;
    // Never translated and never changed: calendar programs know an event again by it.
    std::string_view key;
    // Kept in the night that begins the Hijri day, on the evening before its daytime.
    bool night = false;
};

// Every occasion, in the order of the Hijri year.
std::span<const OccasionDay> occasionDays();

struct DatedOccasion
{
    const OccasionDay *occasion;
    int hijriYear;
    calendar::Date date; // the daytime of its Hijri day

    // The Gregorian day it is kept on: a night on the evening before its Hijri day's daytime.
    calendar::Date evening() const { return occasion->night ? date - calendar::Days{1} : date; }
};

// The occasions of a Hijri year whose Hijri days fall from first to last (both included), in
// the order of their days.
std::vector<DatedOccasion> occasionsOf(int hijriYear, calendar::Date first, calendar::Date last,
                                       const Reckoning &reckoning);

// The Hijri years of the first and the last day.
std::pair<int, int> hijriYearsOf(calendar::Date first, calendar::Date last,
                                 const Reckoning &reckoning);

// The occasions whose Hijri days fall from first to last (both included), in order.
std::vector<DatedOccasion> occasionsBetween(calendar::Date first, calendar::Date last,
                                            const Reckoning &reckoning);

} // namespace taqwim_cal
