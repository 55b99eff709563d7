#include "output_format.h"

#include "calendar/date_names.h"
#include "messages.h"

#include <cstdlib>

namespace taqwim_date {
namespace {

using calendar::CivilDate;

// "٠" is U+0660; the ten Arabic-Indic digits follow it in order.
constexpr char ArabicZeroLead = '\xD9';
constexpr unsigned char ArabicZeroTrail = 0xA0;

void appendDigit(std::string &out, int digit, Digits digits)
{
    if (digits == Digits::Latin) {
        out += char('0' + digit);
        return;
    }
    out += ArabicZeroLead;
    out += char(ArabicZeroTrail + digit);
}

int dayOfYear(const CivilDate &shown)
{
    const CivilDate newYear{shown.calendar, shown.year, 1, 1};
    return int(*calendar::dateOf(shown) - *calendar::dateOf(newYear)) + 1;
}

struct NumberStyle
{
    int width;
    char padding;
};

NumberStyle usualStyle(char conversion)
{
    switch (conversion) {
    case 'd':
    case 'm':
        return {2, '0'};
    case 'e':
        return {2, ' '};
    case 'Y':
        return {4, '0'};
    case 'j':
        return {3, '0'};
    }
    return {1, '0'};
}

// At least `width` digits, padded as date(1) pads them.
void appendNumber(std::string &out, long value, int width, char padding, Digits digits)
{
    const std::string magnitude = std::to_string(std::labs(value));
    const int padded = std::max(0, width - int(magnitude.size()) - (value < 0 ? 1 : 0));
    if (padding == ' ')
        out.append(std::size_t(padded), ' ');
    if (value < 0)
        out += '-';
    for (int i = 0; padding == '0' && i < padded; ++i)
        appendDigit(out, 0, digits);
    for (const char digit : magnitude)
        appendDigit(out, digit - '0', digits);
}

} // namespace

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

OutputFormat::OutputFormat(std::string_view format)
{
    for (std::size_t at = 0; at < format.size();) {
        const std::size_t percent = format.find('%', at);
        if (percent != at) {
            m_pieces.push_back({.literal = std::string(format.substr(at, percent - at))});
            at = percent;
            continue;
        }
        std::size_t next = percent + 1;
        Padding padding = Padding::Usual;
        if (next < format.size()
            && (format[next] == '-' || format[next] == '0' || format[next] == '_'))
            padding = format[next] == '-' ? Padding::None
                    : format[next] == '0' ? Padding::Zeros
                                          : Padding::Blanks;
        if (padding != Padding::Usual)
            ++next;
        if (next >= format.size())
            throw UsageError(printed(_("the format ends in an unfinished conversion %s"),
                                     quotedText(format.substr(percent)).c_str()));
        addConversion(format[next], padding);
        at = next + 1;
    }
}

void OutputFormat::addConversion(char conversion, Padding padding)
{
    switch (conversion) {
    case 'F': // ISO 8601, as GNU date writes it
        addConversion('Y', Padding::Usual);
        m_pieces.push_back({.literal = "-"});
        addConversion('m', Padding::Usual);
        m_pieces.push_back({.literal = "-"});
        addConversion('d', Padding::Usual);
        return;
    case 'n':
        m_pieces.push_back({.literal = "\n"});
        return;
    case 't':
        m_pieces.push_back({.literal = "\t"});
        return;
    case '%':
        m_pieces.push_back({.literal = "%"});
        return;
    case 'd':
    case 'e':
    case 'm':
    case 'Y':
    case 'j':
    case 'u':
    case 'A':
    case 'B':
        m_pieces.push_back({.conversion = conversion, .padding = padding, .literal = {}});
        return;
    }
    throw UsageError(printed(_("unknown conversion %s in the format"),
                             quotedText(std::string{'%', conversion}).c_str()));
}

void OutputFormat::appendTo(std::string &out, const CivilDate &shown, std::chrono::weekday weekday,
                            Digits digits) const
{
    for (const Piece &piece : m_pieces) {
        long value = 0;
        switch (piece.conversion) {
        case 0:
            out += piece.literal;
            continue;
        case 'A':
            out += calendar::weekdayName(weekday);
            continue;
        case 'B':
            out += calendar::monthName(shown.calendar, shown.month);
            continue;
        case 'd':
        case 'e':
            value = shown.day;
            break;
        case 'm':
            value = shown.month;
            break;
        case 'Y':
            value = shown.year;
            break;
        case 'j':
            value = dayOfYear(shown);
            break;
        case 'u':
            value = weekday.iso_encoding();
            break;
        }
        NumberStyle style = usualStyle(piece.conversion);
        if (piece.padding == Padding::None)
            style.width = 0;
        else if (piece.padding != Padding::Usual)
            style.padding = piece.padding == Padding::Zeros ? '0' : ' ';
        appendNumber(out, value, style.width, style.padding, digits);
    }
}

} // namespace taqwim_date
