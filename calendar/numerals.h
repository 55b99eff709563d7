#pragma once

#include <optional>
#include <string_view>

// Digits as users in the Gulf type them: ASCII, Arabic-Indic (U+0660..U+0669) and Extended
// Arabic-Indic (U+06F0..U+06F9).
namespace calendar {

constexpr std::optional<int> digitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    if (c >= U'\u0660' && c <= U'\u0669')
        return int(c - U'\u0660');
    if (c >= U'\u06F0' && c <= U'\u06F9')
        return int(c - U'\u06F0');
    return std::nullopt;
}

// Decodes the UTF-8 character at the front of text and removes it. Malformed bytes come
// out as U+FFFD, one byte at a time, so that no input can stall or overrun the reader.
char32_t takeCodePoint(std::string_view &text);

} // namespace calendar
