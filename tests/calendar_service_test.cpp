#include "app/calendar_service.h"
#include "calendar/era_name.h"
#include "calendar/numerals.h"

#include <gtest/gtest.h>

#include <unicode/dtfmtsym.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace calendar;

namespace {

struct Civil
{
    int day, month, year;
    friend bool operator==(const Civil &, const Civil &) = default;
};

std::string text(Civil c)
{
    return std::to_string(c.day) + "/" + std::to_string(c.month) + "/" + std::to_string(c.year);
}

Date parse(int calendar, const std::string &dateText)
{
    CalendarScope scope(calendar);
    return ParseDate(dateText);
}

Civil civil(int calendar, Date date)
{
    CalendarScope scope(calendar);
    return {DayOfMonth(date), MonthOfYear(date), YearOf(date)};
}

std::string longDate(int calendar, Date date)
{
    CalendarScope scope(calendar);
    return LongDateText(date);
}

std::string rejection(int calendar, const std::string &dateText)
{
    try {
        parse(calendar, dateText);
    } catch (const std::runtime_error &error) { // EntryError or DateError
        return error.what();
    }
    return "accepted";
}

void PrintTo(const Civil &c, std::ostream *os)
{
    *os << text(c);
}

} // namespace

TEST(CalendarService, KnownDaysAgreeInBothDirections)
{
    const struct
    {
        Civil hijri, gregorian;
    } days[] = {
            {{1, 9, 1445}, {11, 3, 2024}},   {{1, 1, 1446}, {7, 7, 2024}},
            {{10, 12, 1445}, {16, 6, 2024}}, {{1, 10, 1446}, {30, 3, 2025}},
            {{1, 9, 1447}, {18, 2, 2026}},   {{1, 1, 1448}, {16, 6, 2026}},
            {{1, 1, 1420}, {17, 4, 1999}},   {{24, 9, 1420}, {1, 1, 2000}},
            {{28, 6, 1448}, {8, 12, 2026}},  {{1, 1, 1}, {16, 7, 622}},
    };
    for (const auto &[hijri, gregorian] : days) {
        SCOPED_TRACE(text(hijri) + " = " + text(gregorian));
        const Date fromHijri = parse(Hijri, text(hijri));
        const Date fromGregorian = parse(Gregorian, text(gregorian));
        EXPECT_EQ(fromHijri, fromGregorian);
        EXPECT_EQ(civil(Gregorian, fromHijri), gregorian);
        EXPECT_EQ(civil(Hijri, fromGregorian), hijri);
    }
}

TEST(CalendarService, LongDatesAndWeekdayOfOneDay)
{
    const Date day = Date::fromDays(20795); // 8 December 2026
    EXPECT_EQ(longDate(Gregorian, day), "8 ديسمبر 2026 م");
    EXPECT_EQ(longDate(Hijri, day), "28 جمادى الآخرة 1448 هـ");
    EXPECT_EQ(DayOfWeek(day, 7), 4);
    EXPECT_EQ(DayName(DayOfWeek(day, 7), 7), "الثلاثاء");
    EXPECT_EQ(DayOfWeek(day, 1), 3); // Sunday first: Tuesday is the third day
    EXPECT_EQ(longDate(Gregorian, Date::fromDays(0)), "1 يناير 1970 م");
}

TEST(CalendarService, MonthAndWeekdayNamesInArabic)
{
    const std::vector<std::string> hijriMonths
            = {"محرم", "صفر",   "ربيع الأول", "ربيع الآخر", "جمادى الأولى", "جمادى الآخرة",
               "رجب",  "شعبان", "رمضان",      "شوال",       "ذو القعدة",    "ذو الحجة"};
    const std::vector<std::string> gregorianMonths
            = {"يناير", "فبراير", "مارس",   "أبريل",  "مايو",   "يونيو",
               "يوليو", "أغسطس",  "سبتمبر", "أكتوبر", "نوفمبر", "ديسمبر"};
    for (int month = 1; month <= 12; ++month) {
        const std::string first = "1/" + std::to_string(month) + "/1446";
        EXPECT_EQ(longDate(Hijri, parse(Hijri, first)), "1 " + hijriMonths[month - 1] + " 1446 هـ");
        EXPECT_EQ(longDate(Gregorian, parse(Gregorian, first)),
                  "1 " + gregorianMonths[month - 1] + " 1446 م");
    }
    const std::vector<std::string> saturdayFirst
            = {"السبت", "الأحد", "الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة"};
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(DayName(n, 7), saturdayFirst[n - 1]) << n;
    // Whatever the first day, a date's number and its name agree.
    for (int firstDay = 1; firstDay <= 7; ++firstDay)
        for (int day = 0; day < 7; ++day) {
            const Date date = Date::fromDays(day);
            EXPECT_EQ(DayName(DayOfWeek(date, firstDay), firstDay), DayName(DayOfWeek(date, 7), 7));
        }
    for (const int outside : {0, 8}) {
        EXPECT_THROW(DayOfWeek(Date::fromDays(0), outside), std::invalid_argument) << outside;
        EXPECT_THROW(DayName(outside, 7), std::invalid_argument) << outside;
        EXPECT_THROW(DayName(1, outside), std::invalid_argument) << outside;
    }
}

