#include "digits.h"

#include <algorithm>
#include <array>

namespace command_line {

void appendNumber(std::string &out, long long value, int width, char padding, Digits digits,
                  Sign sign)
{
    // The digits from the last, without the allocation std::to_string may make.
    std::array<char, 20> reversed{};
    int length = 0;
    unsigned long long rest = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                        : static_cast<unsigned long long>(value);
    do {
        reversed[std::size_t(length++)] = char(rest % 10);
        rest /= 10;
    } while (rest != 0);
    const bool negative = sign == Sign::Minus || (sign == Sign::IfNegative && value < 0);
    const bool showsSign = negative || sign == Sign::Plus;
    const int padded = std::max(0, width - length - (showsSign ? 1 : 0));
    if (padding == ' ')
        out.append(std::size_t(padded), ' ');
    if (showsSign)
        out += negative ? '-' : '+';
    for (int i = 0; padding == '0' && i < padded; ++i)
        appendDigit(out, 0, digits);
    while (length > 0)
        appendDigit(out, reversed[std::size_t(--length)], digits);
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
