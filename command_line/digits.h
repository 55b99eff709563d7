#pragma once

#include "bidi_text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The digits a program writes, and the one writer of numbers. Every decimal numbering system
// Unicode has keeps its ten digits in order from its zero: ASCII, the Arabic-Indic digits
// U+0660..U+0669 that Arabic is printed with in the Gulf (--digits=arabic), the Extended
// Arabic-Indic U+06F0..U+06F9 of Persian and Urdu (--digits=persian), or those CLDR names as
// a locale's own (--digits=locale).
namespace command_line {

class Digits
{
public:
    explicit Digits(char32_t zero)
        : m_zero(zero), m_arabicNumbers(u_charDirection(UChar32(zero)) == U_ARABIC_NUMBER)
    {
        for (std::size_t d = 0; d < m_utf8.size(); ++d) {
            int32_t length = 0;
            U8_APPEND_UNSAFE(m_utf8[d].data(), length, UChar32(zero + d));
            m_length = std::uint8_t(length);
        }
    }

    static const Digits Latin, Arabic, Persian;

    // One digit, 0 to 9. Inline: a column of dates writes millions of them.
    void append(std::string &out, int digit) const
    {
        if (m_zero == U'0')
            out += char('0' + digit);
        else
            out.append(m_utf8[std::size_t(digit)].data(), m_length);
    }

    char32_t zero() const { return m_zero; }
    // Arabic numbers to the bidirectional algorithm (the Arabic-Indic digits): a separator
    // between two of them does not hold them together, so a date in them needs marks.
    bool areArabicNumbers() const { return m_arabicNumbers; }

    friend bool operator==(const Digits &a, const Digits &b) { return a.m_zero == b.m_zero; }

private:
    char32_t m_zero;
    bool m_arabicNumbers;
    std::array<std::array<char, 4>, 10> m_utf8{};
    std::uint8_t m_length = 1;
};

inline const Digits Digits::Latin{U'0'};
inline const Digits Digits::Arabic{U'\u0660'};
inline const Digits Digits::Persian{U'\u06F0'};

// The digits of the locale's default numbering system in CLDR (ICU locale id), or Latin
// where that system is not one of decimal digits.
Digits localeDigits(std::string_view icuLocale);

enum class Sign { IfNegative, Plus, Minus };

// At least `width` characters, the sign counted, padded as date(1) pads them: blanks before
// the sign (padding ' '), zeros after it ('0'), or none.
void appendNumber(std::string &out, long long value, int width, char padding, const Digits &digits,
                  Sign sign = Sign::IfNegative);

// A sign or a mark between two numbers ('-', '+'): between left-to-right marks where the
// digits are Arabic numbers to the bidirectional algorithm, which would otherwise reverse the
// numbers around it ("١٤٤٥-٠٩-٠١" shown as "٠١-٠٩-١٤٤٥"), in a line of either direction.
inline void appendSeparator(std::string &out, char separator, const Digits &digits)
{
    if (!digits.areArabicNumbers()) {
        out += separator;
        return;
    }
    out.append(LeftToRightMark).append(1, separator).append(LeftToRightMark);
}

// The text with its ASCII digits written in the digits given.
std::string withDigits(std::string text, const Digits &digits);

} // namespace command_line