TEST(CalendarService, WeekdaysBeforeTheEpochStayInRange)
{
    // 16 July 622 was a Friday.
    EXPECT_EQ(DayName(DayOfWeek(parse(Gregorian, "16/7/622"), 7), 7), "الجمعة");
    EXPECT_EQ(DayOfWeek(Date::fromDays(-1), 7), 5); // 31 December 1969, Wednesday
}

TEST(CalendarService, UmmAlQuraTableRoundTripsEveryDay)
{
    const Date first = parse(Hijri, "1/1/1300");
    const Date end = parse(Hijri, "1/1/1601");
    int monthLength = 0;
    Civil previous = civil(Hijri, first);
    for (Date date = first; date < end; date += Days{1}) {
        const Civil hijri = civil(Hijri, date);
        const Civil gregorian = civil(Gregorian, date);
        ASSERT_EQ(parse(Hijri, text(hijri)), date) << text(hijri);
        ASSERT_EQ(parse(Gregorian, text(gregorian)), date) << text(gregorian);
        if (hijri.month != previous.month) {
            ASSERT_TRUE(monthLength == 29 || monthLength == 30) << text(previous);
            ASSERT_EQ(hijri.day, 1);
            monthLength = 0;
        }
        ++monthLength;
        previous = hijri;
    }
    EXPECT_EQ(civil(Hijri, end - Days{1}), (Civil{previous.day, 12, 1600}));
}

TEST(CalendarService, SampledDaysOfBothCalendarsRoundTrip)
{
    // Hijri years 1..9999 span Gregorian 622..10323; the Gregorian years before 622 are
    // sampled on their own.
    const Date hijriEnd = parse(Hijri, "1/12/9999") + Days{30};
    for (Date date = parse(Hijri, "1/1/1"); date < hijriEnd; date += Days{97}) {
        for (const int shownIn : {Gregorian, Hijri}) {
            const Civil parts = civil(shownIn, date);
            if (parts.year <= 9999) {
                ASSERT_EQ(parse(shownIn, text(parts)), date) << text(parts);
            }
        }
    }
    const Date hijraDay = parse(Gregorian, "16/7/622");
    for (Date date = parse(Gregorian, "1/1/1"); date < hijraDay; date += Days{97}) {
        const Civil parts = civil(Gregorian, date);
        ASSERT_EQ(parse(Gregorian, text(parts)), date) << text(parts);
    }
}

TEST(CalendarService, YearsBeyondTheEntryRangeAreShownAsTheyAre)
{
    const Date lastMonth = parse(Hijri, "1/12/9999");
    const Date lastDay = lastMonth + Days{28};
    EXPECT_EQ(civil(Gregorian, lastDay).year, 10323);
    EXPECT_EQ(longDate(Gregorian, lastDay).substr(longDate(Gregorian, lastDay).size() - 8),
              "10323 م");
    // Before the Hijra the Hijri year counts backwards, the year before 1 AH being 1 BH.
    EXPECT_EQ(longDate(Hijri, parse(Gregorian, "15/7/622")), "29 ذو الحجة 1 ق.هـ");
    EXPECT_EQ(longDate(Hijri, parse(Gregorian, "1/1/622")), "11 جمادى الآخرة 1 ق.هـ");
    EXPECT_EQ(longDate(Hijri, parse(Gregorian, "1/1/1")), "16 جمادى الأولى 641 ق.هـ");
}

// ICU 78 lists an era before the Hijra after the Hijri one, ICU 72 the Hijri era alone: the
// name must follow the era ICU gives our days, wherever the list puts it.
TEST(CalendarService, TheEraIsTheOneOfOurDaysWhereverIcuListsIt)
{
    for (const auto &[locale, ours, listed] :
         {std::tuple("ar@calendar=islamic-umalqura", "هـ",
                     std::vector<icu::UnicodeString>{u"هـ", u"BH"}),
          std::tuple("ar@calendar=gregorian", "م",
                     std::vector<icu::UnicodeString>{u"ق.م", u"م", u"X"})}) {
        UErrorCode status = U_ZERO_ERROR;
        icu::SimpleDateFormat format(icu::UnicodeString(u"G"), icu::Locale(locale), status);
        ASSERT_TRUE(U_SUCCESS(status)) << locale;
        EXPECT_EQ(detail::eraOfOurTime(format), ours) << locale << ", as ICU lists it";
        auto *symbols = new icu::DateFormatSymbols(*format.getDateFormatSymbols());
        symbols->setEras(listed.data(), int32_t(listed.size()));
        format.adoptDateFormatSymbols(symbols);
        EXPECT_EQ(detail::eraOfOurTime(format), ours) << locale << ", with an era after it";
    }
}

