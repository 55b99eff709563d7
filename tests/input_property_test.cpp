// Whatever a user types, or pastes, reading it never crashes: a number comes out of
// TextValue, and ParseDate either names a day that reads back the same or says why not, in
// the window's words.
#include "app/calendar_service.h"
#include "date_error_text.h"
#include "text_value.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <tuple>

using namespace calendar;

namespace {

const char *const Digits[3][10] = {
        {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
        {"٠", "١", "٢", "٣", "٤", "٥", "٦", "٧", "٨", "٩"},
        {"۰", "۱", "۲", "۳", "۴", "۵", "۶", "۷", "۸", "۹"},
};
const char *const Noise[] = {" ",
                             "\t",
                             "\u00A0",
                             "/",
                             "//",
                             "-",
                             "+",
                             ".",
                             ",",
                             "a",
                             "ي",
                             "\u200F",
                             "\xFF",
                             "\xC0\x80",
                             "\xED\xA0\x80",
                             "\xF4\x90\x80\x80",
                             "99999999999999999999",
                             "0000",
                             "\0",
                             "e5",
                             "١٢٣٤٥"};

class Typist
{
public:
    explicit Typist(unsigned seed) : m_random(seed) { }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string number(int maxDigits, std::string *ascii = nullptr)
    {
        const int script = below(3);
        std::string text;
        for (int i = below(maxDigits) + 1; i > 0; --i) {
            const int digit = below(10);
            text += Digits[script][digit];
            if (ascii)
                *ascii += char('0' + digit);
        }
        return text;
    }

    std::string noise() { return Noise[below(std::size(Noise))]; }
    std::string noiseAfterNumber() // what cannot continue a number
    {
        std::string text = noise();
        return TextValue(QString::fromUtf8(("1" + text).c_str())) == 1 ? text : " ";
    }

    // Mostly plausible dates, with every kind of damage mixed in.
    std::string dateText()
    {
        std::string text;
        for (int part = 0; part < 3; ++part) {
            if (below(8) == 0)
                text += noise();
            text += number(part == 2 ? 5 : 3);
            if (below(8) == 0)
                text += noise();
            if (part < 2 && below(30) != 0)
                text += '/';
        }
        return text;
    }

private:
    std::mt19937 m_random;
};

void expectRoundTripOrReason(const std::string &text, int calendar)
{
    CalendarScope scope(calendar);
    Date date = Date::fromDays(0);
    try {
        date = ParseDate(text);
    } catch (const EntryError &error) {
        EXPECT_GT(dateErrorText(error).size(), 10) << text;
        return;
    } catch (const DateError &error) {
        EXPECT_GT(dateErrorText(error).size(), 10) << text;
        return;
    }
    const int day = DayOfMonth(date), month = MonthOfYear(date), year = YearOf(date);
    ASSERT_TRUE(year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31)
            << text;
    ASSERT_EQ(ParseDate(std::to_string(day) + "/" + std::to_string(month) + "/"
                        + std::to_string(year)),
              date)
            << text;
}

// What the window says of a date typed in the calendar, or "accepted".
std::string rejection(int calendar, const std::string &dateText)
{
    try {
        CalendarScope scope(calendar);
        ParseDate(dateText);
    } catch (const EntryError &error) {
        return dateErrorText(error).toStdString();
    } catch (const DateError &error) {
        return dateErrorText(error).toStdString();
    }
    return "accepted";
}

} // namespace

TEST(TextValue, ReadsTheNumberAtTheStart)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
            {"1.5", 1.5},
            {".5", 0.5},
            {"-1", -1},
            {"4a", 4},
            {"abc", 0},
            {"", 0},
            {"  12", 12},
            {"+3", 3},
            {"١٢", 12},
            {"۱.۵", 1.5},
            {"0", 0},
            {"1 2", 1},
            {"- 1", 0},
            {"1.2.3", 1.2},
            {"٣x", 3},
            {"--1", 0},
            {"\t7", 7},
            {"9999", 9999},
            {".", 0},
            {"-.5", -0.5},
            {"\u200F5", 5},
            {"\u061C\u2067٣\u2069", 3},
            {"2\uFEFF0\u200E26", 2026}, // not first: a leading one is taken for a BOM
            {"\u00A0\u202B12", 12},
            {"\u200F", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(TextValue(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(TextValue, AgreesWithTheDigitsTypedInAnyScript)
{
    Typist typist(7);
    for (int i = 0; i < 50'000; ++i) {
        std::string ascii;
        std::string text = typist.below(2) ? " " : "";
        const bool negative = typist.below(3) == 0;
        text += negative ? "-" : "";
        text += typist.number(6, &ascii);
        text += typist.noiseAfterNumber();
        const double expected = std::stod(ascii) * (negative ? -1 : 1);
        ASSERT_DOUBLE_EQ(TextValue(QString::fromUtf8(text)), expected) << text;
    }
}

TEST(TextValue, SurvivesBrokenText)
{
    Typist typist(11);
    for (int i = 0; i < 50'000; ++i) {
        QString text;
        for (int n = typist.below(12); n > 0; --n)
            text += typist.below(4) == 0 ? QChar(char16_t(0xD800 + typist.below(0x800)))
                                         : QString::fromUtf8(typist.noise());
        ASSERT_FALSE(std::isnan(TextValue(text)));
    }
}

TEST(ParseDate, EveryTextNamesADayThatReadsBackOrIsRefused)
{
    Typist typist(2026);
    for (int i = 0; i < 100'000; ++i) {
        const std::string text = typist.dateText();
        expectRoundTripOrReason(text, i % 2 ? Hijri : Gregorian);
        // The window hands over whatever the fields hold, broken UTF-16 included.
        if (i % 50 == 0) {
            QString typed = QString::fromUtf8(text);
            typed.insert(typist.below(int(typed.size()) + 1), QChar(char16_t(0xDC00)));
            expectRoundTripOrReason(typed.toStdString(), Gregorian);
        }
    }
    EXPECT_EQ(CurrentCalendar(), Gregorian);
}

TEST(DateErrorText, RejectsWhatNamesNoDayWithAnArabicReason)
{
    const struct
    {
        int calendar;
        const char *text;
        const char *reasonMentions;
    } cases[] = {
            {Gregorian, "31/2/2021", "28"},
            {Gregorian, "29/2/2100", "28"},
            {Hijri, "30/9/1446", "رمضان"},
            {Hijri, "30/9/1446", "29"},
            {Gregorian, "0/1/2020", "اليوم"},
            {Gregorian, "1/13/2020", "الشهر"},
            {Gregorian, "1/1/", "السنة"},
            {Gregorian, "a/1/2020", "اليوم"},
            {Gregorian, "-1/1/2020", "اليوم"},
            {Gregorian, "1/1/10000", "9999"},
            {Gregorian, "1/1/0", "السنة"},
            {Gregorian, "1/1", "يوم/شهر/سنة"},
            {Gregorian, "1/1/2020/1", "يوم/شهر/سنة"},
            {Gregorian, "", "يوم/شهر/سنة"},
            {Gregorian, "1/+1/2020", "الشهر"},
            {Gregorian, "1/1/2020x", "السنة"},
            {Gregorian, "1.5/1/2020", "اليوم"},
            {Hijri, "1/1/99999999999999999999", "9999"},
            {Gregorian, "32/1/2020", "31"},
            {Gregorian, "\u200F/1/2020", "اليوم"}, // a mark alone is no number
    };
    for (const auto &c : cases) {
        const std::string reason = rejection(c.calendar, c.text);
        EXPECT_NE(reason, "accepted") << c.text;
        EXPECT_NE(reason.find(c.reasonMentions), std::string::npos) << c.text << ": " << reason;
    }
    // Sentences that name a month and a year, whole: a wrong era or month shows.
    const char *const skipped
            = "الأيام من 5 إلى 14 أكتوبر 1582 م لم توجد قط: حذفها الانتقال إلى التقويم الغريغوري.";
    for (const auto &[calendar, text, sentence] :
         {std::tuple(Hijri, "30/9/1446", "شهر رمضان سنة 1446 هـ فيه 29 يوماً فقط."),
          std::tuple(Gregorian, "31/4/622", "شهر أبريل سنة 622 م فيه 30 يوماً فقط."),
          std::tuple(Gregorian, "5/10/1582", skipped),
          std::tuple(Gregorian, "14/10/1582", skipped)})
        EXPECT_EQ(rejection(calendar, text), sentence) << text;
}

TEST(DateErrorText, AFieldWithAStrayCharacterIsNamed)
{
    const auto reason = [](std::string_view text, DateField field) -> std::string {
        try {
            CheckDateField(text, field);
            return "accepted";
        } catch (const EntryError &error) {
            return dateErrorText(error).toStdString();
        }
    };
    EXPECT_EQ(reason("1/", DateField::Day), "خانة اليوم لا تحتوي رقماً صحيحاً.");
    EXPECT_EQ(reason("1/2", DateField::Month), "خانة الشهر لا تحتوي رقماً صحيحاً.");
    EXPECT_EQ(reason("/2026", DateField::Year), "خانة السنة لا تحتوي رقماً صحيحاً.");
    for (const char *fine : {"", " ", "12", "\u200F٥", "\u00A07 "})
        EXPECT_EQ(reason(fine, DateField::Day), "accepted") << fine;
}
