#include "bidi_text.h"

#include "program.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ushape.h>
#include <unicode/utf8.h>

#include <stdexcept>

namespace command_line {
namespace {

constexpr std::string_view LeftToRightOverride = "\u202D";
constexpr std::string_view PopDirectionalFormatting = "\u202C";

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

// Each letter in the form it takes between its neighbours in reading order; lam and alef
// become their one ligature, as a font would draw them, and a blank at the end of the text
// keeps its length.
icu::UnicodeString joinedForms(const icu::UnicodeString &text)
{
    constexpr uint32_t Options = U_SHAPE_LETTERS_SHAPE | U_SHAPE_TEXT_DIRECTION_LOGICAL
            | U_SHAPE_LENGTH_FIXED_SPACES_AT_END;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString shaped;
    UChar *buffer = shaped.getBuffer(text.length());
    const int32_t length = u_shapeArabic(text.getBuffer(), text.length(), buffer, text.length(),
                                         Options, &status);
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

template<typename Test> bool anyCharacter(std::string_view text, Test test)
{
    for (int32_t i = 0; i < int32_t(text.size());) {
        UChar32 c = 0;
        U8_NEXT(text.data(), i, int32_t(text.size()), c);
        if (c >= 0x80 && test(u_charDirection(c)))
            return true;
    }
    return false;
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

std::string laidOutLine(std::string_view logicalLine)
{
    return heldAsLaidOut(visualOrder(logicalLine, beginsRightToLeft(logicalLine)));
}

std::string heldAsLaidOut(std::string visualText)
{
    const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(visualText);
    if (ubidi_getDirection(paragraph(utf16, UBIDI_LTR).getAlias()) == UBIDI_LTR)
        return visualText;
    return std::string(LeftToRightMark) + std::string(LeftToRightOverride) + visualText
            + std::string(PopDirectionalFormatting);
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

bool hasRightToLeft(std::string_view text)
{
    return anyCharacter(text, [](UCharDirection d) {
        return d == U_RIGHT_TO_LEFT || d == U_RIGHT_TO_LEFT_ARABIC || d == U_ARABIC_NUMBER;
    });
}

bool beginsRightToLeft(std::string_view text)
{
    const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
    return ubidi_getBaseDirection(utf16.getBuffer(), utf16.length()) == UBIDI_RTL;
}

std::string heldLeftToRight(std::string_view text)
{
    std::string out(LeftToRightMark);
    if (text.starts_with('-') || text.starts_with('+')) {
        out.append(text.substr(0, 1)).append(LeftToRightMark);
        text.remove_prefix(1);
    }
    return out.append(text).append(LeftToRightMark);
}

std::string heldInMessage(std::string_view text)
{
    return messagesReadRightToLeft() ? heldLeftToRight(text) : std::string(text);
}

} // namespace command_line
