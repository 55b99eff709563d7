#pragma once

#include "calendar/civil_date.h"

#include <stdexcept>
#include <string_view>

// Reading the date the window's three fields name, joined as "day/month/year", as people
// type or paste it: numbers as calendar/numerals.h reads them. Only its shape is checked
// here; calendar::AcceptedDays tells whether the day exists.

using calendar::DateField;

enum class EntryFault {
    Shape, // not three numbers with the separators between them
    EmptyField,
    NotANumber,
};

// A text that is not a date in numbers: what is wrong, and in which field.
class EntryError : public std::runtime_error
{
public:
    EntryError(EntryFault fault, DateField field = DateField::Day)
        : std::runtime_error("invalid date"), m_fault(fault), m_field(field)
    {
    }

    EntryFault fault() const { return m_fault; }
    DateField field() const { return m_field; }

private:
    EntryFault m_fault;
    DateField m_field;
};

// The day, month and year "8/12/2026" names, in the calendar given. Throws EntryError.
calendar::CivilDate readCivilDate(std::string_view utf8Text, calendar::Calendar calendar);

// Rejects, naming the field, a field text that holds anything but a number. An empty field
// passes; reading the joined date tells it.
void checkDateField(std::string_view utf8Text, DateField field);
