#include "date_text.h"

#include "bidi_text.h"
#include "counting.h"
#include "date_phrase.h"
#include "date_writing.h"
#include "program.h"

#include "calendar/numerals.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>
#include <variant>

namespace command_line {
namespace {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using calendar::DateField;
using namespace std::chrono;
using Text = std::u32string_view;

constexpr std::int64_t SecondsPerDay = 86400;
// No date a user writes is longer, time and zone included.
constexpr std::size_t LongestDate = 120;

[[noreturn]] void fail(DateTextFault fault, Calendar calendar, DateField field = DateField::Day)
{
    throw DateTextError(fault, {.calendar = calendar}, field);
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isSeparator(char32_t c)
{
    return c == U'-' || c == U'/' || c == U'.';
}

// The first character from `from` on that the test holds for. (std::u32string_view's
// find_first_of compares each character with every one of the set, a loop too slow for a
// column of a million dates.)
template<typename Test> std::size_t firstWhere(Text text, Test test, std::size_t from = 0)
{
    for (std::size_t at = from; at < text.size(); ++at)
        if (test(text[at]))
            return at;
    return Text::npos;
}

// The text as the reader sees it: every digit made ASCII, every blank a space, the invisible
// marks gone, and the blanks around it trimmed. No date is longer than it can hold.
class Normalized
{
public:
    Normalized(std::string_view utf8, Calendar calendar)
    {
        while (!utf8.empty()) {
            const char32_t c = calendar::takeCodePoint(utf8);
            if (calendar::isInvisibleMark(c))
                continue;
            if (m_length == m_text.size())
                fail(DateTextFault::Shape, calendar);
            const std::optional<int> digit = calendar::digitValue(c);
            m_text[m_length++] = digit ? char32_t(U'0' + *digit) : calendar::isBlank(c) ? U' ' : c;
        }
    }

    Text view() const { return calendar::trimmedBlanks(Text(m_text.data(), m_length)); }

private:
    std::array<char32_t, LongestDate> m_text; // only the first m_length are read
    std::size_t m_length = 0;
};

constexpr NamedValue DayWords[] = {{"today", 0}, {"now", 0}, {"yesterday", -1}, {"tomorrow", 1}};

std::optional<int> dayOffsetOfWord(Text text)
{
    return valueNamed(text, DayWords);
}

// A number at the front, taken off; nothing when there is none.
std::optional<std::int64_t> takeNumber(Text &text)
{
    return calendar::takeNumber<std::int64_t>(text);
}

// The digits after a decimal mark, as nanoseconds: ".5" is half a second. Past nine digits
// they are passed over.
std::optional<std::int64_t> takeFraction(Text &text)
{
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length]))
        ++length;
    std::int64_t nanoseconds = 0;
    for (std::size_t i = 0; i < 9; ++i)
        nanoseconds = nanoseconds * 10 + (i < length ? text[i] - U'0' : 0);
    text.remove_prefix(length);
    return length == 0 ? std::nullopt : std::optional(nanoseconds);
}

