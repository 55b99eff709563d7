#include "reckoning.h"

#include "bidi_text.h"
#include "date_writing.h"
#include "program.h"

#include "calendar/date_error.h"
#include "calendar/hijri_months.h"

#include <algorithm>
#include <cstdlib>

namespace command_line {
namespace {

using calendar::Days;

// A recorded start further than this from the day the chosen calendar gives is taken for a
// mistyped line: announcements and sightings keep within a day or two of every reckoning.
constexpr int FurthestRecordedShift = 3;

// A Hijri month as a count: year * 12 + month - 1, and back.
int monthIndex(int year, int month)
{
    return year * 12 + month - 1;
}

std::pair<int, int> yearAndMonth(int index)
{
    const int year = index >= 0 ? index / 12 : -((11 - index) / 12);
    return {year, index - year * 12 + 1};
}

Date firstReadableDay()
{
    return *calendar::dateOf({Calendar::Gregorian, calendar::FirstYear, 1, 1});
}

std::string monthWritten(int index)
{
    const auto [year, month] = yearAndMonth(index);
    return heldInMessage(formatted("%d-%02d", year, month));
}

std::string dayWritten(Date day)
{
    return heldInMessage(isoDate(calendar::civilDate(day, Calendar::Gregorian), Digits::Latin));
}

Keeping shiftedBy(int hijriShift)
{
    Keeping keeping;
    keeping.hijriShift = hijriShift;
    return keeping;
}

} // namespace

Reckoning::Reckoning(int hijriShift) : Reckoning(shiftedBy(hijriShift)) { }

Reckoning::Reckoning(Keeping keeping)
    : m_keeping(std::move(keeping)),
      m_readable(firstReadableDay(), firstReadableDay(), calendar::plainCalendars())
{
    applyRecords();
    const Date last = hijriMonthStart(calendar::LastYear, 13) - Days{1};
    m_readable = calendar::AcceptedDays(firstReadableDay(), last, *this);
}

Date Reckoning::reckonedStart(int year, int month) const
{
    return calendar::detail::hijriMonthStart(year, month, m_keeping.variant)
            - Days{m_keeping.hijriShift};
}

Date Reckoning::hijriMonthStart(int year, int month) const
{
    return monthStartAt(monthIndex(year, month));
}

Date Reckoning::monthStartAt(int index) const
{
    if (const auto moved = m_moved.find(index); moved != m_moved.end())
        return moved->second;
    const auto [year, month] = yearAndMonth(index);
    return reckonedStart(year, month);
}

// Each recorded month begins on its day. The months between two records are fitted between
// them, and those before the first and after the last are moved only as far as it takes to
// keep every month 29 or 30 days long, each on the day nearest its reckoned one: a Ramadan
// recorded a day late has 29 or 30 days, and so has the Sha'ban before it.
void Reckoning::applyRecords()
{
    std::vector<MonthRecord> records = m_keeping.records;
    std::ranges::sort(records, {},
                      [](const MonthRecord &r) { return monthIndex(r.year, r.month); });
    for (std::size_t i = 0; i < records.size(); ++i) {
        refuseUnlikely(records[i], i > 0 ? &records[i - 1] : nullptr);
        m_moved.insert_or_assign(monthIndex(records[i].year, records[i].month), records[i].start);
    }
    fitMonths(records);
    boundMovedDays();
}

void Reckoning::refuseUnlikely(const MonthRecord &record, const MonthRecord *earlier) const
{
    const int index = monthIndex(record.year, record.month);
    const Date reckoned
            = calendar::detail::hijriMonthStart(record.year, record.month, m_keeping.variant);
    if (std::abs((record.start - reckoned).count()) > FurthestRecordedShift)
        throw SettingsError(formatted(
                _("%s: the month %s begins on %s by the calendar followed; a recorded start "
                  "may be at most %d days from it"),
                record.where.c_str(), monthWritten(index).c_str(), dayWritten(reckoned).c_str(),
                FurthestRecordedShift));
    if (!earlier)
        return;
    const int months = index - monthIndex(earlier->year, earlier->month);
    const auto days = (record.start - earlier->start).count();
    if (days < 29 * months || days > 30 * months)
        throw SettingsError(formatted(
                _("%s: the month %s cannot begin on %s when %s began on %s (%s): that leaves a "
                  "month shorter than 29 days or longer than 30"),
                record.where.c_str(), monthWritten(index).c_str(), dayWritten(record.start).c_str(),
                monthWritten(monthIndex(earlier->year, earlier->month)).c_str(),
                dayWritten(earlier->start).c_str(), earlier->where.c_str()));
}

void Reckoning::fitMonths(const std::vector<MonthRecord> &records)
{
    const auto move = [&](int index, Date start) {
        if (start == monthStartAt(index))
            return false;
        m_moved.insert_or_assign(index, start);
        return true;
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int index = monthIndex(records[i].year, records[i].month);
        // Back from the first record until the months rejoin the reckoning.
        for (int k = index - 1; i == 0; --k) {
            const Date following = monthStartAt(k + 1);
            if (!move(k, std::clamp(monthStartAt(k), following - Days{30}, following - Days{29})))
                break;
        }
        // On to the next record, never leaving less than 29 days or more than 30 a month
        // for the months still before it; past the last, until the months rejoin.
        const bool last = i + 1 == records.size();
        const int next = last ? 0 : monthIndex(records[i + 1].year, records[i + 1].month);
        for (int k = index + 1; last || k < next; ++k) {
            Date earliest = monthStartAt(k - 1) + Days{29};
            Date latest = monthStartAt(k - 1) + Days{30};
            if (!last) {
                earliest = std::max(earliest, records[i + 1].start - Days{30 * (next - k)});
                latest = std::min(latest, records[i + 1].start - Days{29 * (next - k)});
            }
            if (!move(k, std::clamp(monthStartAt(k), earliest, latest)) && last)
                break;
        }
    }
}

void Reckoning::boundMovedDays()
{
    if (m_moved.empty())
        return;
    m_firstMoved = m_pastMoved = m_moved.begin()->second;
    for (const auto &[index, start] : m_moved) {
        const auto [year, month] = yearAndMonth(index);
        const Date reckoned = reckonedStart(year, month);
        m_firstMoved = std::min({m_firstMoved, start, reckoned});
        m_pastMoved = std::max({m_pastMoved, start + Days{31}, reckoned + Days{31}});
    }
}

CivilDate Reckoning::civilDate(Date date, Calendar calendar) const
{
    if (calendar == Calendar::Gregorian)
        return calendar::civilDate(date, calendar);
    CivilDate civil = calendar::detail::hijriCivilDate(date + Days{m_keeping.hijriShift},
                                                       m_keeping.variant);
    if (date < m_firstMoved || date >= m_pastMoved)
        return civil;
    // The records move a month's start by a few days at most.
    int index = monthIndex(civil.year, civil.month);
    while (date < monthStartAt(index))
        --index;
    while (date >= monthStartAt(index + 1))
        ++index;
    const auto [year, month] = yearAndMonth(index);
    return {Calendar::Hijri, year, month, int((date - monthStartAt(index)).count()) + 1};
}

std::optional<Date> Reckoning::dateOf(const CivilDate &civil) const
{
    if (civil.calendar == Calendar::Gregorian)
        return calendar::dateOf(civil);
    using calendar::detail::FirstHijriYear, calendar::detail::LastHijriYear;
    if (civil.year < FirstHijriYear || civil.year >= LastHijriYear || civil.month < 1
        || civil.month > 12 || civil.day < 1
        || civil.day > lastDayOfMonth(civil.calendar, civil.year, civil.month))
        return std::nullopt;
    return hijriMonthStart(civil.year, civil.month) + Days{civil.day - 1};
}

int Reckoning::lastDayOfMonth(Calendar calendar, int year, int month) const
{
    if (calendar == Calendar::Gregorian)
        return calendar::lastDayOfMonth(calendar, year, month);
    return int((hijriMonthStart(year, month + 1) - hijriMonthStart(year, month)).count());
}

Date Reckoning::monthStart(Calendar calendar, int year, int month) const
{
    const CivilDate first = month > 12 ? CivilDate{calendar, year + 1, 1, 1}
                                       : CivilDate{calendar, year, month, 1};
    if (const std::optional<Date> start = dateOf(first))
        return *start;
    throw calendar::DateError(calendar::DateFault::OutOfRange, first);
}

Date Reckoning::hijriDayOf(const Moment &moment) const
{
    if (!m_keeping.dayBeginsAtSunset || !moment.unixSeconds)
        return moment.day;
    const std::optional<std::int64_t> sunset = sunsetOn(moment.day);
    return sunset && *moment.unixSeconds >= *sunset ? moment.day + Days{1} : moment.day;
}

std::optional<std::int64_t> Reckoning::sunsetOn(Date day) const
{
    if (!m_keeping.place)
        return std::nullopt;
    return command_line::sunsetOn(day, m_keeping.place->place);
}

std::optional<std::int64_t> Reckoning::sunriseOn(Date day) const
{
    if (!m_keeping.place)
        return std::nullopt;
    return command_line::sunriseOn(day, m_keeping.place->place);
}

} // namespace command_line
