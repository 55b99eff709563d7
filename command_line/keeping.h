#pragma once

#include "place.h"

#include "calendar/civil_date.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// How the user's community keeps the Hijri calendar, as the command line and the files say:
// the reckoning it follows, the months whose starts it recorded as they were announced or
// sighted, whether its day begins at sunset, and where.
//
// The files are plain text, a line each: a month's start, "1446-09 2025-03-01" (Ramadan 1446
// began on 1 March 2025), or a setting, "calendar = civil"; "#" starts a comment. Settings:
//   calendar = umalqura | civil | tbla
//   adjust = N            (-2 to 2)
//   location = LAT,LON    (degrees, north and east positive)
//   sunset = yes | no     (the day begins at sunset)
// They are read from --months=FILE, else from taqwim/months in $XDG_CONFIG_HOME (~/.config)
// and then in each folder of $XDG_CONFIG_DIRS (/etc/xdg), where an administrator or a mosque
// may keep one for everybody; and from taqwim/config in the same folders. What the command
// line says wins, then the --months file, then the user's files, then the system's; a month
// recorded in an earlier file wins over a later one.
namespace command_line {

struct MonthRecord
{
    int year = 1; // Hijri
    int month = 1;
    calendar::Date start; // the day the month began
    std::string where; // "FILE, line N", for what is wrong with it
};

struct Keeping
{
    calendar::HijriVariant variant = calendar::HijriVariant::UmmAlQura;
    int hijriShift = 0; // --adjust
    std::vector<MonthRecord> records;
    bool dayBeginsAtSunset = false;
    std::optional<NamedPlace> place; // where the sun's times are reckoned, where known
    std::vector<std::string> filesRead;
};

// What the command line says of it.
struct KeepingOptions
{
    std::optional<calendar::HijriVariant> variant; // --calendar
    std::optional<int> hijriShift; // --adjust
    std::optional<std::string> monthsFile; // --months
    std::optional<NamedPlace> place; // --location
    std::optional<bool> sunset; // --sunset, --no-sunset
    bool debug = false; // --debug
};

// A file that cannot be read, or a line in it that says nothing the programs take: what and
// where, in the user's language. Exit status 1; nothing of the files is taken.
class SettingsError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The command line's word over the files', told on standard error with --debug. Throws
// SettingsError.
Keeping keepingOf(const KeepingOptions &options);

// The place the sun's times are reckoned for; or a SettingsError that says what needs it
// ("the day begins at sunset") and how to give one.
const NamedPlace &knownPlace(const Keeping &keeping, const char *needing);

// The names the calendar setting and --calendar take, in the order of HijriVariant.
inline constexpr std::array<std::string_view, 3> VariantNames{"umalqura", "civil", "tbla"};
std::optional<calendar::HijriVariant> variantNamed(std::string_view name);
std::string_view variantName(calendar::HijriVariant variant);

// "-1", "+2": the whole days the adjust setting and --adjust move the calendar by, -2 to 2;
// nothing for any other text.
std::optional<int> hijriShiftWritten(std::string_view text);

} // namespace command_line
