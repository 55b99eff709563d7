#include "digits.h"

#include <unicode/numsys.h>

#include <memory>

#include <algorithm>
#include <array>
#include <cstring>

namespace command_line {

Digits localeDigits(std::string_view icuLocale)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberingSystem> system(icu::NumberingSystem::createInstance(
            icu::Locale(std::string(icuLocale).c_str()), status));
    if (U_FAILURE(status) || system->isAlgorithmic() || system->getRadix() != 10)
        return Digits::Latin;
    return Digits(char32_t(system->getDescription().char32At(0)));
}

void appendNumber(std::string &out, long long value, int width, char padding, const Digits &digits,
                  Sign sign)
{
    // The digits from the last, without the allocation std::to_string may make.
    std::array<char, 20> buffer{};
    char *const end = buffer.data() + buffer.size();
    char *first = end;
    unsigned long long rest = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                        : static_cast<unsigned long long>(value);
    do {
        *--first = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    const auto length = int(end - first);
    const bool negative = sign == Sign::Minus || (sign == Sign::IfNegative && value < 0);
    const bool showsSign = negative || sign == Sign::Plus;
    const int padded = std::max(0, width - length - (showsSign ? 1 : 0));
    // The usual number of a date, in ASCII and unsigned: written whole, at once.
    const bool padsNothing = padded == 0 || (padding != ' ' && padding != '0');
    if (digits.zero() == U'0' && !showsSign && (padsNothing || padded <= first - buffer.data())) {
        if (!padsNothing)
            std::memset(first -= padded, padding, std::size_t(padded));
        out.append(first, std::size_t(end - first));
        return;
    }
    if (padding == ' ')
        out.append(std::size_t(padded), ' ');
    if (showsSign)
        appendSeparator(out, negative ? '-' : '+', digits);
    for (int i = 0; padding == '0' && i < padded; ++i)
        digits.append(out, 0);
    for (; first != end; ++first)
        digits.append(out, *first - '0');
}

std::string withDigits(std::string text, const Digits &digits)
{
    if (digits == Digits::Latin)
        return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digits.append(out, c - '0');
        else
            out += c;
    }
    return out;
}

} // namespace command_line
