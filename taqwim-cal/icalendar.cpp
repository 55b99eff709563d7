#include "icalendar.h"

#include <cstdio>

namespace taqwim_cal {
namespace {

using namespace std::chrono;

constexpr std::size_t MostOctetsOnALine = 75;
constexpr std::string_view UidDomain = "@taqwim.invalid";

year_month_day gregorian(calendar::Date day)
{
    return year_month_day{day.sysDays()};
}

std::string dateValue(calendar::Date day)
{
    const year_month_day date = gregorian(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return text;
}

std::string stampValue(sys_seconds stamp)
{
    const sys_days day = floor<days>(stamp);
    const year_month_day date{day};
    const hh_mm_ss time{stamp - day};
    char text[24];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02d%02d%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::string escapedText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// A content line, folded so that no line passes 75 octets: a fold never falls inside a
// UTF-8 character, and each continuation starts with the blank that unfolding removes.
void addLine(std::string &out, std::string_view line)
{
    std::size_t room = MostOctetsOnALine;
    while (line.size() > room) {
        std::size_t cut = room;
        while ((static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.substr(0, cut)).append("\r\n ");
        line.remove_prefix(cut);
        room = MostOctetsOnALine - 1;
    }
    out.append(line).append("\r\n");
}

void addEvent(std::string &out, const AllDayEvent &event, const std::string &stamp)
{
    addLine(out, "BEGIN:VEVENT");
    addLine(out, "UID:" + escapedText(event.uid));
    addLine(out, "DTSTAMP:" + stamp);
    addLine(out, "DTSTART;VALUE=DATE:" + dateValue(event.day));
    addLine(out, "DTEND;VALUE=DATE:" + dateValue(event.day + days{1}));
    addLine(out, "SUMMARY:" + escapedText(event.summary));
    if (!event.description.empty())
        addLine(out, "DESCRIPTION:" + escapedText(event.description));
    // A day's name or a feast takes no time from anyone's day.
    addLine(out, "TRANSP:TRANSPARENT");
    addLine(out, "END:VEVENT");
}

} // namespace

std::string dayUid(calendar::Date day)
{
    return "day-" + dateValue(day) + std::string(UidDomain);
}

std::string occasionUid(std::string_view key, int hijriYear)
{
    return "occasion-" + std::string(key) + "-" + std::to_string(hijriYear)
            + std::string(UidDomain);
}

bool fitsICalendar(calendar::Date day)
{
    // The day after is written too, as the event's end.
    return int(gregorian(day).year()) >= 1 && int(gregorian(day + days{1}).year()) <= 9999;
}

std::string iCalendar(const ICalendarHeader &header, std::span<const AllDayEvent> events)
{
    std::string out;
    out.reserve(events.size() * 200 + 300);
    addLine(out, "BEGIN:VCALENDAR");
    addLine(out, "VERSION:2.0");
    addLine(out, "PRODID:" + header.product);
    addLine(out, "CALSCALE:GREGORIAN");
    addLine(out, "METHOD:PUBLISH");
    addLine(out, "X-WR-CALNAME:" + escapedText(header.name));
    const std::string stamp = stampValue(header.stamp);
    for (const AllDayEvent &event : events)
        addEvent(out, event, stamp);
    addLine(out, "END:VCALENDAR");
    return out;
}

} // namespace taqwim_cal