bool takeChar(Text &text, char32_t c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// Exactly two digits.
std::optional<int> takeTwoDigits(Text &text)
{
    if (text.size() < 2 || !isDigit(text[0]) || !isDigit(text[1]))
        return std::nullopt;
    const int value = int(text[0] - U'0') * 10 + int(text[1] - U'0');
    text.remove_prefix(2);
    return value;
}

struct Field
{
    Text text;
    bool negative = false; // a year before the era, written with its '-'
};

int numberIn(const Field &field, DateField which, Calendar calendar)
{
    if (field.text.empty())
        fail(DateTextFault::FieldMissing, calendar, which);
    const std::optional<int> number = calendar::wholeNumber<int>(field.text);
    if (!number)
        fail(DateTextFault::FieldNotANumber, calendar, which);
    return field.negative ? -*number : *number;
}

bool looksLikeYear(const Field &field)
{
    return field.negative || field.text.size() >= 4;
}

bool isNumber(const Field &field)
{
    return !field.text.empty() && std::all_of(field.text.begin(), field.text.end(), isDigit);
}

// A year before the era in three digits at least, as %Y prints it (-640); the others have
// four by the time the order is known.
void checkYearWritten(const Field &year, Calendar calendar)
{
    if (year.negative && isNumber(year) && year.text.size() < 3)
        fail(DateTextFault::ShortYear, calendar);
}

// Which end holds the year decides the order: true for the year first.
bool yearFirstIn(const std::array<Field, 3> &fields, Calendar calendar)
{
    if (looksLikeYear(fields[0]))
        return true;
    if (looksLikeYear(fields[2]))
        return false;
    if (fields[1].text.size() >= 4)
        fail(DateTextFault::YearInTheMiddle, calendar);
    if (std::all_of(fields.begin(), fields.end(), isNumber))
        fail(DateTextFault::ShortYear, calendar);
    fail(DateTextFault::Shape, calendar);
}

// "2024-03-11", "11/3/2024", "-640-05-16", "16/5/-640": three fields and one separator.
std::array<Field, 3> fieldsOf(Text text, Calendar calendar)
{
    const bool negativeFirst = text.size() > 1 && text[0] == U'-' && isDigit(text[1]);
    if (negativeFirst)
        text.remove_prefix(1);
    const std::size_t separatorAt = firstWhere(text, isSeparator);
    if (separatorAt == Text::npos)
        fail(DateTextFault::Shape, calendar);
    const char32_t separator = text[separatorAt];
    // Another separator is a mistake; a '-' before a number is a sign (16/5/-640), which
    // only the year at the end may have.
    for (std::size_t at = firstWhere(text, isSeparator); at != Text::npos;
         at = firstWhere(text, isSeparator, at + 1)) {
        const std::size_t before = at > 0 ? text.find_last_not_of(U' ', at - 1) : Text::npos;
        const bool sign = text[at] == U'-' && at + 1 < text.size() && isDigit(text[at + 1])
                && before != Text::npos && text[before] == separator
                && text.find(separator, at) == Text::npos;
        if (text[at] != separator && !sign)
            fail(DateTextFault::MixedSeparators, calendar);
    }
    std::array<Field, 3> fields;
    std::size_t count = 0;
    for (bool more = true; more; ++count) {
        const std::size_t end = text.find(separator);
        more = end != Text::npos;
        if (count == fields.size())
            fail(DateTextFault::Shape, calendar);
        fields[count].text = calendar::trimmedBlanks(text.substr(0, end));
        text.remove_prefix(more ? end + 1 : text.size());
    }
    if (count < fields.size())
        fail(DateTextFault::FieldMissing, calendar, DateField::Day); // a month and a year
    fields[0].negative = negativeFirst;
    Field &last = fields[2];
    if (separator != U'-' && last.text.size() > 1 && last.text[0] == U'-'
        && isDigit(last.text[1])) {
        last.negative = true;
        last.text.remove_prefix(1);
    }
    return fields;
}

struct WrittenDate
{
    CivilDate civil;
    bool yearFirst;
    bool eightDigits;
};

WrittenDate civilDateIn(Text text, Calendar calendar)
{
    std::array<Field, 3> fields;
    const bool eightDigits = text.size() == 8 && std::all_of(text.begin(), text.end(), isDigit);
    if (eightDigits) {
        fields = {Field{text.substr(0, 4)}, Field{text.substr(4, 2)}, Field{text.substr(6, 2)}};
    } else if (std::all_of(text.begin(), text.end(), isDigit)) {
        fail(text.size() == 6 ? DateTextFault::ShortYear : DateTextFault::Shape, calendar);
    } else {
        fields = fieldsOf(text, calendar);
    }
    const bool yearFirst = yearFirstIn(fields, calendar);
    const Field &year = yearFirst ? fields[0] : fields[2];
    const Field &day = yearFirst ? fields[2] : fields[0];
    CivilDate civil{.calendar = calendar};
    civil.year = numberIn(year, DateField::Year, calendar);
    checkYearWritten(year, calendar);
    civil.month = numberIn(fields[1], DateField::Month, calendar);
    civil.day = numberIn(day, DateField::Day, calendar);
    return {civil, yearFirst, eightDigits};
}

// The day the date names, or what is wrong with it in the user's terms: first what the order
// of its numbers tells, then whether the run's reckoning has such a day.
Date dayOf(const WrittenDate &date, const Reckoning &reckoning)
{
    const CivilDate &civil = date.civil;
    // Eight digits in a row are year, month and day whatever they hold: no order to blame.
    if (civil.month > 12 && civil.day >= 1 && civil.day <= 12 && !date.eightDigits)
        throw DateTextError(date.yearFirst ? DateTextFault::MonthFirstHere
                                           : DateTextFault::DayFirstHere,
                            civil);
    try {
        return reckoning.readableDays().validDateOf(civil);
    } catch (const calendar::DateError &error) {
        DateTextError noSuchDay(error);
        if (date.eightDigits)
            noSuchDay.readAsEightDigits();
        throw noSuchDay;
    }
}

// HH:MM, HH:MM:SS, a fraction, then Z or +HH, +HHMM, +HH:MM, maybe after a blank.
void readTimeOfDay(Text text, Moment &moment, Calendar calendar)
{
    const auto shape = [&] { fail(DateTextFault::TimeShape, calendar); };
    const std::size_t before = text.size();
    const std::optional<std::int64_t> hour = takeNumber(text);
    if (!hour || before - text.size() > 2 || !takeChar(text, U':'))
        shape();
    const std::optional<int> minute = takeTwoDigits(text);
    std::optional<int> second = 0;
    if (takeChar(text, U':'))
        second = takeTwoDigits(text);
    if (!minute || !second)
        shape();
    if (takeChar(text, U'.') || takeChar(text, U',')) {
        const std::optional<std::int64_t> fraction = takeFraction(text);
        if (!fraction)
            shape();
        moment.fraction = nanoseconds{*fraction};
    }
    text = calendar::trimmedBlanks(text);
    int zoneHours = 0, zoneMinutes = 0;
    if (takeChar(text, U'Z') || takeChar(text, U'z')) {
        moment.writtenOffset = minutes{0};
    } else if (!text.empty() && (text.front() == U'+' || text.front() == U'-')) {
        const bool west = text.front() == U'-';
        text.remove_prefix(1);
        const std::optional<int> hours = takeTwoDigits(text);
        const bool colon = takeChar(text, U':');
        const std::optional<int> rest = text.empty() && !colon ? 0 : takeTwoDigits(text);
        if (!hours || !rest)
            shape();
        zoneHours = *hours;
        zoneMinutes = *rest;
        moment.writtenOffset = minutes{(west ? -1 : 1) * (zoneHours * 60 + zoneMinutes)};
    }
    if (!text.empty())
        shape();
    if (*hour > 23 || *minute > 59 || *second > 59)
        fail(DateTextFault::NoSuchTime, calendar);
    if (zoneHours > 23 || zoneMinutes > 59)
        fail(DateTextFault::NoSuchZone, calendar);
    moment.timeOfDay = hours{*hour} + minutes{*minute} + seconds{*second};
}

// Where a time of day begins: after a 'T' right after the date's last digit, or at the number
// before the first ':' once a blank parts it from the date.
struct Parts
{
    Text date;
    std::optional<Text> time;
};

Parts partsOf(Text text, Calendar calendar)
{
    Parts parts{text, std::nullopt};
    const auto startsTime = [&](std::size_t at) {
        return (text[at] == U'T' || text[at] == U't')
                && (at > 0 ? isDigit(text[at - 1]) : text.size() > 1 && isDigit(text[1]));
    };
    std::size_t t = 0;
    while (t < text.size() && !startsTime(t))
        ++t;
    if (t < text.size()) {
        parts = {text.substr(0, t), text.substr(t + 1)};
    } else if (const std::size_t colon = text.find(U':'); colon != Text::npos) {
        std::size_t hour = colon;
        while (hour > 0 && isDigit(text[hour - 1]))
            --hour;
        if (hour > 0 && text[hour - 1] != U' ')
            fail(DateTextFault::TimeShape, calendar);
        parts = {text.substr(0, hour), text.substr(hour)};
    }
    parts.date = calendar::trimmedBlanks(parts.date);
    if (parts.date.empty())
        fail(parts.time ? DateTextFault::TimeAlone : DateTextFault::Empty, calendar);
    return parts;
}

// @1700000000, @-86400, @1700000000.5
Moment instantIn(Text text, const DateReading &reading)
{
    const Calendar calendar = reading.calendar;
    const bool negative = takeChar(text, U'-');
    if (!negative)
        takeChar(text, U'+');
    const std::optional<std::int64_t> whole = takeNumber(text);
    std::optional<std::int64_t> fraction = 0;
    if (whole && (takeChar(text, U'.') || takeChar(text, U',')))
        fraction = takeFraction(text);
    if (!whole || !fraction || !text.empty())
        fail(DateTextFault::SecondsShape, calendar);
    std::int64_t seconds = negative ? -*whole : *whole;
    if (negative && *fraction > 0) { // the second before, and the part of it after
        --seconds;
        fraction = 1'000'000'000 - *fraction;
    }
    return readableMomentAt(seconds, nanoseconds{*fraction}, reading);
}

[[noreturn]] void outOfRange(Calendar calendar)
{
    throw DateTextError(
            calendar::DateError(calendar::DateFault::OutOfRange, {.calendar = calendar}));
}

Moment movedTo(Moment moment, Date day)
{
    if (day != moment.day) {
        moment.day = day;
        moment.unixSeconds.reset(); // the same time on that day's clock, whatever the zone did
    }
    return moment;
}

bool hasDigit(Text word)
{
    return firstWhere(word, isDigit) != Text::npos;
}

bool isZoneWord(Text word)
{
    return isWord(word, "utc") || isWord(word, "gmt") || isWord(word, "z");
}

// A word of letters alone that no date is written with: "x", "Mar", "todays".
void refuseUnknownWords(Text text, Calendar calendar)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(U' ', at), text.size());
        const Text word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty() || hasDigit(word) || dayOffsetOfWord(word) || isZoneWord(word)
            || (word.size() == 1 && (isSeparator(word[0]) || word[0] == U'@')))
            continue;
        std::string utf8;
        icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32 *>(word.data()),
                                      std::int32_t(word.size()))
                .toUTF8String(utf8);
        throw DateTextError(DateTextFault::UnknownWord, {.calendar = calendar}).about(utf8);
    }
}

