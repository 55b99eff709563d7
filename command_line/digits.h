#pragma once

#include <unicode/utf8.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The digits a program writes: ASCII, or the Arabic-Indic ones (U+0660..U+0669) that Arabic
// text is printed with in the Gulf (--digits=arabic); and the one writer of numbers.
namespace command_line {

enum class Digits { Latin, Arabic };

// "٠" is U+0660; the ten Arabic-Indic digits follow it in order, two bytes each in UTF-8.
inline constexpr std::array<std::array<char, 2>, 10> ArabicIndicDigits = [] {
    std::array<std::array<char, 2>, 10> digits{};
    for (std::size_t d = 0; d < digits.size(); ++d) {
        int32_t length = 0;
        U8_APPEND_UNSAFE(digits[d], length, UChar32(U'\u0660' + d));
    }
    return digits;
}();

// One digit, 0 to 9. Inline: a column of dates writes millions of them.
inline void appendDigit(std::string &out, int digit, Digits digits)
{
    if (digits == Digits::Latin)
        out += char('0' + digit);
    else
        out.append(ArabicIndicDigits[std::size_t(digit)].data(), 2);
}

enum class Sign { IfNegative, Plus, Minus };

// At least `width` characters, the sign counted, padded as date(1) pads them: blanks before
// the sign (padding ' '), zeros after it ('0'), or none.
void appendNumber(std::string &out, long long value, int width, char padding, Digits digits,
                  Sign sign = Sign::IfNegative);

// The text with its ASCII digits written in the digits given.
std::string withDigits(std::string text, Digits digits);

} // namespace command_line
