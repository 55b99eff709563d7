#pragma once

#include "calendar/civil_date.h"

#include <string>
#include <string_view>

// The window's Arabic dates: years with their eras, long dates, and the sentence that says
// one day in both calendars.

// "1446 هـ", "2026 م"; a year before the era counts backwards: "641 ق.هـ".
std::string yearText(calendar::Calendar calendar, int year);
// "8 ديسمبر 2026 م", "28 جمادى الآخرة 1448 هـ".
std::string longDateText(const calendar::CivilDate &civil);
// One sentence, read right to left: "<weekday>، <a long date> الموافق <the same day in the
// other calendar>" ("Monday, <date>, corresponding to <date>").
std::string correspondingDatesText(std::string_view weekday, std::string_view date,
                                   std::string_view otherDate);
