#include "date_error.h"

namespace calendar {

DateError::DateError(DateFault fault, const CivilDate &typed, DateField field)
    : std::runtime_error("invalid date"), m_fault(fault), m_field(field), m_typed(typed)
{
}

} // namespace calendar
