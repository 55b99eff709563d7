#include "date_error.h"

#include <string>

namespace calendar {
namespace {

const char *fieldName(DateField field)
{
    switch (field) {
    case DateField::Day:
        return "day";
    case DateField::Month:
        return "month";
    case DateField::Year:
        return "year";
    }
    return "";
}

// For a log or a debugger; each front end words the fault for its users.
std::string diagnostic(DateFault fault, DateField field)
{
    switch (fault) {
    case DateFault::Shape:
        return "invalid date: not of the form day/month/year";
    case DateFault::EmptyField:
        return std::string("invalid date: the ") + fieldName(field) + " field is empty";
    case DateFault::NotANumber:
        return std::string("invalid date: the ") + fieldName(field) + " field is not a number";
    case DateFault::YearOutOfRange:
        return "invalid date: the year is outside 1 to 9999";
    case DateFault::MonthOutOfRange:
        return "invalid date: the month is outside 1 to 12";
    case DateFault::DayBelowOne:
        return "invalid date: the day is below 1";
    case DateFault::PastMonthEnd:
        return "invalid date: the day is past the end of its month";
    case DateFault::SkippedByReform:
        return "invalid date: a day the Gregorian reform skipped";
    case DateFault::OutOfRange:
        break;
    }
    return "invalid date: outside the days the calendars are computed for";
}

} // namespace

DateError::DateError(DateFault fault, const CivilDate &typed, DateField field)
    : std::runtime_error(diagnostic(fault, field)), m_fault(fault), m_field(field), m_typed(typed)
{
}

} // namespace calendar
