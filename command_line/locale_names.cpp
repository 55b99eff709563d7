#include "locale_names.h"

#include "calendar/date_names.h"
#include "calendar/era_name.h"
#include "calendar/icu_text.h"

#include <unicode/dtfmtsym.h>
#include <unicode/listformatter.h>
#include <unicode/locdspnm.h>
#include <unicode/numberformatter.h>
#include <unicode/numsys.h>
#include <unicode/smpdtfmt.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace command_line {

namespace detail {

struct NameTable
{
    static constexpr std::size_t Widths = 4;
    std::array<std::array<std::string, 12>, Widths> months;
    std::array<std::array<std::string, 7>, Widths> weekdays; // from Sunday
    std::array<std::string, 2> dayPeriods;
    std::array<std::string, 2> eras; // of our time and before it; none where empty
};

// ICU's writers of a span, made once: a column of dates writes one a line.
struct ElapsedWords
{
    explicit ElapsedWords(const icu::Locale &language)
    {
        UErrorCode status = U_ZERO_ERROR;
        const icu::MeasureUnit units[] = {icu::MeasureUnit::getYear(), icu::MeasureUnit::getMonth(),
                                          icu::MeasureUnit::getDay()};
        for (std::size_t i = 0; i < counts.size(); ++i)
            counts[i] = icu::number::NumberFormatter::withLocale(language)
                                .unit(units[i])
                                .unitWidth(UNUM_UNIT_WIDTH_FULL_NAME)
                                .grouping(UNUM_GROUPING_OFF)
                                .adoptSymbols(
                                        icu::NumberingSystem::createInstanceByName("latn", status));
        list.adoptInstead(icu::ListFormatter::createInstance(language, ULISTFMT_TYPE_UNITS,
                                                             ULISTFMT_WIDTH_WIDE, status));
        const icu::LocalPointer<icu::LocaleDisplayNames> names(
                icu::LocaleDisplayNames::createInstance(language));
        for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri}) {
            icu::UnicodeString name;
            names->keyValueDisplayName("calendar",
                                       calendar == Calendar::Hijri ? "islamic" : "gregorian", name);
            calendarNames[std::size_t(calendar)] = calendar::detail::utf8(name);
        }
        if (U_FAILURE(status))
            throw std::runtime_error("ICU cannot write a span of time");
    }

    std::array<icu::number::LocalizedNumberFormatter, 3> counts; // years, months, days
    icu::LocalPointer<icu::ListFormatter> list;
    std::array<std::string, 2> calendarNames;
};

} // namespace detail

namespace {

using calendar::detail::utf8;

using detail::NameTable;

// CLDR's short and narrow Arabic weekdays (ICU 72), kept here so that a grid's head does
// not change with the ICU version. The window has no names of these widths.
constexpr std::array<const char *, 7> ArabicShortWeekdays
        = {"أحد", "إثنين", "ثلاثاء", "أربعاء", "خميس", "جمعة", "سبت"};
constexpr std::array<const char *, 7> ArabicNarrowWeekdays = {"ح", "ن", "ث", "ر", "خ", "ج", "س"};
// The window shows no time; these are what CLDR and glibc's ar_SA give.
constexpr std::array<const char *, 2> ArabicDayPeriods = {"ص", "م"};

icu::DateFormatSymbols::DtWidthType icuWidth(NameWidth width)
{
    switch (width) {
    case NameWidth::Wide:
        return icu::DateFormatSymbols::WIDE;
    case NameWidth::Abbreviated:
        return icu::DateFormatSymbols::ABBREVIATED;
    case NameWidth::Short:
        return icu::DateFormatSymbols::SHORT;
    case NameWidth::Narrow:
        break;
    }
    return icu::DateFormatSymbols::NARROW;
}

template<std::size_t N>
void copyNames(std::array<std::string, N> &names, const icu::UnicodeString *icuNames, int32_t count,
               int32_t first)
{
    for (std::size_t i = 0; i < N && int32_t(i) + first < count; ++i)
        names[i] = utf8(icuNames[int32_t(i) + first]);
}

// The calendar's formatter in the language, or in English where ICU would otherwise fall
// back on its default locale, which it takes from the environment (LANG): a user who asked for
// a language ICU lacks gets English, as date(1) gives under an unknown locale.
std::unique_ptr<icu::SimpleDateFormat> formatFor(const std::string &locale, Calendar calendar)
{
    const char *const keyword
            = calendar == Calendar::Hijri ? "@calendar=islamic-umalqura" : "@calendar=gregorian";
    for (const std::string &language : {locale, std::string("en")}) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Locale asked((language + keyword).c_str());
        auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"MMMM"), asked,
                                                              status);
        if (U_FAILURE(status))
            throw std::runtime_error(std::string("ICU: date symbols: ") + u_errorName(status));
        const icu::Locale found
                = format->getDateFormatSymbols()->getLocale(ULOC_VALID_LOCALE, status);
        if (std::string_view(found.getLanguage()) == asked.getLanguage())
            return format;
    }
    throw std::runtime_error("ICU: no English date symbols");
}

// The era of our time, and for the Gregorian calendar the one before it. ICU names an era
// before the Hijra only from version 78 on; the catalogue's words say it on every version.
std::array<std::string, 2> erasOf(const icu::SimpleDateFormat &format, Calendar calendar)
{
    const std::string ours = calendar::detail::eraOfOurTime(format);
    int32_t count = 0;
    const icu::UnicodeString *eras = format.getDateFormatSymbols()->getEras(count);
    if (calendar == Calendar::Gregorian && count == 2 && utf8(eras[1]) == ours)
        return {ours, utf8(eras[0])};
    return {ours, std::string()};
}

