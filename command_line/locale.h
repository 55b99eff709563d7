#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The language dates are named in, as date(1) takes it: the C library's time locale, which
// LC_ALL, LC_TIME or LANG set once the program has taken the user's locale. A locale not
// generated on the machine is the C locale there, for the names as for the messages.
namespace command_line {

// An ICU locale id for LocaleNames: "tr_TR.UTF-8" gives "tr_TR"; C, POSIX or C.UTF-8 gives
// "" (English).
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
