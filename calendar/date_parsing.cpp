#include "calendar_service.h"
#include "calendar_system.h"
#include "numerals.h"

#include <array>

namespace calendar {
namespace {

// Large enough to be out of every range, small enough never to overflow.
constexpr int Saturated = 1'000'000;

// Blanks the user may leave around a number: space, tab and the no-break space.
std::string_view trimmed(std::string_view text)
{
    static constexpr std::array<std::string_view, 3> blanks = {" ", "\t", "\u00A0"};
    for (bool trimming = true; trimming;) {
        trimming = false;
        for (const std::string_view blank : blanks) {
            for (; text.starts_with(blank); trimming = true)
                text.remove_prefix(blank.size());
            for (; text.ends_with(blank); trimming = true)
                text.remove_suffix(blank.size());
        }
    }
    return text;
}

int readNumber(std::string_view text, const char *field)
{
    text = trimmed(text);
    if (text.empty())
        throw DateError(std::string("خانة ") + field + " فارغة.");
    int value = 0;
    while (!text.empty()) {
        const std::optional<int> digit = digitValue(takeCodePoint(text));
        if (!digit)
            throw DateError(std::string("خانة ") + field + " لا تحتوي رقماً صحيحاً.");
        value = std::min(value * 10 + *digit, Saturated);
    }
    return value;
}

constexpr std::array<const char *, 3> fieldNames = {"اليوم", "الشهر", "السنة"};

std::array<int, 3> readParts(std::string_view text)
{
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < fieldNames.size(); ++i) {
        const std::size_t slash = text.find('/');
        const bool last = i + 1 == fieldNames.size();
        if (last != (slash == std::string_view::npos))
            throw DateError("اكتب التاريخ على صورة يوم/شهر/سنة، مثل 8/12/2026.");
        values[i] = readNumber(text.substr(0, slash), fieldNames[i]);
        if (!last)
            text.remove_prefix(slash + 1);
    }
    return values;
}

std::string monthTooShort(const detail::CalendarSystem &system, int year, int month, int length)
{
    return "شهر " + system.monthName(month) + " سنة " + system.yearText(year) + " فيه "
            + std::to_string(length) + " يوماً فقط.";
}

} // namespace

void CheckDateField(std::string_view utf8Text, DateField field)
{
    const std::string text = withoutInvisibleMarks(utf8Text);
    if (!trimmed(text).empty())
        readNumber(text, fieldNames[static_cast<std::size_t>(field)]);
}

Date ParseDate(std::string_view utf8Text)
{
    const auto [day, month, year] = readParts(withoutInvisibleMarks(utf8Text));
    if (year < 1 || year > 9999)
        throw DateError("السنة يجب أن تكون من 1 إلى 9999.");
    if (month < 1 || month > 12)
        throw DateError("الشهر يجب أن يكون من 1 إلى 12.");
    if (day < 1)
        throw DateError("اليوم يجب أن يكون 1 على الأقل.");

    const detail::CalendarSystem &system = detail::system(CurrentCalendar());
    if (const std::optional<Date> date = system.dateOf({year, month, day}))
        return *date;
    const int length = system.monthLength(year, month);
    if (day > length)
        throw DateError(monthTooShort(system, year, month, length));
    // The only days that fit their month and still do not exist.
    throw DateError("الأيام من 5 إلى 14 " + system.monthName(10) + " " + system.yearText(1582)
                    + " لم توجد قط: حذفها الانتقال إلى التقويم الغريغوري.");
}

} // namespace calendar
