// The Hijri calendar as a community keeps it: ICU's other reckonings, the month starts a file
// records, and the day that begins at sunset.
#include "command_line/keeping.h"
#include "command_line/reckoning.h"
#include "command_line/sunset.h"

#include "scoped_environment.h"

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace command_line;
using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using calendar::Days;
using calendar::HijriVariant;

namespace {

constexpr double MillisecondsPerDay = 86'400'000.0;

Date gregorian(int year, int month, int day)
{
    return *calendar::dateOf({Calendar::Gregorian, year, month, day});
}

Keeping keepingWith(HijriVariant variant, std::vector<MonthRecord> records = {})
{
    Keeping keeping;
    keeping.variant = variant;
    keeping.records = std::move(records);
    return keeping;
}

// ICU's own answer for a day, in a reckoning ICU names.
class IcuHijri
{
public:
    explicit IcuHijri(const char *locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_icu.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                  icu::Locale(locale), status));
        EXPECT_TRUE(U_SUCCESS(status));
    }

    CivilDate civilDate(Date date)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_icu->setTime(double(date.days()) * MillisecondsPerDay, status);
        return {Calendar::Hijri, m_icu->get(UCAL_EXTENDED_YEAR, status),
                m_icu->get(UCAL_MONTH, status) + 1, m_icu->get(UCAL_DATE, status)};
    }

private:
    std::unique_ptr<icu::Calendar> m_icu;
};

// Every day of the first three thousand Hijri years: the date ICU names, and read back.
void agreesWithIcuDayByDay(HijriVariant variant, const char *icuLocale)
{
    const Reckoning reckoning(keepingWith(variant));
    IcuHijri icu(icuLocale);
    const Date first = reckoning.monthStart(Calendar::Hijri, 1, 1);
    const Date end = reckoning.monthStart(Calendar::Hijri, 3000, 13);
    for (Date day = first; day < end; day += Days{1}) {
        const CivilDate civil = reckoning.civilDate(day, Calendar::Hijri);
        ASSERT_EQ(civil, icu.civilDate(day)) << day.days();
        ASSERT_EQ(reckoning.dateOf(civil), day) << day.days();
    }
}

TEST(HijriVariants, EveryDayIsIcusOwn)
{
    agreesWithIcuDayByDay(HijriVariant::Civil, "@calendar=islamic-civil");
    agreesWithIcuDayByDay(HijriVariant::Tabular, "@calendar=islamic-tbla");
}

// Every month start from 1440 to 1450 AH, by the reckoning given.
std::vector<Date> monthStarts(const Reckoning &reckoning)
{
    std::vector<Date> starts;
    for (int year = 1440; year <= 1450; ++year)
        for (int month = 1; month <= 12; ++month)
            starts.push_back(reckoning.monthStart(Calendar::Hijri, year, month));
    return starts;
}

std::size_t indexOf(int year, int month)
{
    return std::size_t((year - 1440) * 12 + month - 1);
}

TEST(MonthRecords, MoveTheirMonthAndOnlyAsManyOthersAsKeepEveryMonth29Or30Days)
{
    const Reckoning plain;
    const std::vector<Date> table = monthStarts(plain);
    const struct
    {
        MonthRecord record;
        std::vector<std::pair<int, int>> moved; // the months whose starts move
    } cases[] = {
            // Ramadan 1445 a day late: Sha'ban 30 days, Ramadan 29, nothing else moves.
            {{1445, 9, gregorian(2024, 3, 12), "w"}, {{1445, 9}}},
            // Ramadan 1446 a day late would leave it 28 days: Shawwal begins a day late too,
            // and the months after it until one may begin on its own day again.
            {{1446, 9, gregorian(2025, 3, 2), "w"}, {{1446, 9}, {1446, 10}}},
            // Rabi' I 1446 a day late would give Safar, already 30 days, 31: Safar begins a
            // day late too.
            {{1446, 3, gregorian(2024, 9, 5), "w"}, {{1446, 2}, {1446, 3}}},
    };
    for (const auto &c : cases) {
        const Reckoning recorded(keepingWith(HijriVariant::UmmAlQura, {c.record}));
        const std::vector<Date> starts = monthStarts(recorded);
        EXPECT_EQ(starts[indexOf(c.record.year, c.record.month)], c.record.start);
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const bool moves = std::ranges::any_of(c.moved, [&](const auto &month) {
                return indexOf(month.first, month.second) == i;
            });
            EXPECT_EQ(starts[i] != table[i], moves) << c.record.month << ": month " << i;
            if (i > 0) {
                EXPECT_GE((starts[i] - starts[i - 1]).count(), 29) << i;
                EXPECT_LE((starts[i] - starts[i - 1]).count(), 30) << i;
            }
        }
        // Each day's date reads back, by the month starts the record gives.
        for (Date day = starts.front(); day < starts.back(); day += Days{1})
            ASSERT_EQ(recorded.dateOf(recorded.civilDate(day, Calendar::Hijri)), day);
    }
}

