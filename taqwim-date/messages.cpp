#include "messages.h"

#include "calendar/numerals.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <filesystem>

namespace taqwim_date {

void useUsersLanguage()
{
    std::setlocale(LC_ALL, "");
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string catalogues = error
            ? std::string(TAQWIM_DATE_LOCALEDIR)
            : (program.parent_path() / TAQWIM_DATE_LOCALEDIR_FROM_BINDIR)
                      .lexically_normal()
                      .string();
    bindtextdomain("taqwim-date", catalogues.c_str());
    textdomain("taqwim-date");
}

std::string printed(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(std::size_t(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string quotedText(std::string_view userText)
{
    constexpr std::size_t MostCharacters = 60;
    std::string out = "'";
    for (std::size_t shown = 0; !userText.empty(); ++shown) {
        if (shown == MostCharacters) {
            out += "…";
            break;
        }
        const std::string_view rest = userText;
        const char32_t c = calendar::takeCodePoint(userText);
        const std::string_view bytes = rest.substr(0, rest.size() - userText.size());
        const bool broken = c == U'\uFFFD' && bytes.size() == 1;
        const bool reorders
                = (c >= U'\u202A' && c <= U'\u202E') || (c >= U'\u2066' && c <= U'\u2069');
        if (broken || c < 0x20 || c == 0x7F)
            out += printed("\\x%02X", unsigned(static_cast<unsigned char>(bytes.front())));
        else if (reorders || (c >= 0x80 && c < 0xA0))
            out += printed("\\u%04X", unsigned(c));
        else
            out += bytes;
    }
    return out + "'";
}

namespace {

const char *fieldProblem(const calendar::DateError &error)
{
    using calendar::DateField;
    const bool empty = error.fault() == calendar::DateFault::EmptyField;
    switch (error.field()) {
    case DateField::Day:
        return empty ? _("the day is missing") : _("the day is not a number");
    case DateField::Month:
        return empty ? _("the month is missing") : _("the month is not a number");
    case DateField::Year:
        break;
    }
    return empty ? _("the year is missing") : _("the year is not a number");
}

std::string why(const calendar::DateError &error)
{
    using calendar::DateFault;
    const calendar::CivilDate &typed = error.typed();
    switch (error.fault()) {
    case DateFault::Shape:
        return _("write it as YYYY-MM-DD or D/M/YYYY");
    case DateFault::EmptyField:
    case DateFault::NotANumber:
        return fieldProblem(error);
    case DateFault::YearOutOfRange:
        return _("years run from 1 to 9999");
    case DateFault::MonthOutOfRange:
        return _("months run from 1 to 12");
    case DateFault::DayBelowOne:
        return _("days start at 1");
    case DateFault::PastMonthEnd:
        return printed(typed.calendar == calendar::Calendar::Hijri
                               ? _("Hijri month %d of %d has only %d days")
                               : _("month %d of %d has only %d days"),
                       typed.month, typed.year,
                       calendar::lastDayOfMonth(typed.calendar, typed.year, typed.month));
    case DateFault::SkippedByReform:
        return _("5 to 14 October 1582 never existed: the Gregorian reform skipped them");
    case DateFault::OutOfRange:
        break;
    }
    return _("the date is beyond the years this program computes");
}

} // namespace

std::string dateProblem(std::string_view dateText, const calendar::DateError &error)
{
    return printed(_("invalid date %s: %s"), quotedText(dateText).c_str(), why(error).c_str());
}

void complain(const std::string &message)
{
    std::fprintf(stderr, "taqwim-date: %s\n", message.c_str());
}

} // namespace taqwim_date
