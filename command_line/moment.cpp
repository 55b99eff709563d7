#include "moment.h"

#include <algorithm>
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

std::int64_t offsetAt(std::int64_t unixSeconds)
{
    const std::time_t instant = unixSeconds;
    std::tm local{};
    localtime_r(&instant, &local);
    return local.tm_gmtoff;
}

} // namespace

// Worked out from the offsets the zone keeps around the time rather than by mktime(), which
// picks one of two instants by tm_isdst, a flag that says nothing in zones whose offset
// changed for other reasons, and which each C library settles its own way in a gap.
LocalInstant localInstant(calendar::Date day, seconds timeOfDay)
{
    const std::int64_t wall = day.days() * SecondsPerDay + timeOfDay.count();
    // No zone has changed its offset twice within a day.
    const std::int64_t offsets[]
            = {offsetAt(wall - SecondsPerDay), offsetAt(wall), offsetAt(wall + SecondsPerDay)};
    std::optional<std::int64_t> first;
    for (const std::int64_t offset : offsets) {
        const std::int64_t candidate = wall - offset;
        if (offsetAt(candidate) == offset && (!first || candidate < *first))
            first = candidate;
    }
    if (first)
        return {*first, false};
    // Put forward over it: the jump is the first instant whose clock shows a later time.
    const auto [least, most] = std::ranges::minmax(offsets);
    std::int64_t before = wall - most, after = wall - least;
    while (after - before > 1) {
        const std::int64_t middle = before + (after - before) / 2;
        (middle + offsetAt(middle) >= wall ? after : before) = middle;
    }
    return {after, true};
}

ZonedMoment zoned(const Moment &moment)
{
    const std::int64_t wallSeconds = moment.day.days() * SecondsPerDay + moment.timeOfDay.count();
    if (moment.writtenOffset)
        return {wallSeconds - duration_cast<seconds>(*moment.writtenOffset).count(),
                *moment.writtenOffset, numericAbbreviation(*moment.writtenOffset)};
    const std::time_t instant = moment.unixSeconds
            ? *moment.unixSeconds
            : localInstant(moment.day, moment.timeOfDay).unixSeconds;
    std::tm local{};
    localtime_r(&instant, &local);
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
