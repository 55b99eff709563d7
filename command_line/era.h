#pragma once

#include "calendar/locale_names.h"

#include <string>

namespace command_line {

// A year with its era, as both programs write it: under Arabic the window's ("1445 هـ",
// "641 ق.هـ"); in any other language the era marks of the messages ("1445 AH", "641 BH"),
// since ICU has no era before the Hijra on most of its versions.
std::string yearWithEra(const calendar::LocaleNames &names, calendar::Calendar calendar, int year);

} // namespace command_line
