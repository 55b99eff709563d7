// What both command-line programs share: dates as people write them, moments and their
// zones, the quoting of the user's text, and the language of the names.
#include "command_line/counting.h"
#include "command_line/date_text.h"
#include "command_line/locale.h"
#include "command_line/program.h"
#include "command_line/terminal.h"

#include "command_line/locale_names.h"

#include "calendar/date_names.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <string>
#include <vector>

using namespace command_line;
using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using calendar::DateField;
using namespace std::chrono;

namespace {

constexpr const char *Riyadh = "<+03>-3"; // POSIX rules: no time zone data needed
constexpr const char *Berlin = "CET-1CEST,M3.5.0,M10.5.0/3";

CivilDate gregorianOf(const Moment &moment)
{
    return calendar::civilDate(moment.day, Calendar::Gregorian);
}

const Reckoning &shiftedBy(int days)
{
    static const std::array<Reckoning, 5> reckonings{Reckoning(-2), Reckoning(-1), Reckoning(0),
                                                     Reckoning(1), Reckoning(2)};
    return reckonings.at(std::size_t(days + 2));
}

Moment read(std::string_view text, Calendar calendar = Calendar::Gregorian, int shift = 0)
{
    return readDate(text, {calendar, shiftedBy(shift), [] { return momentAt(1'700'000'000); }});
}

struct Accepted
{
    const char *text;
    Calendar calendar;
    CivilDate gregorian;
};

TEST(DateText, ReadsTheFormsPeopleWrite)
{
    const CivilDate march11{Calendar::Gregorian, 2024, 3, 11};
    constexpr Calendar G = Calendar::Gregorian, H = Calendar::Hijri;
    const std::vector<Accepted> cases = {
            {"2024-03-11", G, march11},
            {"2024/03/11", G, march11},
            {"2024.03.11", G, march11},
            {"20240311", G, march11},
            {"2024-3-11", G, march11},
            {"11/3/2024", G, march11},
            {"11-3-2024", G, march11},
            {"11.3.2024", G, march11},
            {"03/11/2024", G, {G, 2024, 11, 3}}, // the year last: the day first
            {" 11 / 3 / 2024\t", G, march11},
            {"\u200f١١/٣/٢٠٢٤\u200e", G, march11},
            {"۲۰۲۴-۰۳-۱۱", G, march11},
            {"2024-03-11T10:00", G, march11},
            {"2024-03-11 10:00", G, march11},
            {"2024-03-11t10:00:30.25z", G, march11},
            {"2024-03-11T23:59:59-05:30", G, march11}, // the day written, whatever the zone
            {"2024-03-11T00:00+14", G, march11},
            {"2024-03-11 10:00 +0300", G, march11},
            {"2024-03-11T10:00 UTC", G, march11},
            {"2024-03-11 gmt", G, march11},
            {"Mon 2024-03-11", G, march11},
            {"monday, 2024-03-11", G, march11},
            {"0001-01-01", G, {G, 1, 1, 1}},
            {"10323-10-21", G, {G, 10323, 10, 21}},
            {"1445-09-01", H, march11},
            {"1/9/1445", H, march11},
            {"١٤٤٥/٩/١", H, march11},
            {"-640-05-16", H, {G, 1, 1, 1}},
            {"-0640-05-16", H, {G, 1, 1, 1}},
            {"16/5/-640", H, {G, 1, 1, 1}},
            {"9999-12-29", H, {G, 10323, 10, 21}},
    };
    for (const Accepted &c : cases) {
        try {
            EXPECT_EQ(gregorianOf(read(c.text, c.calendar)), c.gregorian) << c.text;
        } catch (const DateTextError &error) {
            ADD_FAILURE() << c.text << ": fault " << error.fault().index();
        }
    }
}

TEST(Reckoning, MovesEveryHijriDateByItsShiftAndNothingElse)
{
    for (const int shift : {-2, 1, 2}) {
        const Reckoning &reckoning = shiftedBy(shift);
        const Date first = reckoning.readableDays().first(), last = reckoning.readableDays().last();
        for (Date day = first; day <= last; day += calendar::Days{997}) {
            const CivilDate hijri = reckoning.civilDate(day, Calendar::Hijri);
            EXPECT_EQ(hijri, calendar::civilDate(day + calendar::Days{shift}, Calendar::Hijri));
            EXPECT_EQ(reckoning.dateOf(hijri), day);
            EXPECT_EQ(reckoning.monthStart(Calendar::Hijri, hijri.year, hijri.month + 1)
                              - reckoning.monthStart(Calendar::Hijri, hijri.year, hijri.month),
                      calendar::Days{
                              reckoning.lastDayOfMonth(Calendar::Hijri, hijri.year, hijri.month)});
            EXPECT_EQ(reckoning.civilDate(day, Calendar::Gregorian),
                      calendar::civilDate(day, Calendar::Gregorian));
        }
        // A date the shift carries past the last readable day is refused; the one before is not.
        const CivilDate lastHijri = reckoning.civilDate(last, Calendar::Hijri);
        EXPECT_EQ(reckoning.readableDays().validDateOf(lastHijri), last);
        const CivilDate next = reckoning.civilDate(last + calendar::Days{1}, Calendar::Hijri);
        EXPECT_THROW(reckoning.readableDays().validDateOf(next), calendar::DateError) << shift;
    }
}

TEST(DateText, KeepsTheTimeAndZoneWritten)
{
    const Moment moment = read("2024-03-11T10:05:30.25+03:00");
    EXPECT_EQ(moment.timeOfDay, hours{10} + minutes{5} + seconds{30});
    EXPECT_EQ(moment.fraction, milliseconds{250});
    EXPECT_EQ(moment.writtenOffset, minutes{180});
    EXPECT_EQ(read("2024-03-11T10:05-0530").writtenOffset, minutes{-330});
    EXPECT_EQ(read("2024-03-11T10:05Z").writtenOffset, minutes{0});
    const Moment midnight = read("2024-03-11");
    EXPECT_EQ(midnight.timeOfDay, seconds{0});
    EXPECT_FALSE(midnight.writtenOffset); // the local zone's
}

struct Refused
{
    const char *text;
    DateTextError::Fault fault;
    DateField field = DateField::Day;
    Calendar calendar = Calendar::Gregorian;
};

TEST(DateText, RefusesWhatNamesNoDayAndSaysWhy)
{
    using F = DateTextFault;
    using D = calendar::DateFault;
    constexpr DateField Day = DateField::Day, Month = DateField::Month, Year = DateField::Year;
    const std::vector<Refused> cases = {
            {"", F::Empty},
            {" \u200f ", F::Empty},
            {"11/03/24", F::ShortYear},
            {"24-03-11", F::ShortYear},
            {"240311", F::ShortYear},
            {"640-05-16", F::ShortYear},
            {"-64-05-16", F::ShortYear, Day, Calendar::Hijri},
            {"11/3/202", F::ShortYear},
            {"2024/03-11", F::MixedSeparators},
            {"2024.03-11", F::MixedSeparators},
            {"11/-3/2024", F::MixedSeparators},
            {"2024--11", F::FieldMissing, Month},
            {"11//2024", F::FieldMissing, Month},
            {"2024-03", F::FieldMissing, Day},
            {"2024-03-", F::FieldMissing, Day},
            {"/3/2024", F::FieldMissing, Day},
            {"2024-O3-11", F::FieldNotANumber, Month},
            {"2O24-03-11", F::FieldNotANumber, Year},
            {"x1/3/2024", F::FieldNotANumber, Day},
            {"03/2024/11", F::YearInTheMiddle},
            {"2024-30-11", F::MonthFirstHere},
            {"03/30/2024", F::DayFirstHere},
            {"2024-13-13", D::MonthOutOfRange},
            {"2024-00-10", D::MonthOutOfRange},
            {"2024-03-00", D::DayBelowOne},
            {"2023-02-29", D::PastMonthEnd},
            {"30/9/1446", D::PastMonthEnd, Day, Calendar::Hijri},
            {"1582-10-10", D::SkippedByReform},
            {"0000-12-31", D::YearOutOfRange},
            {"10323-10-22", D::OutOfRange},
            {"99999999-01-01", D::YearOutOfRange},
            {"10000-01-01", D::YearOutOfRange, Day, Calendar::Hijri},
            {"-640-05-15", D::OutOfRange, Day, Calendar::Hijri},
            {"@99999999999999", D::OutOfRange},
            {"10:00", F::TimeAlone},
            {"T10:00", F::TimeAlone},
            {"2024-03-11T10", F::TimeShape},
            {"2024-03-11T10:5", F::TimeShape},
            {"2024-03-11x10:00", F::TimeShape},
            {"2024-03-11T10:00+3", F::TimeShape},
            {"2024-03-11T10:00:00.", F::TimeShape},
            {"2024-03-11T24:00", F::NoSuchTime},
            {"2024-03-11T010:00", F::TimeShape},
            {"2024-03-11T10:60", F::NoSuchTime},
            {"2024-03-11T10:00:60", F::NoSuchTime},
            {"2024-03-11T10:00+24:00", F::NoSuchZone},
            {"2024-03-11T10:00Z UTC", F::TimeShape},
            {"2024-03-11 x", F::UnknownWord},
            {"next 2024-03-11", F::UnknownWord},
            {"fri 2024-03-11", F::WrongWeekday},
            {"11032024", D::MonthOutOfRange},
            {"2024-01-31 +1 month +99999999 years", D::OutOfRange},
            {"+2147483647 days", D::OutOfRange}, // not the most a number reader holds
            {"10323-10-21 +1 day", D::OutOfRange},
            {"0001-01-01 3 days ago", D::OutOfRange},
            {"1582-09-10 +1 month", D::SkippedByReform},
            {"@", F::SecondsShape},
            {"@12a", F::SecondsShape},
            {"@1.", F::SecondsShape},
            {"Mar 11 2024", F::UnknownWord},
            {"2024 03 11", F::Shape},
            {"2024-03-11-05", F::Shape},
            {"todays", F::UnknownWord},
            {"abc/def/ghi", F::UnknownWord},
            {"+3 hours", F::UnknownWord},
    };
    for (const Refused &c : cases) {
        try {
            read(c.text, c.calendar);
            ADD_FAILURE() << c.text << " was read";
        } catch (const DateTextError &error) {
            EXPECT_EQ(error.fault(), c.fault) << c.text;
            if (c.fault == DateTextError::Fault(F::FieldMissing)
                || c.fault == DateTextError::Fault(F::FieldNotANumber)) {
                EXPECT_EQ(error.field(), c.field) << c.text;
            }
        }
    }
    const std::string tooLong(200, '1');
    EXPECT_THROW(read(tooLong), DateTextError);
}

TEST(DateText, TellsEachFaultInTheUsersTerms)
{
    const DateReading gregorian{Calendar::Gregorian, shiftedBy(0)};
    const DateReading hijri{Calendar::Hijri, shiftedBy(1)};
    const struct
    {
        const char *text;
        const DateReading *reading;
        const char *message;
    } cases[] = {
            {"11/03/24", &gregorian,
             "invalid date '11/03/24': write the year with four digits, as in 2024"},
            {"1/9/45", &hijri,
             "invalid date '1/9/45': write the year with four digits, as in 1445"},
            {"2024-30-11", &gregorian,
             "invalid date '2024-30-11': the month comes before the day here"},
            {"03/30/2024", &gregorian,
             "invalid date '03/30/2024': the day comes before the month here"},
            {"2024--11", &gregorian, "invalid date '2024--11': the month is missing"},
            {"2024-x-11", &gregorian, "invalid date '2024-x-11': the month is not a number"},
            {"10:00", &gregorian,
             "invalid date '10:00': a time is not a date: write the date before it"},
            {"2023-02-29", &gregorian,
             "invalid date '2023-02-29': month 2 of 2023 has only 28 days"},
            {"30/9/1446", &hijri,
             "invalid date '30/9/1446': Hijri month 9 of 1446 has only 29 days"},
            {"0000-01-01", &gregorian,
             "invalid date '0000-01-01': Gregorian dates run from 0001-01-01 to 10323-10-21"},
            {"10000-01-03", &hijri, // moved by a day, to the end of 9999 AH all the same
             "invalid date '10000-01-03': Hijri dates run from -640-05-17 to 9999-12-29"},
            {"2024-03-11 x", &gregorian,
             "invalid date '2024-03-11 x': 'x' is not a word dates are written with"},
            {"2024-03-11T10:00+25:00", &gregorian,
             "invalid date '2024-03-11T10:00+25:00': there is no such zone: zones run from "
             "-23:59 to +23:59"},
            {"Fri 2024-03-11", &gregorian,
             "invalid date 'Fri 2024-03-11': 2024-03-11 falls on another weekday"},
            {"11032024", &gregorian,
             "invalid date '11032024': eight digits are read as YYYYMMDD, and months run from "
             "1 to 12"},
            {"20240230", &gregorian,
             "invalid date '20240230': eight digits are read as YYYYMMDD, and month 2 of 2024 "
             "has only 29 days"},
    };
    for (const auto &c : cases) {
        try {
            readDate(c.text, *c.reading);
            ADD_FAILURE() << c.text << " was read";
        } catch (const DateTextError &error) {
            EXPECT_EQ(dateProblem(c.text, error, *c.reading), c.message);
        }
    }
}

// A time on the local clock as GNU date reads it: its instant, or nothing where it refuses.
std::optional<std::int64_t> gnuInstant(const char *zone, const std::string &text)
{
    const ScopedEnvironment time("TZ", zone), all("LC_ALL", "C");
    const std::string command = "date -d '" + text + "' +%s 2>/dev/null";
    std::FILE *pipe = ::popen(command.c_str(), "r");
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    return ::pclose(pipe) == 0 && read ? std::optional(std::stoll(line)) : std::nullopt;
}

TEST(DateText, MovesTheDayAsDateDoesButClampsToTheMonthsEnd)
{
    const ScopedEnvironment zone("TZ", "UTC0");
    constexpr Calendar G = Calendar::Gregorian, H = Calendar::Hijri;
    const struct
    {
        const char *text;
        Calendar calendar;
        CivilDate gregorian;
    } cases[] = {
            // Now is Tuesday 2023-11-14.
            {"+40 days", G, {G, 2023, 12, 24}},
            {"3 days ago", G, {G, 2023, 11, 11}},
            {"-3 days ago", G, {G, 2023, 11, 17}},
            {"1 month 2 days ago", G, {G, 2023, 12, 12}}, // ago turns only the count before it
            {"+1 day +2 days", G, {G, 2023, 11, 17}},
            {"2 weeks", G, {G, 2023, 11, 28}},
            {"next week", G, {G, 2023, 11, 21}},
            {"last year", G, {G, 2022, 11, 14}},
            {"tuesday", G, {G, 2023, 11, 14}},
            {"next Tuesday", G, {G, 2023, 11, 21}},
            {"last tue", G, {G, 2023, 11, 7}},
            {"next fri", G, {G, 2023, 11, 17}},
            {"last friday", G, {G, 2023, 11, 10}},
            {"sat", G, {G, 2023, 11, 18}},
            {"tomorrow +1 week", G, {G, 2023, 11, 22}},
            {"2024-01-31 +1 month", G, {G, 2024, 2, 29}}, // date(1) overflows to 2 March
            {"2024-03-31 -1 month", G, {G, 2024, 2, 29}},
            {"2024-02-29 +1 year", G, {G, 2025, 2, 28}},
            {"+2 days 2024-03-11", G, {G, 2024, 3, 13}},
            {"2024-03-11 10:00 +2 days", G, {G, 2024, 3, 13}},
            {"2024-03-11 next friday", G, {G, 2024, 3, 15}},
            {"2024-03-11 +1 hijri month", G, {G, 2024, 4, 10}},
            {"1445-09-01 +40 days", H, {G, 2024, 4, 20}},
            {"1445-09-30 +1 month", H, {G, 2024, 5, 8}}, // Shawwal 1445 has 29 days
            {"1445-09-01 +4 months 10 days", H, {G, 2024, 7, 17}}, // 1446-01-11
            {"1445-09-01 +1 gregorian month", H, {G, 2024, 4, 11}},
            {"1445-09-01 1 year ago", H, {G, 2023, 3, 23}},
            {"1600-12-29 +1 month", H, {G, 2174, 12, 24}}, // past ICU's table of Umm al-Qura
    };
    for (const auto &c : cases) {
        try {
            EXPECT_EQ(gregorianOf(read(c.text, c.calendar)), c.gregorian) << c.text;
        } catch (const DateTextError &error) {
            ADD_FAILURE() << c.text << ": fault " << error.fault().index();
        }
    }
    // Where date(1) neither rolls a month over nor passes a weekday by, its very answer.
    for (const char *text :
         {"2024-03-11 +40 days", "2024-03-11 3 days ago", "2024-03-11 -3 days ago",
          "2024-03-11 1 month 2 days ago", "2024-03-11 2 days 1 month ago",
          "2024-03-11 +1 day +2 days", "+2 days 2024-03-11", "2024-03-11 2 weeks",
          "2024-03-11 next week", "2024-03-11 last year", "2024-03-11 fortnight",
          "2024-01-15 +13 months", "2024-03-11 10:00 3 DAYS AGO"}) {
        const Moment moment = read(text);
        const std::int64_t gnu = *gnuInstant("UTC0", text);
        EXPECT_EQ(moment.day, Date::fromDays(gnu / 86400)) << text;
        EXPECT_EQ(moment.timeOfDay, seconds{gnu % 86400}) << text;
    }
    // The time of day is kept, and the moment is no longer the instant of now.
    const Moment later = read("+1 day");
    EXPECT_EQ(later.timeOfDay, hours{22} + minutes{13} + seconds{20});
    EXPECT_FALSE(later.unixSeconds);
    const Moment tomorrow = read("tomorrow 10:00");
    EXPECT_EQ(gregorianOf(tomorrow), (CivilDate{Calendar::Gregorian, 2023, 11, 15}));
    EXPECT_EQ(tomorrow.timeOfDay, hours{10});
}

TEST(Counting, EverySpanLandsBackOnItsDay)
{
    const Reckoning &reckoning = shiftedBy(0);
    const auto dayOf = [&](CivilDate civil) { return *reckoning.dateOf(civil); };
    // Month ends, leap days, the reform, and both ends of ICU's table of Umm al-Qura.
    const Date anchors[] = {
            dayOf({Calendar::Gregorian, 2024, 1, 31}), dayOf({Calendar::Gregorian, 2024, 2, 29}),
            dayOf({Calendar::Gregorian, 1582, 10, 4}), dayOf({Calendar::Hijri, 1445, 9, 30}),
            dayOf({Calendar::Hijri, 1300, 1, 1}),      dayOf({Calendar::Hijri, 1600, 12, 29}),
    };
    for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri}) {
        for (const Date from : anchors) {
            for (const int apart : {-800, -61, -30, -29, -1, 0, 1, 28, 29, 30, 31, 59, 366, 800}) {
                const Date to = from + calendar::Days{apart};
                const Elapsed elapsed = elapsedBetween(reckoning, from, to, calendar);
                const Date landed = monthsLater(reckoning, from, calendar, elapsed.months);
                EXPECT_EQ(landed + elapsed.rest, to) << from.days() << " " << apart;
                EXPECT_EQ(elapsed.days.count(), apart);
                // Whole months first: one more would pass the day.
                const int sign = apart < 0 ? -1 : 1;
                EXPECT_GE(elapsed.rest.count() * sign, 0) << from.days() << " " << apart;
                const Date further = monthsLater(reckoning, from, calendar, elapsed.months + sign);
                EXPECT_GT((further - to).count() * sign, 0) << from.days() << " " << apart;
            }
        }
    }
    const Date march11 = dayOf({Calendar::Gregorian, 2024, 3, 11});
    const Elapsed age = elapsedBetween(reckoning, dayOf({Calendar::Gregorian, 1990, 5, 1}), march11,
                                       Calendar::Hijri);
    EXPECT_EQ(age.months, 34 * 12 + 10); // 1410-10-06 to 1445-09-01
    EXPECT_EQ(age.rest.count(), 24);
}

TEST(Moment, EveryTimeIsOneTheClockShowed)
{
    constexpr const char *NewYork = "EST5EDT,M3.2.0,M11.1.0";
    constexpr const char *Santiago = "<-04>4<-03>,M9.1.6/24,M4.1.6/24";
    constexpr const char *LordHowe = "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0"; // half an hour
    const struct
    {
        const char *zone, *text;
        std::optional<std::int64_t> ours; // where GNU date's answer is not ours
    } cases[] = {
            {NewYork, "2024-03-10 02:30", {}}, // skipped: refused
            {NewYork, "2024-03-10 03:00", {}},
            {NewYork, "2024-03-10 01:59:59", {}},
            {NewYork, "2024-11-03 01:30", {}}, // twice: the first, summer time's
            {Santiago, "2024-09-08 00:30", {}},
            {Santiago, "2024-09-08",
             1'725'768'000}, // no midnight: from 01:00, where date(1) refuses
            {Santiago, "2024-04-06 23:30", {}},
            {LordHowe, "2024-10-06 02:15", {}},
            {LordHowe, "2024-10-06 02:30", {}},
            // Twice: the first, where date(1) takes the second here, as glibc's mktime()
            // happens to guess.
            {LordHowe, "2024-04-07 01:45", 1'712'414'700},
            {Berlin, "2024-10-27 02:30", 1'729'989'000},
    };
    for (const auto &c : cases) {
        const ScopedEnvironment zone("TZ", c.zone);
        std::optional<std::int64_t> instant;
        try {
            const Moment moment = settledOnLocalClock(read(c.text));
            instant = zoned(moment).unixSeconds;
            // The instant's own clock shows the time printed with it.
            EXPECT_EQ(momentAt(*instant).timeOfDay, moment.timeOfDay) << c.text;
        } catch (const DateTextError &error) {
            EXPECT_EQ(error.fault(), DateTextError::Fault(DateTextFault::SkippedTime)) << c.text;
        }
        EXPECT_EQ(instant, c.ours ? c.ours : gnuInstant(c.zone, c.text)) << c.zone << " " << c.text;
    }
}

TEST(Moment, ADayTheClockSkippedIsNamedButHasNoInstant)
{
    const ScopedEnvironment zone("TZ", "Pacific/Kiritimati");
    const DateReading reading{Calendar::Gregorian, shiftedBy(0)};
    const Moment skipped = readDate("1994-12-31", reading);
    EXPECT_EQ(gregorianOf(skipped), (CivilDate{Calendar::Gregorian, 1994, 12, 31}));
    try {
        settledOnLocalClock(skipped);
        ADD_FAILURE() << "an instant of a skipped day";
    } catch (const DateTextError &error) {
        EXPECT_EQ(dateProblem("1994-12-31", error, reading),
                  "invalid date '1994-12-31': the local clock went past that whole day, from "
                  "1994-12-31 00:00 straight to 1995-01-01 00:00");
    }
    EXPECT_FALSE(gnuInstant("Pacific/Kiritimati", "1994-12-31"));
    const ScopedEnvironment newYork("TZ", "EST5EDT,M3.2.0,M11.1.0");
    try {
        readDate("2024-03-10 02:30", reading);
        ADD_FAILURE() << "a skipped time";
    } catch (const DateTextError &error) {
        EXPECT_EQ(dateProblem("2024-03-10 02:30", error, reading),
                  "invalid date '2024-03-10 02:30': the local clock never showed that time: it "
                  "went from 02:00 straight to 03:00");
    }
}

TEST(DateText, ReadsTheWordsByTheClock)
{
    const ScopedEnvironment zone("TZ", Riyadh);
    const Moment now = momentAt(1'700'000'000); // 2023-11-15 01:13:20 in Riyadh
    const DateReading reading{Calendar::Hijri, shiftedBy(0), [&] { return now; }};
    const struct
    {
        const char *word;
        int day;
    } cases[] = {{"today", 15}, {"NOW", 15}, {" Yesterday ", 14}, {"tomorrow", 16}};
    for (const auto &c : cases) {
        const Moment moment = readDate(c.word, reading);
        EXPECT_EQ(gregorianOf(moment), (CivilDate{Calendar::Gregorian, 2023, 11, c.day})) << c.word;
        EXPECT_EQ(moment.timeOfDay, hours{1} + minutes{13} + seconds{20}) << c.word;
    }
}

TEST(DateText, ReadsSecondsSince1970OnTheLocalClock)
{
    const struct
    {
        const char *zone;
        const char *text;
        CivilDate gregorian;
        seconds timeOfDay;
        nanoseconds fraction;
    } cases[] = {
            {Riyadh, "@1700000000", {Calendar::Gregorian, 2023, 11, 15}, 4400s, 0ns},
            {"UTC0", "@1700000000", {Calendar::Gregorian, 2023, 11, 14}, 80000s, 0ns},
            {"UTC0", "@-1.5", {Calendar::Gregorian, 1969, 12, 31}, 86398s, 500ms},
            {"UTC0", "@+0,25", {Calendar::Gregorian, 1970, 1, 1}, 0s, 250ms},
            {"UTC0", "@١٧٠٠٠٠٠٠٠٠", {Calendar::Gregorian, 2023, 11, 14}, 80000s, 0ns},
    };
    for (const auto &c : cases) {
        const ScopedEnvironment zone("TZ", c.zone);
        const Moment moment = read(c.text);
        EXPECT_EQ(gregorianOf(moment), c.gregorian) << c.text;
        EXPECT_EQ(moment.timeOfDay, c.timeOfDay) << c.text;
        EXPECT_EQ(moment.fraction, c.fraction) << c.text;
    }
}

TEST(Moment, KeepsTheZoneWrittenOrAsksTheLocalRules)
{
    const ScopedEnvironment zone("TZ", Berlin);
    const Moment winter = read("2024-01-15T12:00");
    const Moment summer = read("2024-07-15T12:00");
    EXPECT_EQ(zoned(winter).offset, 1h);
    EXPECT_EQ(zoned(winter).abbreviation, "CET");
    EXPECT_EQ(zoned(summer).offset, 2h);
    EXPECT_EQ(zoned(summer).abbreviation, "CEST");
    EXPECT_EQ(zoned(summer).unixSeconds, 1'721'037'600);
    const struct
    {
        const char *text;
        std::int64_t unixSeconds;
        const char *abbreviation;
    } written[] = {
            {"2024-03-11T10:00+03:00", 1'710'140'400, "+03"},
            {"2024-03-11T10:00+05:30", 1'710'131'400, "+0530"},
            {"2024-03-11T10:00-03:30", 1'710'163'800, "-0330"},
            {"2024-03-11T10:00Z", 1'710'151'200, "UTC"},
    };
    for (const auto &c : written) {
        EXPECT_EQ(zoned(read(c.text)).unixSeconds, c.unixSeconds) << c.text;
        EXPECT_EQ(zoned(read(c.text)).abbreviation, c.abbreviation) << c.text;
    }
}

TEST(Moment, YesterdayIsTheSameTimeOnTheDaysClock)
{
    const ScopedEnvironment zone("TZ", Berlin);
    const Moment now = read("2024-03-31T12:00"); // the first day of summer time
    const DateReading reading{Calendar::Gregorian, shiftedBy(0),
                              [&] { return momentAt(zoned(now).unixSeconds); }};
    EXPECT_EQ(zoned(readDate("yesterday", reading)).unixSeconds,
              zoned(now).unixSeconds - 23 * 3600); // the night was an hour short
}

TEST(Quoting, EscapesWhatATerminalWouldObeyAndIsolatesInRightToLeft)
{
    const struct
    {
        std::string text;
        bool rightToLeft;
        std::string quoted;
    } cases[] = {
            {"2024-03-11", false, "'2024-03-11'"},
            {"29-02-2023", true, "'\u206829-02-2023\u2069'"},
            {"/home/user/dates.txt", true, "'\u2068/home/user/dates.txt\u2069'"},
            {"\x1b[31m", false, "'\\x1B[31m'"},
            {"a\u202eb\u2069", true, "'\u2068a\\u202Eb\\u2069\u2069'"},
            {"\xff\xc3", false, "'\\xFF\\xC3'"},
            {"\u0085", false, "'\\u0085'"},
            {std::string(60, 'x'), false, "'" + std::string(60, 'x') + "'"},
            {std::string(61, 'x'), false, "'" + std::string(60, 'x') + "…'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(quotedText(c.text, c.rightToLeft), c.quoted);
    std::string arabic;
    for (int i = 0; i < 61; ++i)
        arabic += "ر";
    EXPECT_EQ(quotedText(arabic, false),
              "'" + arabic.substr(0, 120) + "…'"); // characters, not bytes
}

TEST(Locale, IcuTakesTheLanguageAndRegionOfTheTimeLocale)
{
    const std::pair<const char *, const char *> cases[] = {
            {"tr_TR.UTF-8", "tr_TR"},
            {"sr_RS.UTF-8@latin", "sr_RS"},
            {"ms_MY", "ms_MY"},
            {"C.UTF-8", ""},
            {"POSIX", ""},
            {"C", ""},
    };
    for (const auto &[posix, icu] : cases)
        EXPECT_EQ(icuLocaleOf(posix), icu) << posix;
}

// What ICU itself gives the language, so that no version's CLDR text is written here.
std::vector<std::string> icuNames(const char *locale, Calendar calendar, bool months)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::string id = std::string(locale)
            + (calendar == Calendar::Hijri ? "@calendar=islamic-umalqura" : "@calendar=gregorian");
    const icu::SimpleDateFormat format(icu::UnicodeString(u"MMMM"), icu::Locale(id.c_str()),
                                       status);
    int32_t count = 0;
    const icu::DateFormatSymbols &symbols = *format.getDateFormatSymbols();
    const icu::UnicodeString *names = months
            ? symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE)
            : symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT,
                                  icu::DateFormatSymbols::WIDE);
    std::vector<std::string> out;
    for (int32_t i = months ? 0 : 1; i < count; ++i)
        names[i].toUTF8String(out.emplace_back());
    return out;
}

std::vector<std::string> namesOf(const LocaleNames &names, Calendar calendar, bool months)
{
    std::vector<std::string> out;
    for (unsigned i = 0; i < (months ? 12u : 7u); ++i)
        out.push_back(months ? names.month(calendar, int(i) + 1)
                             : names.weekday(std::chrono::weekday{i}));
    return out;
}

TEST(LocaleNames, AreIcusForEveryLanguageButArabic)
{
    for (const char *language : {"tr_TR", "ms_MY", "id", "en_US", "ur_PK", "fa_IR", "fr"}) {
        const LocaleNames names(language);
        for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri})
            EXPECT_EQ(namesOf(names, calendar, true), icuNames(language, calendar, true))
                    << language;
        EXPECT_EQ(namesOf(names, Calendar::Gregorian, false),
                  icuNames(language, Calendar::Gregorian, false))
                << language;
    }
    EXPECT_NE(LocaleNames("tr").month(Calendar::Hijri, 9),
              LocaleNames("").month(Calendar::Hijri, 9));
}

TEST(LocaleNames, AreEnglishForALanguageIcuLacksWhateverItsDefault)
{
    const icu::Locale before = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("ar_SA"), status); // as LANG=ar_SA.UTF-8 makes it
    const std::vector<std::string> unknown = namesOf(LocaleNames("xx_YY"), Calendar::Hijri, true);
    const std::vector<std::string> empty = namesOf(LocaleNames(""), Calendar::Hijri, true);
    icu::Locale::setDefault(before, status);
    EXPECT_EQ(unknown, icuNames("en", Calendar::Hijri, true));
    EXPECT_EQ(empty, icuNames("en", Calendar::Hijri, true));
}

TEST(LocaleNames, AreTheWindowsUnderArabicAtEveryWidth)
{

    for (const char *language : {"ar", "ar_SA", "ar_EG", "ar_MA"}) {
        const LocaleNames names(language);
        for (const NameWidth width : {NameWidth::Wide, NameWidth::Abbreviated}) {
            for (int month = 1; month <= 12; ++month)
                for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri})
                    EXPECT_EQ(names.month(calendar, month, width),
                              calendar::monthName(calendar, month));
            for (unsigned day = 0; day < 7; ++day)
                EXPECT_EQ(names.weekday(std::chrono::weekday{day}, width),
                          calendar::weekdayName(std::chrono::weekday{day}));
        }
        EXPECT_EQ(names.weekday(std::chrono::Monday, NameWidth::Short), "إثنين");
        EXPECT_EQ(names.weekday(std::chrono::Friday, NameWidth::Narrow), "ج");
        EXPECT_EQ(names.dayPeriod(false), "ص");
        EXPECT_EQ(names.dayPeriod(true), "م");
    }
}

TEST(LocaleNames, ChangeCaseByTheLanguagesRules)
{
    EXPECT_EQ(LocaleNames("tr").upperCase("i"), "İ");
    EXPECT_EQ(LocaleNames("en").upperCase("i"), "I");
    EXPECT_EQ(LocaleNames("tr").lowerCase("I"), "ı");
}

TEST(Terminal, EveryWayOutPutsTheTerminalBack)
{
    // A child changes its "terminal" (a pipe here) and is ended by each signal in turn: what
    // it sent ends with the change undone, and the signal has taken its usual course.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, 0}) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            {
                TerminalGuard guard(pipeEnds[1]);
                guard.change("\x1b[8l", "\x1b[8h");
                guard.change("", "\x1b[22;27m");
                if (signal != 0)
                    ::raise(signal);
            }
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        std::string sent;
        std::array<char, 64> block;
        for (ssize_t length; (length = ::read(pipeEnds[0], block.data(), block.size())) > 0;)
            sent.append(block.data(), std::size_t(length));
        ::close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(sent, "\x1b[8l\x1b[22;27m\x1b[8h") << signal;
        if (signal != 0) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        }
    }
}

TEST(Terminal, TheAnswerToDecrqmSaysWhetherItReordersText)
{
    const struct
    {
        const char *answers;
        bool known, implicit;
    } cases[] = {
            {"\x1b[8;1$y\x1b[?65;1;9c", true, true}, // VTE
            {"\x1b[8;2$y\x1b[?65c", true, false}, // VTE told not to reorder
            {"\x1b[8;0$y\x1b[?64;1;2c", false, false}, // xterm, mlterm
            {"\x1b[?62c", false, false}, // one that does not answer DECRQM
            {"\x1b[8;1", false, false},
    };
    for (const auto &c : cases) {
        const BidiMode mode = bidiModeIn(c.answers);
        EXPECT_EQ(mode.known, c.known) << c.answers;
        EXPECT_EQ(mode.implicit, c.implicit) << c.answers;
    }
}

} // namespace
