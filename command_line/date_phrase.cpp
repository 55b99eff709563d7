#include "date_phrase.h"

#include "calendar/numerals.h"

#include <algorithm>
#include <array>

namespace command_line {
namespace {

using calendar::Calendar;
using Text = std::u32string_view;
using Words = std::vector<Text>;

// Each weekday by its whole name, its first three letters and the other abbreviations
// date(1) takes.
constexpr NamedValue Weekdays[] = {
        {"sunday", 0}, {"sun", 0},       {"monday", 1}, {"mon", 1},    {"tuesday", 2},  {"tue", 2},
        {"tues", 2},   {"wednesday", 3}, {"wed", 3},    {"wednes", 3}, {"thursday", 4}, {"thu", 4},
        {"thur", 4},   {"thurs", 4},     {"friday", 5}, {"fri", 5},    {"saturday", 6}, {"sat", 6},
};
constexpr NamedValue Ordinals[] = {{"next", 1}, {"last", -1}, {"this", 0}};
constexpr NamedValue Calendars[]
        = {{"gregorian", int(Calendar::Gregorian)}, {"hijri", int(Calendar::Hijri)}};

std::optional<std::chrono::weekday> weekdayNamed(Text word)
{
    if (!word.empty() && word.back() == U',') // "Mon, 2024-03-11"
        word.remove_suffix(1);
    const std::optional<int> day = valueNamed(word, Weekdays);
    return day ? std::optional(std::chrono::weekday{unsigned(*day)}) : std::nullopt;
}

struct Unit
{
    std::string_view name; // singular
    bool months = false;
    std::int64_t size = 1; // in days, or in months
};
constexpr Unit Units[] = {{"day", false, 1},
                          {"week", false, 7},
                          {"fortnight", false, 14},
                          {"month", true, 1},
                          {"year", true, 12}};

// The singular or its plural in s.
bool isOneOf(Text word, std::string_view singular)
{
    if (word.size() == singular.size() + 1 && (word.back() == U's' || word.back() == U'S'))
        word.remove_suffix(1);
    return isWord(word, singular);
}

bool startsWithLetter(Text word)
{
    const char32_t first = word.empty() ? 0 : word.front() | 0x20;
    return first >= U'a' && first <= U'z';
}

struct CountedUnit
{
    std::size_t words = 0; // 0: none
    Calendar calendar = Calendar::Gregorian;
    const Unit *unit = nullptr;
};

// "days", "hijri months", "gregorian year" from words[at] on.
CountedUnit unitAt(const Words &words, std::size_t at, Calendar calendar)
{
    std::size_t taken = 0;
    if (at < words.size()) {
        if (const std::optional<int> named = valueNamed(words[at], Calendars)) {
            calendar = Calendar(*named);
            taken = 1;
        }
    }
    if (at + taken >= words.size())
        return {};
    for (const Unit &unit : Units)
        if (isOneOf(words[at + taken], unit.name))
            return {taken + 1, calendar, &unit};
    return {};
}

// A count as people write it: 40, +40, -3.
std::optional<std::int64_t> countIn(Text word)
{
    const bool negative = !word.empty() && word.front() == U'-';
    if (!word.empty() && (word.front() == U'-' || word.front() == U'+'))
        word.remove_prefix(1);
    // Wide enough that a count it saturates is past every day a date may name.
    const std::optional<std::int64_t> count = calendar::wholeNumber<std::int64_t>(word);
    if (!count)
        return std::nullopt;
    return negative ? -*count : *count;
}

// The item at words[at], added to the move; how many words it took, 0 for none.
std::size_t takeItem(const Words &words, std::size_t at, Calendar calendar, DayMove &move)
{
    // A date in numbers, the commonest word by far, is passed by at once.
    if (!startsWithLetter(words[at]) && !countIn(words[at]))
        return 0;
    const std::optional<int> ordinal = valueNamed(words[at], Ordinals);
    const std::optional<std::chrono::weekday> weekday = weekdayNamed(words[at]);
    if (weekday || (ordinal && at + 1 < words.size() && weekdayNamed(words[at + 1]))) {
        if (move.weekday)
            return 0; // a second weekday: the date's reader refuses it
        move.weekday = weekday ? weekday : weekdayNamed(words[at + 1]);
        move.weekdayOrdinal = ordinal.value_or(0);
        move.bareWeekday = weekday.has_value();
        return weekday ? 1 : 2;
    }
    std::optional<std::int64_t> count
            = ordinal ? std::optional<std::int64_t>(*ordinal) : countIn(words[at]);
    const std::size_t counted = count ? 1 : 0; // a unit alone is one of it: "fortnight"
    const CountedUnit counting = unitAt(words, at + counted, calendar);
    if (counting.words == 0)
        return 0;
    count = count.value_or(1);
    std::size_t taken = counted + counting.words;
    const bool ago = at + taken < words.size() && isWord(words[at + taken], "ago");
    taken += ago ? 1 : 0;
    const std::int64_t amount = (ago ? -*count : *count) * counting.unit->size;
    (counting.unit->months ? move.months[std::size_t(counting.calendar)] : move.days) += amount;
    return taken;
}

// The items from words[at] on, added to the move; where they end.
std::size_t itemsFrom(const Words &words, std::size_t at, std::size_t last, Calendar calendar,
                      DayMove &move)
{
    while (at < last) {
        const std::size_t taken = takeItem(words, at, calendar, move);
        if (taken == 0)
            break;
        at += taken;
    }
    return at;
}

Words wordsOf(Text text)
{
    Words words;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(U' ', at), text.size());
        if (end > at)
            words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

} // namespace

bool isWord(Text text, std::string_view word)
{
    return text.size() == word.size()
            && std::equal(text.begin(), text.end(), word.begin(), [](char32_t c, char w) {
                   return (c >= U'A' && c <= U'Z' ? c + 32 : c) == char32_t(w);
               });
}

std::optional<int> valueNamed(Text word, std::span<const NamedValue> names)
{
    for (const NamedValue &named : names)
        if (isWord(word, named.name))
            return named.value;
    return std::nullopt;
}

DatePhrase phraseOf(Text text, Calendar calendar)
{
    // One word that is no word of letters cannot move a date: the column of dates -f reads.
    if (!startsWithLetter(text) && text.find(U' ') == Text::npos)
        return {.date = text, .move = {}, .moves = false};
    const Words words = wordsOf(text);
    DatePhrase phrase;
    std::size_t last = words.size();
    const std::size_t first = itemsFrom(words, 0, last, calendar, phrase.move); // of the date
    // After the date: the first word from which items run to the end.
    for (std::size_t at = first; at < last; ++at) {
        DayMove tried = phrase.move;
        if (itemsFrom(words, at, last, calendar, tried) == last) {
            phrase.move = tried;
            last = at;
            break;
        }
    }
    phrase.moves = first > 0 || last < words.size();
    if (first < last) {
        const Text::size_type begin = std::size_t(words[first].data() - text.data());
        const Text::size_type end
                = std::size_t(words[last - 1].data() - text.data()) + words[last - 1].size();
        phrase.date = text.substr(begin, end - begin);
    }
    return phrase;
}

} // namespace command_line
