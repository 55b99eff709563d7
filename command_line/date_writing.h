#pragma once

#include "digits.h"
#include "locale_names.h"

#include "calendar/civil_date.h"

#include <chrono>
#include <string>

// The one writer of each form of a date both programs print.
namespace command_line {

// "1445-09-01", "-005-01-01", "10323-10-21", as a DATE is read back: the year in at least
// `yearWidth` characters, its sign counted, padded as appendNumber pads.
void appendIsoDate(std::string &out, const calendar::CivilDate &civil, const Digits &digits,
                   int yearWidth = 4, char yearPadding = '0');
std::string isoDate(const calendar::CivilDate &civil, const Digits &digits);

// "18:43": a time of day as a clock shows it, in 24 hours.
std::string hoursAndMinutes(std::chrono::seconds timeOfDay, const Digits &digits);

// "1445 هـ", "641 ق.هـ", "1445 AH", "641 BH", "1445 Hicri": the eras as ICU names them in
// the language, and the one before the Hijra from the catalogue of date words; where the
// language has none, the year as astronomers number it ("-640").
std::string yearWithEra(const LocaleNames &names, calendar::Calendar calendar, int year,
                        const Digits &digits);

// "1 رمضان 1445 هـ", "1 Ramadan 1445 AH".
std::string longDate(const calendar::CivilDate &civil, const LocaleNames &names,
                     const Digits &digits);

} // namespace command_line