void readIcuTable(NameTable &table, const std::string &locale, Calendar calendar)
{
    const auto format = formatFor(locale, calendar);
    const icu::DateFormatSymbols *symbols = format->getDateFormatSymbols();
    using Symbols = icu::DateFormatSymbols;
    for (std::size_t w = 0; w < NameTable::Widths; ++w) {
        const auto width = NameWidth(w);
        int32_t count = 0;
        // ICU keeps no short or narrow months that a program would want.
        const NameWidth monthWidth = width == NameWidth::Wide ? width : NameWidth::Abbreviated;
        const icu::UnicodeString *months
                = symbols->getMonths(count, Symbols::FORMAT, icuWidth(monthWidth));
        copyNames(table.months[w], months, count, 0);
        const icu::UnicodeString *days
                = symbols->getWeekdays(count, Symbols::FORMAT, icuWidth(width));
        copyNames(table.weekdays[w], days, count, 1); // ICU counts from Sunday, 1
    }
    int32_t count = 0;
    const icu::UnicodeString *periods = symbols->getAmPmStrings(count);
    copyNames(table.dayPeriods, periods, count, 0);
    table.eras = erasOf(*format, calendar);
}

// ICU's table for Arabic, with the window's names of months and weekdays over it.
void readArabicTable(NameTable &table, Calendar named)
{
    readIcuTable(table, "ar", named);
    for (std::size_t w = 0; w < NameTable::Widths; ++w) {
        for (int month = 1; month <= 12; ++month)
            table.months[w][std::size_t(month - 1)] = calendar::monthName(named, month);
        for (unsigned day = 0; day < 7; ++day) {
            const auto width = NameWidth(w);
            table.weekdays[w][day] = width == NameWidth::Short ? ArabicShortWeekdays[day]
                    : width == NameWidth::Narrow               ? ArabicNarrowWeekdays[day]
                                                 : calendar::weekdayName(std::chrono::weekday{day});
        }
    }
    table.dayPeriods = {ArabicDayPeriods[0], ArabicDayPeriods[1]};
}

std::string scriptOf(const std::string &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale likely(locale.c_str());
    likely.addLikelySubtags(status);
    return U_SUCCESS(status) ? likely.getScript() : "";
}

std::string convertedCase(std::string_view text, const std::string &locale, bool upper)
{
    icu::UnicodeString unicode
            = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size())));
    const icu::Locale language(locale.c_str());
    return utf8(upper ? unicode.toUpper(language) : unicode.toLower(language));
}

} // namespace

LocaleNames::LocaleNames(std::string_view locale)
    : m_locale(locale.empty() ? "en" : locale),
      m_arabic(std::string_view(icu::Locale(m_locale.c_str()).getLanguage()) == "ar"),
      m_script(scriptOf(m_locale)), m_comma(m_script == "Arab" ? "،" : ",")
{
}

LocaleNames::~LocaleNames() = default;

const NameTable &LocaleNames::table(Calendar calendar) const
{
    const auto index = std::size_t(calendar == Calendar::Hijri);
    std::call_once(m_read[index], [&] {
        auto table = std::make_unique<NameTable>();
        if (m_arabic)
            readArabicTable(*table, calendar);
        else
            readIcuTable(*table, m_locale, calendar);
        m_tables[index] = std::move(table);
    });
    return *m_tables[index];
}

const std::string &LocaleNames::month(Calendar calendar, int month, NameWidth width) const
{
    return table(calendar).months[std::size_t(width)].at(std::size_t(month - 1));
}

const std::string &LocaleNames::weekday(std::chrono::weekday weekday, NameWidth width) const
{
    return table(Calendar::Gregorian).weekdays[std::size_t(width)][weekday.c_encoding()];
}

const std::string &LocaleNames::dayPeriod(bool afternoon) const
{
    return table(Calendar::Gregorian).dayPeriods[afternoon ? 1 : 0];
}

const std::string *LocaleNames::eraName(Calendar calendar, bool beforeTheEra) const
{
    const std::string &era = table(calendar).eras[beforeTheEra ? 1 : 0];
    return era.empty() ? nullptr : &era;
}

const detail::ElapsedWords &LocaleNames::elapsed() const
{
    std::call_once(m_elapsedRead, [&] {
        m_elapsed = std::make_unique<detail::ElapsedWords>(icu::Locale(m_locale.c_str()));
    });
    return *m_elapsed;
}

std::string LocaleNames::elapsedWords(std::int64_t years, std::int64_t months,
                                      std::int64_t days) const
{
    const detail::ElapsedWords &words = elapsed();
    UErrorCode status = U_ZERO_ERROR;
    std::vector<icu::UnicodeString> parts;
    // A sign would be lost where a language names small counts by words alone (Arabic
    // "يومان", two days), so a span's direction is said by its caller.
    const std::int64_t counts[] = {years, months, days};
    for (std::size_t i = 0; i < words.counts.size(); ++i)
        if (counts[i] != 0 || (i == 2 && parts.empty()))
            parts.push_back(
                    words.counts[i].formatInt(std::llabs(counts[i]), status).toString(status));
    icu::UnicodeString text;
    words.list->format(parts.data(), std::int32_t(parts.size()), text, status);
    if (U_FAILURE(status))
        throw std::runtime_error("ICU cannot write a span of time");
    return utf8(text);
}

const std::string &LocaleNames::calendarName(Calendar calendar) const
{
    return elapsed().calendarNames[std::size_t(calendar)];
}

std::string LocaleNames::upperCase(std::string_view text) const
{
    return convertedCase(text, m_locale, true);
}

std::string LocaleNames::lowerCase(std::string_view text) const
{
    return convertedCase(text, m_locale, false);
}

} // namespace command_line
