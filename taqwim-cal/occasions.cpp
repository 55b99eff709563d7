#include "occasions.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace taqwim_cal {

using calendar::Calendar;
using calendar::Date;
using calendar::Days;

std::span<const OccasionDay> occasionDays()
{
    static constexpr std::array<OccasionDay, 10> days{{
            {Occasion::IslamicNewYear, 1, 1, "islamic-new-year"},
            {Occasion::Ashura, 1, 10, "ashura"},
            {Occasion::ProphetsBirthday, 3, 12, "prophets-birthday"},
            {Occasion::IsraAndMiraj, 7, 27, "isra-and-miraj", true},
            {Occasion::MidShaban, 8, 15, "mid-shaban", true},
            {Occasion::FirstOfRamadan, 9, 1, "first-of-ramadan"},
            // The night most commonly kept as Laylat al-Qadr.
            {Occasion::LaylatAlQadr, 9, 27, "laylat-al-qadr", true},
            {Occasion::EidAlFitr, 10, 1, "eid-al-fitr"},
            {Occasion::DayOfArafah, 12, 9, "day-of-arafah"},
            {Occasion::EidAlAdha, 12, 10, "eid-al-adha"},
    }};
    return days;
}

std::vector<DatedOccasion> occasionsOf(int hijriYear, Date first, Date last,
                                       const Reckoning &reckoning)
{
    std::vector<DatedOccasion> dated;
    for (const OccasionDay &day : occasionDays()) {
        const Date date
                = reckoning.monthStart(Calendar::Hijri, hijriYear, day.month) + Days{day.day - 1};
        if (date >= first && date <= last)
            dated.push_back({&day, hijriYear, date});
    }
    return dated;
}

std::pair<int, int> hijriYearsOf(Date first, Date last, const Reckoning &reckoning)
{
    return {reckoning.civilDate(first, Calendar::Hijri).year,
            reckoning.civilDate(last, Calendar::Hijri).year};
}

std::vector<DatedOccasion> occasionsBetween(Date first, Date last, const Reckoning &reckoning)
{
    std::vector<DatedOccasion> dated;
    const auto [firstYear, lastYear] = hijriYearsOf(first, last, reckoning);
    for (int year = firstYear; year <= lastYear; ++year)
        std::ranges::copy(occasionsOf(year, first, last, reckoning), std::back_inserter(dated));
    return dated;
}

} // namespace taqwim_cal
