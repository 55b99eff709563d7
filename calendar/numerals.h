#pragma once

#include <unicode/uchar.h>

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Numbers as users in the Gulf type them: digits in ASCII, Arabic-Indic (U+0660..U+0669) or
// Extended Arabic-Indic (U+06F0..U+06F9), blanks around them, and the invisible marks that
// text copied from Arabic pages carries. Every reader of a number, in the window and on the
// command line, reads it here.
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

// The UTF-8 text as characters, without its invisible marks.
std::u32string decodedWithoutMarks(std::string_view text);

// The text without the blanks around it. Inline: a column of dates trims every field.
inline std::u32string_view trimmedBlanks(std::u32string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A number stops growing at a thousandth of the largest its type holds: past every day,
// month, year or second the programs take, so that it is refused as too large however many
// digits it has, and with room left for the arithmetic that finds it so.
template<std::integral Number>
constexpr Number LargestNumber = std::numeric_limits<Number>::max() / 1000;

// The digits at the front of the text, taken off; nothing, and the text as it was, where it
// does not start with a digit.
template<std::integral Number> std::optional<Number> takeNumber(std::u32string_view &text)
{
    std::size_t length = 0;
    Number value = 0;
    for (; length < text.size(); ++length) {
        const std::optional<int> digit = digitValue(text[length]);
        if (!digit)
            break;
        value = value * 10 + Number(*digit);
        if (value > LargestNumber<Number>)
            value = LargestNumber<Number>;
    }
    if (length == 0)
        return std::nullopt;
    text.remove_prefix(length);
    return value;
}

// A text that is one number and blanks around it; nothing for a text that holds anything
// else, or nothing.
template<std::integral Number> std::optional<Number> wholeNumber(std::u32string_view text)
{
    text = trimmedBlanks(text);
    const std::optional<Number> number = takeNumber<Number>(text);
    return text.empty() ? number : std::nullopt;
}

// The same for UTF-8 text, passing over the invisible marks in it.
template<std::integral Number> std::optional<Number> wholeNumber(std::string_view utf8)
{
    return wholeNumber<Number>(std::u32string_view(decodedWithoutMarks(utf8)));
}

} // namespace calendar
