// Stand-in until the main window exists: shows that the calendar service answers.
#include "calendar/calendar_service.h"

#include <iostream>

int main()
{
    using namespace calendar;
    const Date today = GetToday();
    std::cout << "Taqwim 2.0 — the main window is not built yet.\n" << LongDateText(today) << '\n';
    CalendarScope hijri(Hijri);
    std::cout << LongDateText(today) << '\n' << DayName(DayOfWeek(today, 7), 7) << '\n';
}
