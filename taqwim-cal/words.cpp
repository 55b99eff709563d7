#include "words.h"

#include "terminal_text.h"

#include "command_line/date_writing.h"
#include "command_line/moment.h"
#include "command_line/program.h"

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <vector>

namespace taqwim_cal {

using calendar::Calendar;
using command_line::NameWidth;

namespace {

using Heads = std::array<std::string, 7>;

Heads weekdayNames(const command_line::LocaleNames &names, NameWidth width)
{
    Heads heads;
    for (unsigned day = 0; day < 7; ++day)
        heads[day] = names.weekday(std::chrono::weekday{day}, width);
    return heads;
}

// The characters as a reader counts them: a letter with its marks is one.
std::vector<std::string> graphemesOf(const std::string &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    const std::unique_ptr<icu::BreakIterator> breaks(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    std::vector<std::string> graphemes;
    if (U_FAILURE(status))
        return {text};
    breaks->setText(unicode);
    for (int32_t start = breaks->first(), end = breaks->next(); end != icu::BreakIterator::DONE;
         start = end, end = breaks->next())
        unicode.tempSubStringBetween(start, end).toUTF8String(graphemes.emplace_back());
    return graphemes;
}

// Latin letters in a language written in another script: CLDR gives Urdu's and Pashto's
// narrowest weekdays in Latin.
bool inOwnScript(const Heads &heads, const std::string &script)
{
    if (script == "Latn")
        return true;
    return std::ranges::none_of(heads, [](const std::string &head) {
        return std::ranges::any_of(
                head, [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
    });
}

bool usable(const Heads &heads, const std::string &script)
{
    const std::set<std::string> different(heads.begin(), heads.end());
    return different.size() == heads.size() && inOwnScript(heads, script)
            && std::ranges::all_of(heads, [](const std::string &head) {
                   return !head.empty() && cellWidth(head) <= 2;
               });
}

// The first letters of each name, two cells of them at the most; where two names begin
// alike, the first letter and the first one that tells them apart ("Sn", "Sl").
Heads shortenedNames(const Heads &names)
{
    std::array<std::vector<std::string>, 7> letters;
    Heads heads;
    for (std::size_t day = 0; day < 7; ++day) {
        letters[day] = graphemesOf(names[day]);
        for (const std::string &letter : letters[day])
            if (cellWidth(heads[day] + letter) <= 2)
                heads[day] += letter;
    }
    const Heads prefixes = heads;
    for (std::size_t day = 0; day < 7; ++day) {
        for (std::size_t other = 0; other < 7; ++other) {
            if (other == day || prefixes[other] != prefixes[day] || letters[day].empty())
                continue;
            std::size_t apart = 1;
            while (apart < letters[day].size() && apart < letters[other].size()
                   && letters[day][apart] == letters[other][apart])
                ++apart;
            if (apart < letters[day].size()
                && cellWidth(letters[day][0] + letters[day][apart]) <= 2)
                heads[day] = letters[day][0] + letters[day][apart];
        }
    }
    return heads;
}

// A grid's column is two cells wide: the language's short names where they fit and tell the
// days apart ("Su Mo Tu"), else its narrow ones (Arabic's single letters), else the first
// letters of its short names ("Mo Di Mi" for German, whose narrow names are "M D M").
Heads weekdayHeads(const command_line::LocaleNames &names)
{
    for (const NameWidth width : {NameWidth::Short, NameWidth::Narrow})
        if (Heads heads = weekdayNames(names, width); usable(heads, names.script()))
            return heads;
    return shortenedNames(weekdayNames(names, NameWidth::Short));
}

} // namespace

PageWords Words::page() const
{
    return {
            .monthName
            = [this](Calendar calendar, int month) { return m_names.month(calendar, month); },
            .shortMonthName
            = [this](Calendar calendar,
                     int month) { return m_names.month(calendar, month, NameWidth::Abbreviated); },
            .yearText = [this](Calendar calendar, int year) { return yearText(calendar, year); },
            .number = [this](int n) { return number(n); },
            .weekdayHeads = weekdayHeads(m_names),
    };
}

std::string Words::clockTime(std::int64_t instant) const
{
    return command_line::hoursAndMinutes(command_line::momentAt(instant).timeOfDay, m_digits);
}

std::string Words::number(int number) const
{
    return command_line::withDigits(std::to_string(number), m_digits);
}

std::string Words::yearText(Calendar calendar, int year) const
{
    return command_line::yearWithEra(m_names, calendar, year, m_digits);
}

std::string Words::isoDate(const calendar::CivilDate &civil) const
{
    return command_line::isoDate(civil, m_digits);
}

std::string Words::dayName(const calendar::CivilDate &civil) const
{
    return number(civil.day) + " " + m_names.month(civil.calendar, civil.month) + " "
            + number(civil.year);
}

std::string Words::longDate(const calendar::CivilDate &civil) const
{
    return command_line::longDate(civil, m_names, m_digits);
}

const char *occasionName(Occasion occasion)
{
    switch (occasion) {
    case Occasion::IslamicNewYear:
        return _("Islamic New Year");
    case Occasion::Ashura:
        return _("Ashura");
    case Occasion::ProphetsBirthday:
        return _("The Prophet's Birthday");
    case Occasion::IsraAndMiraj:
        return _("Isra and Mi'raj");
    case Occasion::MidShaban:
        return _("Mid-Sha'ban");
    case Occasion::FirstOfRamadan:
        return _("First of Ramadan");
    case Occasion::LaylatAlQadr:
        return _("Laylat al-Qadr");
    case Occasion::EidAlFitr:
        return _("Eid al-Fitr");
    case Occasion::DayOfArafah:
        return _("Day of Arafah");
    case Occasion::EidAlAdha:
        break;
    }
    return _("Eid al-Adha");
}

std::string occasionTitle(const OccasionDay &day, const std::string &sunset)
{
    const char *const name = occasionName(day.occasion);
    if (!day.night)
        return name;
    // TRANSLATORS: a night kept as an occasion, which begins at sunset on the day listed.
    if (sunset.empty())
        return command_line::formatted(_("%s, from sunset"), name);
    // TRANSLATORS: a night kept as an occasion, and the time of the sunset that begins it.
    return command_line::formatted(_("%s, from %s"), name, sunset.c_str());
}

} // namespace taqwim_cal
