#include "digits.h"

namespace command_line {
namespace {

// "٠" is U+0660; the ten Arabic-Indic digits follow it in order.
constexpr char ArabicZeroLead = '\xD9';
constexpr unsigned char ArabicZeroTrail = 0xA0;

} // namespace

void appendDigit(std::string &out, int digit, Digits digits)
{
    if (digits == Digits::Latin) {
        out += char('0' + digit);
        return;
    }
    out += ArabicZeroLead;
    out += char(ArabicZeroTrail + digit);
}

std::string withDigits(std::string text, Digits digits)
{
    if (digits == Digits::Latin)
        return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            appendDigit(out, c - '0', digits);
        else
            out += c;
    }
    return out;
}

} // namespace command_line
