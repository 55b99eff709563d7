#include "icalendar.h"

#include "calendar/civil_date.h"

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
std::string folded(std::string_view line)
{
    std::string out;
    std::size_t room = MostOctetsOnALine;
    while (line.size() > room) {
        std::size_t cut = room;
        while ((static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.substr(0, cut)).append("\r\n ");
        line.remove_prefix(cut);
        room = MostOctetsOnALine - 1;
    }
    return out.append(line).append("\r\n");
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
    static const calendar::Date first = *calendar::dateOf(calendar::FirstGregorianDate);
    return day >= first && int(gregorian(day + days{1}).year()) <= 9999;
}

ICalendarWriter::ICalendarWriter(const ICalendarHeader &header,
                                 std::function<void(std::string_view)> write)
    : m_write(std::move(write)), m_stamp(stampValue(header.stamp))
{
    addLine("BEGIN:VCALENDAR");
    addLine("VERSION:2.0");
    addLine("PRODID:" + header.product);
    addLine("CALSCALE:GREGORIAN");
    addLine("METHOD:PUBLISH");
    addLine("X-WR-CALNAME:" + escapedText(header.name));
}

void ICalendarWriter::add(const CalendarEvent &event)
{
    if (m_empty) {
        m_write(m_pending);
        m_pending.clear();
        m_empty = false;
    }
    addLine("BEGIN:VEVENT");
    addLine("UID:" + escapedText(event.uid));
    addLine("DTSTAMP:" + m_stamp);
    if (event.hours) {
        addLine("DTSTART:" + stampValue(event.hours->start));
        addLine("DTEND:" + stampValue(event.hours->end));
    } else {
        addLine("DTSTART;VALUE=DATE:" + dateValue(event.day));
        addLine("DTEND;VALUE=DATE:" + dateValue(event.day + days{1}));
    }
    addLine("SUMMARY:" + escapedText(event.summary));
    if (!event.description.empty())
        addLine("DESCRIPTION:" + escapedText(event.description));
    // A day's name or a feast takes no time from anyone's day.
    addLine("TRANSP:TRANSPARENT");
    addLine("END:VEVENT");
}

bool ICalendarWriter::finish()
{
    if (m_empty)
        return false;
    addLine("END:VCALENDAR");
    return true;
}

void ICalendarWriter::addLine(std::string_view line)
{
    if (m_empty)
        m_pending += folded(line);
    else
        m_write(folded(line));
}

} // namespace taqwim_cal