// "2024-03-11 UTC", "10:00 GMT": the zone word taken off the end.
bool takeZoneWord(Text &text)
{
    const std::size_t blank = text.rfind(U' ');
    if (blank == Text::npos || !isZoneWord(text.substr(blank + 1)))
        return false;
    text = calendar::trimmedBlanks(text.substr(0, blank));
    return true;
}

void refuseSkippedTime(const Moment &moment, Calendar calendar)
{
    if (moment.writtenOffset)
        return;
    const LocalInstant instant = localInstant(moment.day, moment.timeOfDay);
    if (instant.skipped)
        throw DateTextError(DateTextFault::SkippedTime, {.calendar = calendar})
                .atJump(instant.unixSeconds);
}

// The date itself, without the words that move it; `dateWritten` says whether it is one in
// numbers.
Moment momentWritten(Text text, const DateReading &reading, bool &dateWritten)
{
    const Calendar calendar = reading.calendar;
    dateWritten = false;
    if (text.empty())
        return reading.now();
    if (text.front() == U'@')
        return instantIn(text.substr(1), reading);
    refuseUnknownWords(text, calendar);
    const bool utc = takeZoneWord(text);
    const Parts parts = partsOf(text, calendar);
    Moment moment;
    if (const std::optional<int> offset = dayOffsetOfWord(parts.date)) {
        const Moment now = reading.now();
        if (!parts.time) // an instant, which no zone moves: "today UTC" is now
            return movedTo(now, now.day + calendar::Days{*offset});
        moment.day = now.day + calendar::Days{*offset};
    } else {
        const WrittenDate date = civilDateIn(parts.date, calendar);
        moment.day = dayOf(date, reading.reckoning);
        dateWritten = true;
    }
    if (parts.time)
        readTimeOfDay(*parts.time, moment, calendar);
    if (utc) {
        if (moment.writtenOffset)
            fail(DateTextFault::TimeShape, calendar);
        moment.writtenOffset = minutes{0};
    }
    if (parts.time)
        refuseSkippedTime(moment, calendar);
    return moment;
}

