#include "conversion.h"

#include "calendar/date_names.h"
#include "calendar/date_reading.h"

namespace taqwim_date {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;

Date Conversion::read(std::string_view dateText) const
{
    const auto order = dateText.find('/') != std::string_view::npos
            ? calendar::DateOrder::DayMonthYear
            : calendar::DateOrder::YearMonthDay;
    const CivilDate typed = calendar::readCivilDate(dateText, m_settings.input, order);
    const Date date = calendar::validDateOf(typed);
    return typed.calendar == Calendar::Hijri ? date - m_settings.hijriShift : date;
}

CivilDate Conversion::civilDate(Date date, Calendar calendar) const
{
    if (calendar == Calendar::Hijri)
        date = date + m_settings.hijriShift;
    return calendar::civilDate(date, calendar);
}

void Conversion::write(std::string &out, Date date) const
{
    if (m_settings.format) {
        m_settings.format->appendTo(out, civilDate(date, m_settings.printed), date.weekday(),
                                    m_settings.digits);
        return;
    }
    // Read right to left: "Tuesday, <Hijri date>, corresponding to <Gregorian date>".
    out += withDigits(calendar::weekdayName(date.weekday()) + "، "
                              + calendar::longDateText(civilDate(date, Calendar::Hijri))
                              + " الموافق "
                              + calendar::longDateText(civilDate(date, Calendar::Gregorian)),
                      m_settings.digits);
}

} // namespace taqwim_date
