#include "terminal_text.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ushape.h>
#include <unicode/utf8.h>

#include <stdexcept>
#include <utility>

namespace taqwim_cal {
namespace {

constexpr std::string_view LeftToRightMark = "\u200E";
constexpr std::string_view LeftToRightOverride = "\u202D";
constexpr std::string_view PopDirectionalFormatting = "\u202C";
// ECMA-48's bidirectional support mode reset (explicit: the terminal reorders nothing) and set.
constexpr std::string_view ExplicitMode = "\x1b[8l";
constexpr std::string_view ImplicitMode = "\x1b[8h";

void check(UErrorCode status, const char *what)
{
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("ICU: ") + what + ": " + u_errorName(status));
}

icu::LocalUBiDiPointer paragraph(const icu::UnicodeString &text, UBiDiLevel level)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUBiDiPointer bidi(ubidi_open());
    ubidi_setPara(bidi.getAlias(), text.getBuffer(), text.length(), level, nullptr, &status);
    check(status, "bidi paragraph");
    return bidi;
}

bool reordered(std::string_view text)
{
    const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
    return ubidi_getDirection(paragraph(utf16, UBIDI_LTR).getAlias()) != UBIDI_LTR;
}

// Each letter in the form it takes between its neighbours in reading order; lam and alef
// become their one ligature, as a font would draw them.
icu::UnicodeString joinedForms(const icu::UnicodeString &text)
{
    constexpr uint32_t Options
            = U_SHAPE_LETTERS_SHAPE | U_SHAPE_TEXT_DIRECTION_LOGICAL | U_SHAPE_LENGTH_GROW_SHRINK;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length
            = u_shapeArabic(text.getBuffer(), text.length(), nullptr, 0, Options, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR)
        check(status, "Arabic shaping");
    status = U_ZERO_ERROR;
    icu::UnicodeString shaped;
    UChar *buffer = shaped.getBuffer(length);
    u_shapeArabic(text.getBuffer(), text.length(), buffer, length, Options, &status);
    shaped.releaseBuffer(U_SUCCESS(status) ? length : 0);
    check(status, "Arabic shaping");
    return shaped;
}

int cellsOf(UChar32 c)
{
    if (c < 0)
        return 1; // a malformed byte, which a terminal shows as a replacement character
    const auto type = u_charType(c);
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_FORMAT_CHAR
        || type == U_CONTROL_CHAR)
        return 0;
    const auto width = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

// The escape sequences that turn a style on and off again.
std::pair<std::string_view, std::string_view> escapesOf(Style style)
{
    switch (style) {
    case Style::Faint:
        return {"\x1b[2m", "\x1b[22m"};
    case Style::Reverse:
        return {"\x1b[7m", "\x1b[27m"};
    case Style::Plain:
        break;
    }
    return {};
}

} // namespace

std::string visualOrder(std::string_view logicalText, bool rightToLeft)
{
    const icu::UnicodeString shaped = joinedForms(icu::UnicodeString::fromUTF8(logicalText));
    const icu::LocalUBiDiPointer bidi = paragraph(shaped, rightToLeft ? 1 : 0);
    constexpr uint16_t Options = UBIDI_DO_MIRRORING | UBIDI_REMOVE_BIDI_CONTROLS;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ubidi_writeReordered(bidi.getAlias(), nullptr, 0, Options, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR)
        check(status, "bidi reordering");
    status = U_ZERO_ERROR;
    icu::UnicodeString visual;
    UChar *buffer = visual.getBuffer(length);
    ubidi_writeReordered(bidi.getAlias(), buffer, length, Options, &status);
    visual.releaseBuffer(U_SUCCESS(status) ? length : 0);
    check(status, "bidi reordering");
    std::string out;
    return visual.toUTF8String(out);
}

int cellWidth(std::string_view text)
{
    int width = 0;
    for (int32_t i = 0; i < int32_t(text.size());) {
        UChar32 c = 0;
        U8_NEXT(text.data(), i, int32_t(text.size()), c);
        width += cellsOf(c);
    }
    return width;
}

TerminalLine &TerminalLine::add(std::string visualText, Style style)
{
    m_runs.push_back({std::move(visualText), style});
    return *this;
}

TerminalLine &TerminalLine::addBlanks(int count)
{
    return count > 0 ? add(std::string(std::size_t(count), ' ')) : *this;
}

TerminalLine &TerminalLine::add(const TerminalLine &line)
{
    m_runs.insert(m_runs.end(), line.m_runs.begin(), line.m_runs.end());
    return *this;
}

std::string TerminalLine::shown() const
{
    std::string text;
    for (const Run &run : m_runs)
        text += run.text;
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string TerminalLine::written(bool styled) const
{
    std::size_t left = shown().size();
    std::string out;
    for (const Run &run : m_runs) {
        if (left == 0)
            break; // only blanks were left
        const std::string_view text = std::string_view(run.text).substr(0, left);
        left -= text.size();
        const auto [on, off] = styled ? escapesOf(run.style) : escapesOf(Style::Plain);
        out.append(on).append(text).append(off);
    }
    return out;
}

std::string terminalText(const std::vector<TerminalLine> &lines, bool styled, bool toTerminal)
{
    std::string out;
    bool overridden = false;
    for (const TerminalLine &line : lines) {
        const bool reorderable = reordered(line.shown());
        overridden = overridden || reorderable;
        if (reorderable)
            out.append(LeftToRightMark).append(LeftToRightOverride);
        out += line.written(styled);
        if (reorderable)
            out += PopDirectionalFormatting;
        out += '\n';
    }
    if (toTerminal && overridden)
        return std::string(ExplicitMode) + out + std::string(ImplicitMode);
    return out;
}

} // namespace taqwim_cal
