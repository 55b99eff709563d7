#include "date_reading.h"

#include "numerals.h"

#include <algorithm>
#include <array>

namespace calendar {
namespace {

// Large enough to be out of every range, small enough never to overflow.
constexpr int Saturated = 1'000'000;

// The text from its first character that is not a blank to its last one.
std::string_view trimmed(std::string_view text)
{
    std::size_t start = text.size(), end = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t at = text.size() - rest.size();
        if (!isBlank(takeCodePoint(rest))) {
            start = std::min(start, at);
            end = text.size() - rest.size();
        }
    }
    return start < end ? text.substr(start, end - start) : std::string_view();
}

int readNumber(std::string_view text, DateField field, Calendar calendar)
{
    text = trimmed(text);
    if (text.empty())
        throw DateError(DateFault::EmptyField, {.calendar = calendar}, field);
    int value = 0;
    while (!text.empty()) {
        const std::optional<int> digit = digitValue(takeCodePoint(text));
        if (!digit)
            throw DateError(DateFault::NotANumber, {.calendar = calendar}, field);
        value = std::min(value * 10 + *digit, Saturated);
    }
    return value;
}

struct Part
{
    DateField field;
    int CivilDate::*value;
};
constexpr Part Day{DateField::Day, &CivilDate::day};
constexpr Part Month{DateField::Month, &CivilDate::month};
constexpr Part Year{DateField::Year, &CivilDate::year};

struct Form
{
    char separator;
    std::array<Part, 3> parts; // in the order written
};

Form formOf(DateOrder order)
{
    if (order == DateOrder::YearMonthDay)
        return {'-', {Year, Month, Day}};
    return {'/', {Day, Month, Year}};
}

} // namespace

CivilDate readCivilDate(std::string_view utf8Text, Calendar calendar, DateOrder order)
{
    const std::string kept = withoutInvisibleMarks(utf8Text);
    std::string_view text = kept;
    const Form form = formOf(order);
    CivilDate civil{.calendar = calendar};
    for (std::size_t i = 0; i < form.parts.size(); ++i) {
        const std::size_t separator = text.find(form.separator);
        const bool last = i + 1 == form.parts.size();
        if (last != (separator == std::string_view::npos))
            throw DateError(DateFault::Shape, {.calendar = calendar});
        const Part &part = form.parts[i];
        civil.*part.value = readNumber(text.substr(0, separator), part.field, calendar);
        if (!last)
            text.remove_prefix(separator + 1);
    }
    return civil;
}

void checkDateField(std::string_view utf8Text, DateField field)
{
    const std::string text = withoutInvisibleMarks(utf8Text);
    if (!trimmed(text).empty())
        readNumber(text, field, Calendar::Gregorian);
}

} // namespace calendar