// A folder of its own for the user's and the system's settings, and the months file written.
class SettingsFiles : public testing::Test
{
protected:
    SettingsFiles()
        : m_folder(std::filesystem::temp_directory_path()
                   / ("taqwim-keeping-" + std::to_string(::getpid()))),
          m_home("XDG_CONFIG_HOME", (m_folder / "home").c_str()),
          m_system("XDG_CONFIG_DIRS", (m_folder / "system").c_str())
    {
        std::filesystem::create_directories(m_folder / "home/taqwim");
        std::filesystem::create_directories(m_folder / "system/taqwim");
    }
    ~SettingsFiles() override { std::filesystem::remove_all(m_folder); }

    std::string write(const std::string &name, const std::string &text)
    {
        const std::filesystem::path path = m_folder / name;
        std::ofstream(path) << text;
        return path.string();
    }

    // The run's reckoning from the months file, or what is wrong with it.
    std::string refusal(const std::string &text)
    {
        KeepingOptions options;
        options.monthsFile = write("months", text);
        try {
            const Reckoning reckoning(keepingOf(options));
            return "taken";
        } catch (const SettingsError &error) {
            std::string message = error.what();
            for (std::size_t name; (name = message.find(*options.monthsFile)) != message.npos;)
                message.replace(name, options.monthsFile->size(), "FILE");
            return message;
        }
    }

    std::filesystem::path m_folder;
    ScopedEnvironment m_home, m_system;
};

