#include "digits.h"

namespace command_line {
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
