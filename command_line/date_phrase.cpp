#include "date_phrase.h"

#include "calendar/numerals.h"

#include <algorithm>
#include <array>

namespace command_line {
namespace {

using calendar::Calendar;
using Text = std::u32string_view;
using Words = std::vector<Text>;

std::optional<std::chrono::weekday> weekdayNamed(Text word)
{
    if (!word.empty() && word.back() == U',')
        word.remove_suffix(1);
    static constexpr std::array<std::string_view, 7> Names
            = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};
    for (unsigned day = 0; day < Names.size(); ++day) {
        const std::string_view name = Names[day];
        // The whole name or its first three letters, and the abbreviations date(1) takes.
        if (isWord(word, name) || isWord(word, name.substr(0, 3))
            || (day == 2 && isWord(word, "tues")) || (day == 3 && isWord(word, "wednes"))
            || (day == 4 && (isWord(word, "thur") || isWord(word, "thurs"))))
            return std::chrono::weekday{day};
    }
    return std::nullopt;
}

struct Unit
{
    std::size_t words = 0; // 0: none
    Calendar calendar = Calendar::Gregorian;
    bool months = false;
    std::int64_t size = 1; // in days, or in months
};

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

// "days", "hijri months", "gregorian year" from words[at] on.
Unit unitAt(const Words &words, std::size_t at, Calendar calendar)
{
    Unit unit;
    if (at < words.size() && (isWord(words[at], "hijri") || isWord(words[at], "gregorian"))) {
        unit.calendar = isWord(words[at], "hijri") ? Calendar::Hijri : Calendar::Gregorian;
        calendar = unit.calendar;
        ++unit.words;
    }
    if (at + unit.words >= words.size())
        return {};
    const Text word = words[at + unit.words];
    ++unit.words;
    unit.calendar = calendar;
    if (isOneOf(word, "day"))
        return unit;
    if (isOneOf(word, "week")) {
        unit.size = 7;
        return unit;
    }
    if (isOneOf(word, "fortnight")) {
        unit.size = 14;
        return unit;
    }
    unit.months = true;
    if (isOneOf(word, "month"))
        return unit;
    if (isOneOf(word, "year")) {
        unit.size = 12;
        return unit;
    }
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

std::optional<int> ordinalIn(Text word)
{
    if (isWord(word, "next"))
        return 1;
    if (isWord(word, "last"))
        return -1;
    if (isWord(word, "this"))
        return 0;
    return std::nullopt;
}

// The item at words[at], added to the move; how many words it took, 0 for none.
std::size_t takeItem(const Words &words, std::size_t at, Calendar calendar, DayMove &move)
{
    // A date in numbers, the commonest word by far, is passed by at once.
    if (!startsWithLetter(words[at]) && !countIn(words[at]))
        return 0;
    const std::optional<int> ordinal = ordinalIn(words[at]);
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
    const Unit unit = unitAt(words, at + counted, calendar);
    if (unit.words == 0)
        return 0;
    count = count.value_or(1);
    std::size_t taken = counted + unit.words;
    const bool ago = at + taken < words.size() && isWord(words[at + taken], "ago");
    taken += ago ? 1 : 0;
    const std::int64_t amount = (ago ? -*count : *count) * unit.size;
    (unit.months ? move.months[std::size_t(unit.calendar)] : move.days) += amount;
    return taken;
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

DatePhrase phraseOf(Text text, Calendar calendar)
{
    // One word that is no word of letters cannot move a date: the column of dates -f reads.
    if (!startsWithLetter(text) && text.find(U' ') == Text::npos)
        return {.date = text};
    const Words words = wordsOf(text);
    DatePhrase phrase;
    std::size_t first = 0, last = words.size(); // of the date itself
    while (first < last) {
        const std::size_t taken = takeItem(words, first, calendar, phrase.move);
        if (taken == 0)
            break;
        first += taken;
        phrase.moves = true;
    }
    // After the date: each item found from the date's end onwards.
    for (std::size_t at = first; at < last;) {
        DayMove tried = phrase.move;
        std::size_t end = at;
        while (end < last) {
            const std::size_t taken = takeItem(words, end, calendar, tried);
            if (taken == 0)
                break;
            end += taken;
        }
        if (end == last && end > at) {
            phrase.move = tried;
            phrase.moves = true;
            last = at;
            break;
        }
        ++at;
    }
    if (first < last) {
        const Text::size_type begin = std::size_t(words[first].data() - text.data());
        const Text::size_type end
                = std::size_t(words[last - 1].data() - text.data()) + words[last - 1].size();
        phrase.date = text.substr(begin, end - begin);
    }
    return phrase;
}

} // namespace command_line
