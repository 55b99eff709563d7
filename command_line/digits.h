#pragma once

#include <unicode/utf8.h>

#include <cstdint>
#include <string>

// The digits a program writes: ASCII, or the Arabic-Indic ones (U+0660..U+0669) that Arabic
// text is printed with in the Gulf (--digits=arabic).
namespace command_line {

enum class Digits { Latin, Arabic };

// One digit, 0 to 9. Inline: a column of dates writes millions of them.
inline void appendDigit(std::string &out, int digit, Digits digits)
{
    if (digits == Digits::Latin) {
        out += char('0' + digit);
        return;
    }
    // "٠" is U+0660; the ten Arabic-Indic digits follow it in order.
    char bytes[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, UChar32(U'\u0660') + digit);
    out.append(bytes, std::size_t(length));
}

// The text with its ASCII digits written in the digits given.
std::string withDigits(std::string text, Digits digits);

} // namespace command_line
