#include "keeping.h"

#include "bidi_text.h"
#include "date_text.h"
#include "program.h"

#include "calendar/numerals.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>

namespace command_line {
namespace {

using calendar::HijriVariant;

// Longer than any line of these files: the end of one is not waited for in memory.
constexpr std::size_t LongestLine = 1000;

// What one file says.
struct FileWords
{
    std::optional<HijriVariant> variant;
    std::optional<int> hijriShift;
    std::optional<NamedPlace> place;
    std::optional<bool> sunset;
    std::vector<MonthRecord> records;
};

// The folders settings are looked for in, the user's first.
std::vector<std::string> configFolders()
{
    std::vector<std::string> folders;
    if (const char *home = std::getenv("XDG_CONFIG_HOME"); home && *home)
        folders.emplace_back(home);
    else if (const char *user = std::getenv("HOME"); user && *user)
        folders.push_back(std::string(user) + "/.config");
    const char *system = std::getenv("XDG_CONFIG_DIRS");
    std::string_view rest = system && *system ? system : "/etc/xdg";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        if (colon != 0)
            folders.emplace_back(rest.substr(0, colon));
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    }
    return folders;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "1446-09": a year and a month number.
std::optional<std::pair<int, int>> hijriMonthWritten(std::string_view text)
{
    const std::size_t dash = text.rfind('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> year = calendar::wholeNumber<int>(text.substr(0, dash));
    const std::optional<int> month = calendar::wholeNumber<int>(text.substr(dash + 1));
    if (!year || !month)
        return std::nullopt;
    return std::pair(*year, *month);
}

class LineReader
{
public:
    LineReader(std::string file, FileWords &words) : m_file(std::move(file)), m_words(words) { }

    void read(std::string_view line, unsigned number)
    {
        place(number);
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            return;
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos)
            setting(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
        else
            record(line);
    }

    [[noreturn]] void refuseLong(unsigned number)
    {
        place(number);
        refuse(formatted(_("the line is longer than %zu characters"), LongestLine));
    }

private:
    void place(unsigned number)
    {
        m_where = formatted(_("%s, line %u"), quotedText(m_file).c_str(), number);
    }

    [[noreturn]] void refuse(const std::string &why) const
    {
        throw SettingsError(m_where + ": " + why);
    }

    void setting(std::string_view name, std::string_view value)
    {
        if (name == "calendar") {
            m_words.variant = variantNamed(value);
            if (!m_words.variant)
                refuse(_("calendar takes umalqura, civil or tbla"));
        } else if (name == "adjust") {
            m_words.hijriShift = hijriShiftWritten(value);
            if (!m_words.hijriShift)
                refuse(_("adjust takes a whole number of days from -2 to 2"));
        } else if (name == "location") {
            const std::optional<Place> place = placeWritten(value);
            if (!place)
                refuse(_("location takes a latitude and a longitude in degrees, north and east "
                         "positive, as 21.42,39.83"));
            m_words.place = NamedPlace{*place, std::string(value)};
        } else if (name == "sunset") {
            if (value != "yes" && value != "no")
                refuse(_("sunset takes yes or no"));
            m_words.sunset = value == "yes";
        } else {
            refuse(formatted(_("there is no setting %s: the settings are calendar, adjust, "
                               "location and sunset"),
                             quotedText(name).c_str()));
        }
    }

    // "1446-09 2025-03-01": the Hijri month, and the Gregorian day it began.
    void record(std::string_view line)
    {
        const std::size_t blank = line.find_first_of(" \t");
        const std::optional<std::pair<int, int>> month = hijriMonthWritten(line.substr(0, blank));
        if (blank == std::string_view::npos || !month)
            refuse(_("write a month's start as 1446-09 2025-03-01 (the Hijri year and month, "
                     "then the day it began), or a setting as calendar = civil"));
        const auto [year, number] = *month;
        if (year < calendar::FirstYear || year > calendar::LastYear)
            refuse(formatted(_("there is no year %d: years run from %d to %d"), year,
                             calendar::FirstYear, calendar::LastYear));
        if (number < 1 || number > 12)
            refuse(formatted(_("there is no month %d: months run from 1 to 12"), number));
        if (!m_months.insert(year * 12 + number).second)
            refuse(formatted(_("the month %s is recorded twice"),
                             heldInMessage(formatted("%d-%02d", year, number)).c_str()));
        const std::string_view day = trimmed(line.substr(blank));
        static const Reckoning plain;
        const DateReading gregorian{.calendar = calendar::Calendar::Gregorian, .reckoning = plain};
        try {
            m_words.records.push_back({year, number, readDate(day, gregorian).day, m_where});
        } catch (const DateTextError &error) {
            refuse(dateProblem(day, error, gregorian));
        }
    }

    std::string m_file;
    FileWords &m_words;
    std::string m_where;
    std::set<int> m_months; // recorded in this file
};

// The file's words; nothing where it is not there and need not be.
std::optional<FileWords> wordsOf(const std::string &file, bool needed)
{
    std::ifstream in(file);
    if (!in) {
        if (errno == ENOENT && !needed)
            return std::nullopt;
        throw SettingsError(
                formatted(_("cannot read %s: %s"), quotedText(file).c_str(), std::strerror(errno)));
    }
    FileWords words;
    LineReader reader(file, words);
    unsigned number = 0;
    std::string line;
    for (int c = in.get(); c != EOF || !line.empty(); c = in.get()) {
        if (c != '\n' && c != EOF) {
            if (line.size() == LongestLine) // not a line of these files: /dev/zero, say
                reader.refuseLong(number + 1);
            line += char(c);
            continue;
        }
        if (line.ends_with('\r')) // written on Windows
            line.pop_back();
        reader.read(line, ++number);
        line.clear();
    }
    if (in.bad())
        throw SettingsError(
                formatted(_("cannot read %s: %s"), quotedText(file).c_str(), std::strerror(errno)));
    return words;
}

// The files, in the order their words count: the first to say a thing is heard.
std::vector<std::pair<std::string, bool>> filesOf(const KeepingOptions &options)
{
    std::vector<std::pair<std::string, bool>> files;
    if (options.monthsFile)
        files.emplace_back(*options.monthsFile, true);
    for (const std::string &folder : configFolders()) {
        files.emplace_back(folder + "/taqwim/config", false);
        if (!options.monthsFile)
            files.emplace_back(folder + "/taqwim/months", false);
    }
    return files;
}

// What --debug tells of the run's calendar, on standard error.
void tell(const Keeping &keeping)
{
    for (const std::string &file : keeping.filesRead)
        complain(formatted(_("settings read from %s"), quotedText(file).c_str()));
    if (keeping.filesRead.empty())
        complain(_("no file of settings or month starts was found"));
    complain(formatted(_("the Hijri calendar: %s, moved %s days, with %d recorded month starts"),
                       quotedText(variantName(keeping.variant)).c_str(),
                       heldInMessage(std::to_string(keeping.hijriShift)).c_str(),
                       int(keeping.records.size())));
    complain(keeping.dayBeginsAtSunset ? _("the Hijri day begins at sunset")
                                       : _("the Hijri day begins at midnight"));
    if (keeping.place)
        complain(formatted(_("the sun's times are those of %s: latitude %.4f, longitude %.4f"),
                           quotedText(keeping.place->said).c_str(), keeping.place->place.latitude,
                           keeping.place->place.longitude));
    else
        complain(_("no place is known for the sun's times"));
}

template<typename Value>
void takeFirst(std::optional<Value> &kept, const std::optional<Value> &said)
{
    if (!kept)
        kept = said;
}

} // namespace

std::optional<HijriVariant> variantNamed(std::string_view name)
{
    for (std::size_t i = 0; i < VariantNames.size(); ++i)
        if (name == VariantNames[i])
            return HijriVariant(i);
    return std::nullopt;
}

std::string_view variantName(HijriVariant variant)
{
    return VariantNames.at(std::size_t(variant));
}

std::optional<int> hijriShiftWritten(std::string_view text)
{
    const bool negative = text.starts_with('-');
    const std::optional<int> days
            = calendar::wholeNumber<int>(negative || text.starts_with('+') ? text.substr(1) : text);
    if (!days || *days > 2)
        return std::nullopt;
    return negative ? -*days : *days;
}

Keeping keepingOf(const KeepingOptions &options)
{
    FileWords said{options.variant, options.hijriShift, options.place, options.sunset, {}};
    std::map<int, MonthRecord> records;
    Keeping keeping;
    for (const auto &[file, needed] : filesOf(options)) {
        const std::optional<FileWords> words = wordsOf(file, needed);
        if (!words)
            continue;
        keeping.filesRead.push_back(file);
        takeFirst(said.variant, words->variant);
        takeFirst(said.hijriShift, words->hijriShift);
        takeFirst(said.place, words->place);
        takeFirst(said.sunset, words->sunset);
        for (const MonthRecord &record : words->records)
            records.try_emplace(record.year * 12 + record.month, record);
    }
    keeping.variant = said.variant.value_or(HijriVariant::UmmAlQura);
    keeping.hijriShift = said.hijriShift.value_or(0);
    keeping.dayBeginsAtSunset = said.sunset.value_or(false);
    keeping.place = said.place ? said.place : placeOfTimeZone();
    for (const auto &[month, record] : records)
        keeping.records.push_back(record);
    if (options.debug)
        tell(keeping);
    if (keeping.dayBeginsAtSunset)
        knownPlace(keeping, _("the day begins at sunset"));
    return keeping;
}

const NamedPlace &knownPlace(const Keeping &keeping, const char *needing)
{
    if (!keeping.place)
        throw SettingsError(
                formatted(_("%s, but no place says when the sun sets: give --location=LAT,LON, set "
                            "location in the settings, or set the time zone to a city's, as "
                            "TZ=Asia/Riyadh"),
                          needing));
    return *keeping.place;
}

} // namespace command_line
