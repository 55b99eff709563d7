#include "moment.h"

#include <cstdlib>
#include <ctime>

namespace command_line {
namespace {

using namespace std::chrono;

constexpr std::int64_t SecondsPerDay = 86400;

// "+03", "+0530", "-0330": the names tzdata gives zones that have no abbreviation.
std::string numericAbbreviation(minutes offset)
{
    if (offset == minutes{0})
        return "UTC";
    const auto [whole, rest] = std::div(std::abs(int(offset.count())), 60);
    std::string name = offset < minutes{0} ? "-" : "+";
    const auto twoDigits = [&](int value) {
        name += char('0' + value / 10);
        name += char('0' + value % 10);
    };
    twoDigits(whole);
    if (rest != 0)
        twoDigits(rest);
    return name;
}

ZonedMoment fromLocalTime(std::int64_t unixSeconds, const std::tm &local)
{
    return {unixSeconds, seconds{local.tm_gmtoff}, local.tm_zone ? local.tm_zone : ""};
}

} // namespace

ZonedMoment zoned(const Moment &moment)
{
    const std::int64_t wallSeconds = moment.day.days() * SecondsPerDay + moment.timeOfDay.count();
    if (moment.writtenOffset)
        return {wallSeconds - duration_cast<seconds>(*moment.writtenOffset).count(),
                *moment.writtenOffset, numericAbbreviation(*moment.writtenOffset)};
    std::tm local{};
    if (moment.unixSeconds) {
        const std::time_t instant = *moment.unixSeconds;
        localtime_r(&instant, &local);
        return fromLocalTime(*moment.unixSeconds, local);
    }
    const year_month_day date{moment.day.sysDays()};
    const hh_mm_ss clock{moment.timeOfDay};
    local.tm_year = int(date.year()) - 1900;
    local.tm_mon = int(unsigned(date.month())) - 1;
    local.tm_mday = int(unsigned(date.day()));
    local.tm_hour = int(clock.hours().count());
    local.tm_min = int(clock.minutes().count());
    local.tm_sec = int(clock.seconds().count());
    local.tm_isdst = -1; // whichever the zone's rules give that day
    const std::time_t instant = std::mktime(&local);
    return fromLocalTime(instant, local);
}

Moment momentAt(std::int64_t unixSeconds, nanoseconds fraction)
{
    const std::time_t instant = unixSeconds;
    std::tm local{};
    localtime_r(&instant, &local);
    const year_month_day date{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                              day{unsigned(local.tm_mday)}};
    // The C library's calendar is the proleptic Gregorian one, which std::chrono counts in.
    return {.day = calendar::Date::fromSysDays(sys_days{date}),
            .timeOfDay = hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec},
            .fraction = fraction,
            .writtenOffset = std::nullopt,
            .unixSeconds = unixSeconds};
}

Moment currentMoment()
{
    std::timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return momentAt(now.tv_sec, nanoseconds{now.tv_nsec});
}

} // namespace command_line
