#include "place.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace command_line {
namespace {

std::optional<double> numberIn(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string zoneFolder()
{
    const char *folder = std::getenv("TZDIR");
    return folder && *folder ? folder : "/usr/share/zoneinfo";
}

// The zone's tzdata name: TZ's, where it names one, else the one /etc/localtime is a link to.
std::optional<std::string> timeZoneName()
{
    if (const char *zone = std::getenv("TZ")) {
        std::string_view name = zone;
        if (name.starts_with(':'))
            name.remove_prefix(1);
        if (name.empty() || name.starts_with('/'))
            return std::nullopt;
        return std::string(name);
    }
    std::error_code error;
    const std::string link = std::filesystem::read_symlink("/etc/localtime", error).string();
    const std::size_t folder = link.find("zoneinfo/");
    if (error || folder == std::string::npos)
        return std::nullopt;
    return link.substr(folder + std::string_view("zoneinfo/").size());
}

// ISO 6709 degrees and minutes, and seconds where given: "+2438", "-05827", "+513030".
double degreesIn(std::string_view text, std::size_t degreeDigits)
{
    const double sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
    double degrees = 0;
    double unit = 1;
    for (std::size_t at = 0; at < text.size(); unit /= 60) {
        const std::size_t digits = at == 0 ? degreeDigits : 2;
        degrees += unit * std::atof(std::string(text.substr(at, digits)).c_str());
        at += digits;
    }
    return sign * degrees;
}

std::optional<Place> placeInTable(const std::string &table, const std::string &zone)
{
    std::ifstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('#'))
            continue;
        // COUNTRY-CODES <tab> COORDINATES <tab> ZONE [<tab> COMMENTS]
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        if (second == std::string::npos)
            continue;
        const std::size_t end = line.find('\t', second + 1);
        if (line.substr(second + 1, end - second - 1) != zone)
            continue;
        const std::string coordinates = line.substr(first + 1, second - first - 1);
        const std::size_t east = coordinates.find_first_of("+-", 1);
        return Place{degreesIn(std::string_view(coordinates).substr(0, east), 2),
                     degreesIn(std::string_view(coordinates).substr(east), 3)};
    }
    return std::nullopt;
}

} // namespace

std::optional<Place> placeWritten(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> latitude = numberIn(text.substr(0, comma));
    const std::optional<double> longitude = numberIn(text.substr(comma + 1));
    if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180)
        return std::nullopt;
    return Place{*latitude, *longitude};
}

std::optional<NamedPlace> placeOfTimeZone()
{
    const std::optional<std::string> zone = timeZoneName();
    if (!zone)
        return std::nullopt;
    for (const char *table : {"zone1970.tab", "zone.tab"})
        if (const std::optional<Place> place = placeInTable(zoneFolder() + "/" + table, *zone))
            return NamedPlace{*place, *zone};
    return std::nullopt;
}

} // namespace command_line
