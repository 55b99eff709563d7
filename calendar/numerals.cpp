#include "numerals.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace calendar {

char32_t takeCodePoint(std::string_view &text)
{
    constexpr std::string_view Replacement = "\uFFFD";
    // No character is longer than four bytes.
    const auto length = int32_t(std::min<std::size_t>(text.size(), 4));
    int32_t taken = 0;
    UChar32 c = 0;
    U8_NEXT_OR_FFFD(text.data(), taken, length, c);
    // ICU takes a malformed sequence whole; taking it a byte at a time instead means the
    // next character is read afresh from the byte after the bad one.
    if (c == 0xFFFD && !text.starts_with(Replacement))
        taken = 1;
    text.remove_prefix(std::size_t(taken));
    return char32_t(c);
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

std::u32string decodedWithoutMarks(std::string_view text)
{
    std::u32string decoded;
    decoded.reserve(text.size());
    while (!text.empty())
        if (const char32_t c = takeCodePoint(text); !isInvisibleMark(c))
            decoded += c;
    return decoded;
}

} // namespace calendar
