#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The language dates are named in, as date(1) takes it: LC_ALL, then LC_TIME, then LANG, the
// first that is set. Only the variable is read, not the C library's locale, so that a locale
// glibc has not generated on this machine still names the dates in its language (through
// ICU, calendar/locale_names.h).
namespace command_line {

// An ICU locale id for calendar::LocaleNames: "tr_TR.UTF-8" gives "tr_TR"; C, POSIX, C.UTF-8
// or nothing set gives "" (English).
std::string timeLocale();

// The same for one POSIX locale name: the language and the region, without the character
// set or a modifier ("sr_RS@latin" gives "sr_RS").
std::string icuLocaleOf(std::string_view posixLocale);

// The day weeks start on in the locale's country, by ICU's week data (Saturday in Egypt,
// Sunday in Saudi Arabia and the United States, Monday in Turkey and Malaysia).
std::chrono::weekday firstDayOfWeek(std::string_view icuLocale);

// Whether the locale's language is written right to left.
bool readsRightToLeft(std::string_view icuLocale);

} // namespace command_line
