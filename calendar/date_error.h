#pragma once

#include "civil_date.h"

#include <stdexcept>

namespace calendar {

// Why a date written in numbers names no day a program takes, in the order they are checked.
enum class DateFault {
    YearOutOfRange, // a year none of whose days is taken
    MonthOutOfRange,
    DayBelowOne,
    PastMonthEnd,
    SkippedByReform, // 5..14 October 1582
    OutOfRange, // a day before the first or after the last one taken
};

// A date that names no day: what is wrong, and the date as written, for each front end to
// word in its own language. what() says only "invalid date", for a log.
class DateError : public std::runtime_error
{
public:
    DateError(DateFault fault, const CivilDate &written);

    DateFault fault() const { return m_fault; }
    const CivilDate &written() const { return m_written; }

private:
    DateFault m_fault;
    CivilDate m_written;
};

} // namespace calendar