// The weekday a phrase names: the coming one (today if it is one), or with next the one after
// today, with last the one before, as date(1) counts them.
Date onWeekday(Date day, const DayMove &move)
{
    const int ahead = int((*move.weekday - day.weekday()).count());
    const int ordinal = move.weekdayOrdinal;
    return day + calendar::Days{ahead + 7 * (ordinal - (ordinal > 0 && ahead != 0 ? 1 : 0))};
}

Moment moved(const Moment &moment, const DayMove &move, bool dateWritten,
             const DateReading &reading)
{
    const Calendar calendar = reading.calendar;
    Date day = moment.day;
    if (move.weekday && move.bareWeekday && dateWritten) {
        if (day.weekday() != *move.weekday) {
            std::string written;
            appendIsoDate(written, reading.reckoning.civilDate(day, calendar), Digits::Latin);
            throw DateTextError(DateTextFault::WrongWeekday, {.calendar = calendar}).about(written);
        }
    } else if (move.weekday) {
        day = onWeekday(day, move);
    }
    // Longer than any span of days a date may name, and within an int.
    constexpr std::int64_t MostMonths = 200'000, MostDays = 5'000'000;
    for (const Calendar counted : {Calendar::Gregorian, Calendar::Hijri}) {
        const std::int64_t months = move.months[std::size_t(counted)];
        if (months == 0)
            continue;
        if (std::abs(months) > MostMonths)
            outOfRange(calendar);
        try {
            day = monthsLater(reading.reckoning, day, counted, int(months));
        } catch (const calendar::DateError &error) {
            throw DateTextError(error);
        }
    }
    if (std::abs(move.days) > MostDays)
        outOfRange(calendar);
    day += calendar::Days{move.days};
    const calendar::AcceptedDays &readable = reading.reckoning.readableDays();
    if (day < readable.first() || day > readable.last())
        outOfRange(calendar);
    return movedTo(moment, day);
}

} // namespace

