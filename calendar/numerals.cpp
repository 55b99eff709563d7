#include "numerals.h"

namespace calendar {

char32_t takeCodePoint(std::string_view &text)
{
    constexpr char32_t Replacement = U'\uFFFD';
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80 ? 1
            : lead >= 0xF0           ? 4
            : lead >= 0xE0           ? 3
            : lead >= 0xC2           ? 2
                                     : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) {
        text.remove_prefix(1);
        return lead < 0x80 ? char32_t(lead) : Replacement;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return Replacement;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    const bool invalid = overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF);
    text.remove_prefix(invalid ? 1 : length);
    return invalid ? Replacement : c;
}

std::string withoutInvisibleMarks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    while (!text.empty()) {
        const std::string_view rest = text;
        if (!isInvisibleMark(takeCodePoint(text)))
            kept.append(rest.substr(0, rest.size() - text.size()));
    }
    return kept;
}

} // namespace calendar
