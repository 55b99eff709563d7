#include "date_reading.h"

#include "calendar/numerals.h"

#include <array>

namespace {

using calendar::CivilDate;

int numberIn(std::u32string_view text, DateField field)
{
    if (calendar::trimmedBlanks(text).empty())
        throw EntryError(EntryFault::EmptyField, field);
    if (const std::optional<int> number = calendar::wholeNumber<int>(text))
        return *number;
    throw EntryError(EntryFault::NotANumber, field);
}

struct Part
{
    DateField field;
    int CivilDate::*value;
};
constexpr std::array<Part, 3> Parts{{
        {DateField::Day, &CivilDate::day},
        {DateField::Month, &CivilDate::month},
        {DateField::Year, &CivilDate::year},
}};

} // namespace

CivilDate readCivilDate(std::string_view utf8Text, calendar::Calendar calendar)
{
    const std::u32string decoded = calendar::decodedWithoutMarks(utf8Text);
    std::u32string_view text = decoded;
    CivilDate civil{.calendar = calendar};
    for (const Part &part : Parts) {
        const std::size_t separator = text.find(U'/');
        const bool last = &part == &Parts.back();
        if (last != (separator == std::u32string_view::npos))
            throw EntryError(EntryFault::Shape);
        civil.*part.value = numberIn(text.substr(0, separator), part.field);
        if (!last)
            text.remove_prefix(separator + 1);
    }
    return civil;
}

void checkDateField(std::string_view utf8Text, DateField field)
{
    const std::u32string text = calendar::decodedWithoutMarks(utf8Text);
    if (!calendar::trimmedBlanks(text).empty())
        numberIn(text, field);
}