DateTextError::DateTextError(DateTextFault fault, const CivilDate &written, DateField field)
    : std::runtime_error("invalid date"), m_fault(fault), m_field(field), m_written(written)
{
}

DateTextError::DateTextError(const calendar::DateError &noSuchDay)
    : std::runtime_error("invalid date"), m_fault(noSuchDay.fault()), m_written(noSuchDay.written())
{
}

Moment readableMomentAt(std::int64_t unixSeconds, nanoseconds fraction, const DateReading &reading)
{
    const calendar::AcceptedDays &readable = reading.reckoning.readableDays();
    const auto outOfRange = [&] {
        return DateTextError(calendar::DateError(calendar::DateFault::OutOfRange,
                                                 {.calendar = reading.calendar}));
    };
    // A day to spare on either side for the local zone; the exact day is checked below.
    if (unixSeconds < (readable.first().days() - 1) * SecondsPerDay
        || unixSeconds > (readable.last().days() + 1) * SecondsPerDay)
        throw outOfRange();
    const Moment moment = momentAt(unixSeconds, fraction);
    if (moment.day < readable.first() || moment.day > readable.last())
        throw outOfRange();
    return moment;
}

Moment readDate(std::string_view text, const DateReading &reading)
{
    const Normalized normalized(text, reading.calendar);
    const Text written = normalized.view();
    if (written.empty())
        fail(DateTextFault::Empty, reading.calendar);
    const DatePhrase phrase = phraseOf(written, reading.calendar);
    bool dateWritten = false;
    const Moment moment = momentWritten(phrase.date, reading, dateWritten);
    return phrase.moves ? moved(moment, phrase.move, dateWritten, reading) : moment;
}

