#include "sunset.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

// The equations of NOAA's solar calculator (Global Monitoring Laboratory,
// https://gml.noaa.gov/grad/solcalc/, its spreadsheet NOAA_Solar_Calculations_day.xls), which
// are Jean Meeus's, Astronomical Algorithms (1991), chapters 24 and 25 in their lower
// accuracy: the sun's declination and the equation of time at the moment asked, and the hour
// angle at which its upper limb touches the horizon under the usual refraction, 0.833 degrees.
namespace command_line {
namespace {

constexpr double JulianDayOfUnixEpoch = 2440587.5;
constexpr double MinutesPerDay = 1440;
constexpr double HorizonZenith = 90.833; // degrees: refraction and the sun's half-width

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

struct SunPosition
{
    double declination; // degrees
    double equationOfTime; // minutes
};

SunPosition sunAt(double julianDay)
{
    const double t = (julianDay - 2451545.0) / 36525.0; // Julian centuries since J2000.0
    const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = radians(meanAnomaly);
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t))
            + std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double node = radians(125.04 - 1934.136 * t);
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * std::sin(node);
    const double meanObliquity
            = 23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60) / 60;
    const double obliquity = radians(meanObliquity + 0.00256 * std::cos(node));
    const double declination
            = degrees(std::asin(std::sin(obliquity) * std::sin(radians(apparentLongitude))));
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double l0 = radians(meanLongitude);
    const double equation = y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m)
            + 4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0)
            - 1.25 * eccentricity * eccentricity * std::sin(2 * m);
    return {declination, 4 * degrees(equation)};
}

// Minutes from 0h UTC of the day to the sun's rising (-1) or setting (+1) nearest the
// place's noon on it; nothing where the sun stays up or down all day.
std::optional<double> eventMinutes(calendar::Date day, const Place &place, int direction)
{
    const double midnight = JulianDayOfUnixEpoch + double(day.days());
    double minutes = MinutesPerDay / 2 - 4 * place.longitude; // a first guess: noon
    // The second pass takes the sun where it is at the time the first one found, which is
    // within seconds of where a third would.
    for (int pass = 0; pass < 2; ++pass) {
        const SunPosition sun = sunAt(midnight + minutes / MinutesPerDay);
        const double latitude = radians(place.latitude);
        const double declination = radians(sun.declination);
        const double cosine
                = std::cos(radians(HorizonZenith)) / (std::cos(latitude) * std::cos(declination))
                - std::tan(latitude) * std::tan(declination);
        if (cosine < -1 || cosine > 1)
            return std::nullopt;
        const double noon = MinutesPerDay / 2 - 4 * place.longitude - sun.equationOfTime;
        minutes = noon + direction * 4 * degrees(std::acos(cosine));
    }
    return minutes;
}

// To the nearest minute: the reckoning is good to about a minute, and no closer.
std::int64_t instantOf(calendar::Date day, double minutes)
{
    return (day.days() * std::int64_t(MinutesPerDay) + std::llround(minutes)) * 60;
}

std::int64_t sunEvent(calendar::Date day, const Place &place, int direction)
{
    if (const std::optional<double> minutes = eventMinutes(day, place, direction))
        return instantOf(day, *minutes);
    const Place nearest{std::copysign(std::min(std::abs(place.latitude), NearestLatitudeOfEveryDay),
                                      place.latitude),
                        place.longitude};
    // There the sun rises and sets on every day of the year.
    return instantOf(day, *eventMinutes(day, nearest, direction));
}

} // namespace

std::int64_t sunsetOn(calendar::Date day, const Place &place)
{
    return sunEvent(day, place, +1);
}

std::int64_t sunriseOn(calendar::Date day, const Place &place)
{
    return sunEvent(day, place, -1);
}

} // namespace command_line
