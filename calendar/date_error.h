#pragma once

#include "civil_date.h"

#include <stdexcept>

namespace calendar {

enum class DateField { Day, Month, Year };

enum class DateFault {
    Shape, // not three numbers with the separators between them
    EmptyField,
    NotANumber,
    YearOutOfRange, // a typed year outside 1..9999
    MonthOutOfRange,
    DayBelowOne,
    PastMonthEnd,
    SkippedByReform, // 5..14 October 1582
    OutOfRange, // a day far beyond the years either calendar accepts
};

// A date that names no day: what is wrong, and the date as typed, for each front end to word
// in its own language. what() says only "invalid date", for a log.
class DateError : public std::runtime_error
{
public:
    DateError(DateFault fault, const CivilDate &typed, DateField field = DateField::Day);

    DateFault fault() const { return m_fault; }
    // The field an EmptyField or NotANumber fault is about.
    DateField field() const { return m_field; }
    const CivilDate &typed() const { return m_typed; }

private:
    DateFault m_fault;
    DateField m_field;
    CivilDate m_typed;
};

} // namespace calendar