Moment settledOnLocalClock(Moment moment)
{
    if (moment.writtenOffset || moment.unixSeconds)
        return moment;
    const LocalInstant instant = localInstant(moment.day, moment.timeOfDay);
    if (!instant.skipped)
        return moment;
    const Moment first = momentAt(instant.unixSeconds, moment.fraction);
    if (first.day != moment.day)
        throw DateTextError(DateTextFault::SkippedDay).atJump(instant.unixSeconds);
    moment.timeOfDay = first.timeOfDay;
    return moment;
}

DateTextError &DateTextError::about(std::string word)
{
    m_word = std::move(word);
    return *this;
}

DateTextError &DateTextError::atJump(std::int64_t unixSeconds)
{
    m_jump = unixSeconds;
    return *this;
}

DateTextError &DateTextError::readAsEightDigits()
{
    m_eightDigits = true;
    return *this;
}

namespace {

const char *fieldProblem(DateTextFault fault, DateField field)
{
    const bool missing = fault == DateTextFault::FieldMissing;
    switch (field) {
    case DateField::Day:
        return missing ? _("the day is missing") : _("the day is not a number");
    case DateField::Month:
        return missing ? _("the month is missing") : _("the month is not a number");
    case DateField::Year:
        break;
    }
    return missing ? _("the year is missing") : _("the year is not a number");
}

std::string readableDays(const DateReading &reading)
{
    const calendar::AcceptedDays &days = reading.reckoning.readableDays();
    // Within a right-to-left sentence a date is held left to right, its minus sign included.
    const auto shown = [&](Date day) {
        return heldInMessage(
                isoDate(reading.reckoning.civilDate(day, reading.calendar), Digits::Latin));
    };
    const std::string first = shown(days.first()), last = shown(days.last());
    return formatted(reading.calendar == Calendar::Hijri ? _("Hijri dates run from %s to %s")
                                                         : _("Gregorian dates run from %s to %s"),
                     first.c_str(), last.c_str());
}

// "the local clock went from 02:00 straight to 03:00": the times each side of the jump.
std::string clockJump(DateTextFault fault, std::int64_t jump)
{
    const Moment before = momentAt(jump - 1), after = momentAt(jump);
    const bool wholeDay = fault == DateTextFault::SkippedDay;
    const auto shown = [&](sys_seconds clock) {
        const sys_days day = floor<days>(clock);
        std::string text;
        if (wholeDay) {
            appendIsoDate(text, calendar::civilDate(Date::fromSysDays(day), Calendar::Gregorian),
                          Digits::Latin);
            text += ' ';
        }
        text += hoursAndMinutes(clock - day, Digits::Latin);
        return heldInMessage(text);
    };
    // The second before the jump ends at the time it jumped from.
    const std::string from = shown(before.day.sysDays() + before.timeOfDay + seconds{1});
    const std::string to = shown(after.day.sysDays() + after.timeOfDay);
    return formatted(wholeDay ? _("the local clock went past that whole day, from %s straight "
                                  "to %s")
                              : _("the local clock never showed that time: it went from %s "
                                  "straight to %s"),
                     from.c_str(), to.c_str());
}

std::string shapeProblem(DateTextFault fault, const DateTextError &error)
{
    const bool hijri = error.written().calendar == Calendar::Hijri;
    switch (fault) {
    case DateTextFault::Empty:
        return _("no date is written");
    case DateTextFault::Shape:
        return _("write it as YYYY-MM-DD or D/M/YYYY, or as today, yesterday, tomorrow, now or "
                 "@SECONDS");
    case DateTextFault::MixedSeparators:
        return _("write the same mark between the day, the month and the year");
    case DateTextFault::FieldMissing:
    case DateTextFault::FieldNotANumber:
        return fieldProblem(fault, error.field());
    case DateTextFault::ShortYear:
        return hijri ? _("write the year with four digits, as in 1445")
                     : _("write the year with four digits, as in 2024");
    case DateTextFault::YearInTheMiddle:
        return _("the year comes first or last");
    case DateTextFault::MonthFirstHere:
        return _("the month comes before the day here");
    case DateTextFault::DayFirstHere:
        return _("the day comes before the month here");
    case DateTextFault::TimeAlone:
        return _("a time is not a date: write the date before it");
    case DateTextFault::TimeShape:
        return _("write the time after the date as HH:MM or HH:MM:SS, and its zone as Z or "
                 "+HH:MM");
    case DateTextFault::NoSuchTime:
        return _("there is no such time: hours run from 00 to 23, minutes and seconds from 00 "
                 "to 59");
    case DateTextFault::NoSuchZone:
        return _("there is no such zone: zones run from -23:59 to +23:59");
    case DateTextFault::UnknownWord:
        return formatted(_("%s is not a word dates are written with"),
                         quotedText(error.word()).c_str());
    case DateTextFault::WrongWeekday:
        return formatted(_("%s falls on another weekday"), heldInMessage(error.word()).c_str());
    case DateTextFault::SkippedTime:
    case DateTextFault::SkippedDay:
        return clockJump(fault, error.jump());
    case DateTextFault::SecondsShape:
        break;
    }
    return _("write the seconds since 1970 after the @, as in @1700000000");
}

std::string dayProblem(calendar::DateFault fault, const CivilDate &written,
                       const DateReading &reading)
{
    using calendar::DateFault;
    switch (fault) {
    case DateFault::MonthOutOfRange:
        return _("months run from 1 to 12");
    case DateFault::DayBelowOne:
        return _("days start at 1");
    case DateFault::PastMonthEnd:
        return formatted(
                written.calendar == Calendar::Hijri ? _("Hijri month %d of %d has only %d days")
                                                    : _("month %d of %d has only %d days"),
                written.month, written.year,
                reading.reckoning.lastDayOfMonth(written.calendar, written.year, written.month));
    case DateFault::SkippedByReform:
        return _("5 to 14 October 1582 never existed: the Gregorian reform skipped them");
    case DateFault::YearOutOfRange:
    case DateFault::OutOfRange:
        break;
    }
    return readableDays(reading);
}

} // namespace

std::string dateProblem(std::string_view text, const DateTextError &error,
                        const DateReading &reading)
{
    const std::string why = std::visit(
            [&](auto fault) {
                if constexpr (std::is_same_v<decltype(fault), DateTextFault>)
                    return shapeProblem(fault, error);
                else
                    return dayProblem(fault, error.written(), reading);
            },
            error.fault());
    if (error.eightDigits())
        return formatted(_("invalid date %s: eight digits are read as YYYYMMDD, and %s"),
                         quotedText(text).c_str(), why.c_str());
    return formatted(_("invalid date %s: %s"), quotedText(text).c_str(), why.c_str());
}

} // namespace command_line
