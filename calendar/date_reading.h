#pragma once

#include "date_error.h"

#include <string_view>

// Reading a date as people type or paste it: digits in any of the three scripts of
// numerals.h, blanks around the numbers, and the invisible marks of copied Arabic text.
namespace calendar {

enum class DateOrder {
    DayMonthYear, // "8/12/2026", as the window joins its fields
    YearMonthDay, // "2026-12-08", ISO 8601
};

// The day, month and year the text names, in the calendar given. Only the form is checked
// here (DateError: Shape, EmptyField, NotANumber); validDateOf tells whether the day exists.
CivilDate readCivilDate(std::string_view utf8Text, Calendar calendar, DateOrder order);

// Rejects, naming the field, a field text that holds anything but a number. An empty field
// passes; reading the joined date tells it.
void checkDateField(std::string_view utf8Text, DateField field);

} // namespace calendar
