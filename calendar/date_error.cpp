#include "date_error.h"

namespace calendar {

DateError::DateError(DateFault fault, const CivilDate &written)
    : std::runtime_error("invalid date"), m_fault(fault), m_written(written)
{
}

} // namespace calendar
