#pragma once

#include "civil_date.h"

#include <chrono>
#include <string>

// The Arabic names of the months, the weekdays and the era of our time, as ICU has them,
// for the window and for the command line under Arabic. ICU's Arabic symbol tables are read
// once, on first use.
namespace calendar {

const std::string &monthName(Calendar calendar, int month);
const std::string &weekdayName(std::chrono::weekday weekday);
// "هـ", "م": the era the years of our time are counted in.
const std::string &eraName(Calendar calendar);

} // namespace calendar
