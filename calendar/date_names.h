#pragma once

#include "civil_date.h"

#include <chrono>
#include <string>
#include <string_view>

// The Arabic names and long dates the window shows and the command line prints. ICU's
// Arabic symbol tables are read once, on first use.
namespace calendar {

const std::string &monthName(Calendar calendar, int month);
// "1446 هـ", "2026 م"; a year before the era counts backwards: "641 ق.هـ".
std::string yearText(Calendar calendar, int year);
// "8 ديسمبر 2026 م", "28 جمادى الآخرة 1448 هـ".
std::string longDateText(const CivilDate &civil);
const std::string &weekdayName(std::chrono::weekday weekday);
// One sentence, read right to left: "<weekday>، <a long date> الموافق <the same day in the
// other calendar>" ("Monday, <date>, corresponding to <date>").
std::string correspondingDatesText(std::string_view weekday, std::string_view date,
                                   std::string_view otherDate);

} // namespace calendar
