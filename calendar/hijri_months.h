#pragma once

#include "civil_date.h"

// Where each Umm al-Qura month begins, as ICU reckons it. ICU works a Hijri date out by
// walking the years from 1300 AH one by one, which would cost a long column of dates far
// more than everything else the programs do; so each year's month starts are asked of ICU
// once, the first time the year is met, and kept.
namespace calendar::detail {

// The Hijri years kept: enough to hold every day of Gregorian years 1 to 9999 and of Hijri
// years 1 to 9999, with room on both sides.
inline constexpr int FirstHijriYear = -700;
inline constexpr int LastHijriYear = 10500;

// The first day of the month (1..12), or with 13 of the following year. Throws DateError
// (OutOfRange) for a year that is not kept.
Date hijriMonthStart(int year, int month);
CivilDate hijriCivilDate(Date date);

} // namespace calendar::detail
