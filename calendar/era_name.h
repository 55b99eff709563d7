#pragma once

#include <unicode/smpdtfmt.h>

#include <string>

namespace calendar::detail {

// The name the format's symbols give the era its calendar puts a day of our time in. The
// era's place in ICU's list is no guide: ICU 78 lists an era before the Hijra after the
// Hijri one, where older versions have the Hijri era alone.
std::string eraOfOurTime(const icu::SimpleDateFormat &format);

} // namespace calendar::detail
