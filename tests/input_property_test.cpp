// Whatever a user types, or pastes, reading it never crashes: a number comes out of
// TextValue, and ParseDate either names a day that reads back the same or says why not.
#include "calendar/calendar_service.h"
#include "text_value.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

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
    } catch (const DateError &error) {
        EXPECT_GT(std::string(error.what()).size(), 10u) << text;
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
