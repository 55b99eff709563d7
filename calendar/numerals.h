#pragma once

#include <unicode/uchar.h>

#include <optional>
#include <string>
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

// Blanks a user may leave around a number: space, tab and the no-break space.
constexpr bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\u00A0';
}

// The direction marks that text copied from Arabic pages carries along with its digits
// (Unicode's bidi controls), and the byte order mark; they are neither digits nor letters,
// and a reader of numbers passes over them. Inline: a column of dates asks it of every
// character, and no ASCII character is one.
inline bool isInvisibleMark(char32_t c)
{
    return c >= 0x80 && (c == U'\uFEFF' || u_hasBinaryProperty(UChar32(c), UCHAR_BIDI_CONTROL));
}

// The UTF-8 text without its invisible marks; everything else, malformed bytes included,
// is kept as it was.
std::string withoutInvisibleMarks(std::string_view text);

// Decodes the UTF-8 character at the front of text and removes it. Malformed bytes come
// out as U+FFFD, one byte at a time, so that no input can stall or overrun the reader.
char32_t takeCodePoint(std::string_view &text);

} // namespace calendar
