#pragma once

#include "month_grid.h"

#include <span>
#include <string_view>
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
};

// Every occasion, in the order of the Hijri year.
std::span<const OccasionDay> occasionDays();

struct DatedOccasion
{
    const OccasionDay *occasion;
    int hijriYear;
    calendar::Date date;
};

// The occasions that fall from first to last (both included), in the order of their days.
std::vector<DatedOccasion> occasionsBetween(calendar::Date first, calendar::Date last,
                                            const Reckoning &reckoning);

} // namespace taqwim_cal