TEST(CalendarService, JulianDaysBeforeTheReform)
{
    EXPECT_EQ(parse(Gregorian, "4/10/1582") + Days{1}, parse(Gregorian, "15/10/1582"));
    EXPECT_EQ(rejection(Gregorian, "29/2/1500"), "accepted"); // a Julian leap year
    EXPECT_NE(rejection(Gregorian, "29/2/1700"), "accepted"); // not a Gregorian one
}

TEST(CalendarService, AcceptsBlanksAndArabicDigits)
{
    const Date expected = parse(Gregorian, "7/9/2026");
    EXPECT_EQ(parse(Gregorian, " 7 / 9 / 2026 "), expected);
    EXPECT_EQ(parse(Gregorian, "٧/٩/٢٠٢٦"), expected);
    EXPECT_EQ(parse(Gregorian, "۷/۹/۲۰۲۶"), expected);
    EXPECT_EQ(parse(Gregorian, "\t07/09/2026\u00A0"), expected);
    // Direction marks that copied Arabic text carries around and between its digits.
    EXPECT_EQ(parse(Gregorian, "\u200F7/\u200E9\u200F/\u20662\u206902\u061C6\uFEFF"), expected);
    EXPECT_EQ(parse(Gregorian, "\u202B\u00A07\u202C/\u202E9/2026\u00A0\u200F"), expected);
    EXPECT_EQ(rejection(Gregorian, "29/2/2024"), "accepted");
}

TEST(CalendarService, CurrentCalendarIsProcessWideAndScoped)
{
    EXPECT_EQ(CurrentCalendar(), Gregorian);
    try {
        CalendarScope scope(Hijri);
        EXPECT_EQ(CurrentCalendar(), Hijri);
        ParseDate("30/9/1446");
    } catch (const DateError &) {
    }
    EXPECT_EQ(CurrentCalendar(), Gregorian);
    EXPECT_THROW(SetCalendar(2), std::invalid_argument);
    EXPECT_EQ(CurrentCalendar(), Gregorian);
}

TEST(CalendarService, TodayCanBeFixed)
{
    // Days long past, which no clock running these tests reads: a fixed day undone shows.
    const Date outerDay = parse(Gregorian, "12/10/1999"), innerDay = parse(Gregorian, "5/9/1999");
    const Date systemToday = GetToday();
    ASSERT_GT(systemToday, parse(Gregorian, "1/1/2024"));
    {
        FixedToday fixed(outerDay);
        EXPECT_EQ(GetToday(), outerDay);
        {
            FixedToday inner(innerDay);
            EXPECT_EQ(GetToday(), innerDay);
        }
        EXPECT_EQ(GetToday(), outerDay) << "an inner fixed day undid the outer";
    }
    EXPECT_EQ(GetToday(), systemToday);
}

TEST(Numerals, DigitsOfThreeScriptsAndMalformedUtf8)
{
    EXPECT_EQ(digitValue(U'7'), 7);
    EXPECT_EQ(digitValue(U'\u0667'), 7);
    EXPECT_EQ(digitValue(U'\u06F7'), 7);
    EXPECT_EQ(digitValue(U'\u066B'), std::nullopt); // Arabic decimal separator
    EXPECT_EQ(digitValue(U'a'), std::nullopt);

    // A malformed byte is U+FFFD on its own, and what follows it is read afresh: no broken
    // form of a digit may come out as that digit.
    const struct
    {
        std::string_view bytes;
        std::u32string_view decoded;
    } cases[] = {
            {"\xD9\xA7", U"\u0667"}, // well formed
            {"\xD9"
             "7",
             U"\uFFFD7"}, // a lead byte cut short
            {"\xD9\xE7", U"\uFFFD\uFFFD"}, // a lead byte where a continuation byte belongs
            {"\xA7", U"\uFFFD"}, // a continuation byte alone
            {"\xC0\xB7", U"\uFFFD\uFFFD"}, // 7, overlong in two bytes
            {"\xE0\x80\xB7", U"\uFFFD\uFFFD\uFFFD"}, // in three
            {"\xF0\x80\x80\xB7", U"\uFFFD\uFFFD\uFFFD\uFFFD"}, // in four
            {"\xF0\x80\x99\xA7", U"\uFFFD\uFFFD\uFFFD\uFFFD"}, // U+0667 in four
            {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"}, // a surrogate
            {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
            {"\xF8\x88\x80\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"}, // no such lead byte
            {"\xF0\x9F", U"\uFFFD\uFFFD"}, // the end of the text inside a character
            {"\xFF"
             "1",
             U"\uFFFD1"},
    };
    for (const auto &[bytes, decoded] : cases) {
        std::string_view text = bytes;
        std::u32string got;
        while (!text.empty())
            got.push_back(takeCodePoint(text));
        EXPECT_EQ(got, decoded) << testing::PrintToString(std::string(bytes));
    }
}