TEST_F(SettingsFiles, RefuseEveryLineTheyCannotTakeWithItsFileLineAndReason)
{
    const struct
    {
        const char *text;
        const char *message;
    } cases[] = {
            {"# Announced by the Supreme Court\n1446-09 2025-03-02 # a day late\n\ncalendar = "
             "civil\nadjust = -1\nlocation = 24.71,46.68\nsunset = yes\n",
             "taken"},
            {"1446-09\n",
             "'FILE', line 1: write a month's start as 1446-09 2025-03-01 (the Hijri year and "
             "month, then the day it began), or a setting as calendar = civil"},
            {"\n10000-01 2025-03-01\n",
             "'FILE', line 2: there is no year 10000: years run from 1 "
             "to 9999"},
            {"1446-13 2025-03-01\n",
             "'FILE', line 1: there is no month 13: months run from 1 to "
             "12"},
            {"1446-09 2025-03-01\n1446-9 2025-03-02\n",
             "'FILE', line 2: the month 1446-09 is recorded twice"},
            {"1446-09 2025-02-30\n",
             "'FILE', line 1: invalid date '2025-02-30': month 2 of 2025 has only 28 days"},
            {"1446-09 2025-03-02\n1446-10 2025-03-30\n",
             "'FILE', line 2: the month 1446-10 cannot begin on 2025-03-30 when 1446-09 began on "
             "2025-03-02 ('FILE', line 1): that leaves a month shorter than 29 days or longer "
             "than 30"},
            {"1446-08 2025-01-31\n1446-09 2025-03-03\n",
             "'FILE', line 2: the month 1446-09 cannot begin on 2025-03-03 when 1446-08 began on "
             "2025-01-31 ('FILE', line 1): that leaves a month shorter than 29 days or longer "
             "than 30"},
            {"1446-09 2025-04-01\n",
             "'FILE', line 1: the month 1446-09 begins on 2025-03-01 by the calendar followed; a "
             "recorded start may be at most 3 days from it"},
            {"calendar = hebrew\n", "'FILE', line 1: calendar takes umalqura, civil or tbla"},
            {"adjust = 3\n", "'FILE', line 1: adjust takes a whole number of days from -2 to 2"},
            {"location = Riyadh\n",
             "'FILE', line 1: location takes a latitude and a longitude in degrees, north and "
             "east positive, as 21.42,39.83"},
            {"sunset = maghrib\n", "'FILE', line 1: sunset takes yes or no"},
            {"timezone = Asia/Riyadh\n",
             "'FILE', line 1: there is no setting 'timezone': the settings are calendar, adjust, "
             "location and sunset"},
    };
    const ScopedEnvironment utc("TZ", "UTC0"); // no city to reckon sunset by
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.text), c.message) << c.text;
    EXPECT_EQ(refusal("sunset = yes\n"),
              "the day begins at sunset, but no place says when the sun sets: give "
              "--location=LAT,LON, set location in the settings, or set the time zone to a "
              "city's, as TZ=Asia/Riyadh");
    EXPECT_EQ(refusal(std::string(1001, '0')),
              "'FILE', line 1: the line is longer than 1000 characters"); // /dev/zero, say
    KeepingOptions missing;
    missing.monthsFile = (m_folder / "none").string();
    EXPECT_THROW(keepingOf(missing), SettingsError); // named, and so needed
}

TEST_F(SettingsFiles, TheCommandLineThenTheUsersThenTheSystemsWordCounts)
{
    write("system/taqwim/config", "calendar = tbla\nsunset = yes\nlocation = 21.42,39.83\n");
    write("system/taqwim/months", "1446-09 2025-03-02\n1446-10 2025-03-31\n");
    write("home/taqwim/config", "calendar = civil\n");
    write("home/taqwim/months", "1446-09 2025-03-01\n");
    KeepingOptions options;
    Keeping keeping = keepingOf(options);
    EXPECT_EQ(keeping.variant, HijriVariant::Civil);
    EXPECT_TRUE(keeping.dayBeginsAtSunset);
    ASSERT_EQ(keeping.records.size(), 2u);
    EXPECT_EQ(keeping.records[0].start, gregorian(2025, 3, 1)); // the user's
    EXPECT_EQ(keeping.records[1].start, gregorian(2025, 3, 31)); // the system's
    EXPECT_EQ(keeping.place->said, "21.42,39.83");

    options.variant = HijriVariant::UmmAlQura;
    options.sunset = false;
    options.monthsFile = write("mine", "1446-09 2025-03-02\n");
    keeping = keepingOf(options);
    EXPECT_EQ(keeping.variant, HijriVariant::UmmAlQura);
    EXPECT_FALSE(keeping.dayBeginsAtSunset);
    ASSERT_EQ(keeping.records.size(), 1u); // --months in place of the other months files
    EXPECT_EQ(keeping.records[0].start, gregorian(2025, 3, 2));
}

// A published time of sunrise or sunset: the day, the local clock's offset from UTC in hours,
// and "HH:MM" or "HH:MM:SS" on it ("" where none was published).
struct Published
{
    const char *what;
    Place place;
    int year, month, day, offset;
    const char *sunrise, *sunset;

    std::int64_t instant(const char *time) const
    {
        int hours = 0, minutes = 0, seconds = 0;
        std::sscanf(time, "%d:%d:%d", &hours, &minutes, &seconds);
        return gregorian(year, month, day).days() * 86400 + ((hours - offset) * 60 + minutes) * 60
                + seconds;
    }
};

