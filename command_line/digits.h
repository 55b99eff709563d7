#pragma once

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
    out += '\xD9';
    out += char(0xA0 + digit);
}

// The text with its ASCII digits written in the digits given.
std::string withDigits(std::string text, Digits digits);

} // namespace command_line