TEST(Sunset, WithinTwoMinutesOfPublishedTimes)
{
    const Published tables[] = {
            // The Jeddah Astronomical Society, as Asharq al-Awsat reported it on 13 March 2011
            // (the day and the night of equal length), and on the sun over the Kaaba, 2013.
            {"Mecca", {21.4225, 39.8262}, 2011, 3, 14, 3, "06:30", "18:30"},
            {"Mecca", {21.4225, 39.8262}, 2013, 7, 15, 3, "05:47", ""},
            // The Ministry of Religion's crescent watch at Pulau Karya, Thousand Islands,
            // Jakarta (Republika, 14 June 2018).
            {"Jakarta", {-5.60, 106.56}, 2018, 6, 14, 7, "", "17:48:05"},
            // The longest night of 2017 (Türkiye Gündemi, 21 December 2017).
            {"Istanbul", {41.01, 28.98}, 2017, 12, 21, 3, "08:27", "17:40"},
            // The Houses of Parliament on the solstice of 2025 (the "diamond geezer" table).
            {"London", {51.5, -0.125}, 2025, 6, 21, 1, "04:42:38", "21:22:06"},
            // The last sunset before the midnight sun of 2014 (the US Naval Observatory's "Sun
            // and Moon Data for One Day", 69.5 N 19.0 E), and Almanakk for Norge's (University
            // of Oslo) for 6 May 2020.
            {"Tromsø", {69.5, 19.0}, 2014, 5, 17, 1, "00:29", "23:06"},
            {"Tromsø", {69.65, 18.96}, 2020, 5, 6, 2, "02:50", "22:37"},
    };
    for (const Published &row : tables) {
        const Date day = gregorian(row.year, row.month, row.day);
        if (*row.sunrise) {
            EXPECT_NEAR(double(sunriseOn(day, row.place)), double(row.instant(row.sunrise)), 120)
                    << row.what;
        }
        if (*row.sunset) {
            EXPECT_NEAR(double(sunsetOn(day, row.place)), double(row.instant(row.sunset)), 120)
                    << row.what;
        }
    }
    // Under the midnight sun, the sun's times of the same longitude at 48.5 degrees.
    const Date midsummer = gregorian(2014, 6, 21);
    EXPECT_EQ(sunsetOn(midsummer, {69.5, 19.0}), sunsetOn(midsummer, {48.5, 19.0}));
    EXPECT_EQ(sunriseOn(gregorian(2014, 12, 21), {-69.5, 19.0}),
              sunriseOn(gregorian(2014, 12, 21), {-48.5, 19.0}));
}

TEST(Sunset, TheHijriDayChangesAtSunsetForTheClockAndNotForAWrittenTime)
{
    const ScopedEnvironment riyadh("TZ", "<+03>-3");
    Keeping keeping;
    keeping.dayBeginsAtSunset = true;
    keeping.place = NamedPlace{{24.6333, 46.7167}, "Asia/Riyadh"};
    const Reckoning reckoning(keeping);
    const Date day = gregorian(2025, 2, 28); // 29 Sha'ban 1446
    const std::int64_t sunset = *reckoning.sunsetOn(day);
    EXPECT_EQ(reckoning.hijriDayOf(momentAt(sunset - 60)), day);
    EXPECT_EQ(reckoning.hijriDayOf(momentAt(sunset)), day + Days{1});
    EXPECT_EQ(reckoning.civilDate(reckoning.hijriDayOf(momentAt(sunset)), Calendar::Hijri),
              (CivilDate{Calendar::Hijri, 1446, 9, 1}));
    // 20:00, written: the date of its daytime.
    Moment written = momentAt(sunset + 3600);
    written.unixSeconds.reset();
    EXPECT_EQ(reckoning.hijriDayOf(written), day);
    // At midnight the day is the clock's again.
    EXPECT_EQ(reckoning.hijriDayOf(momentAt(sunset + 6 * 3600)), day + Days{1});
    EXPECT_EQ(Reckoning().hijriDayOf(momentAt(sunset)), day); // the day begins at midnight
}

} // namespace
