#include "date_error_text.h"

#include "date_words.h"

#include "calendar/date_names.h"

#include <string>

using namespace calendar;

namespace {

const char *fieldName(DateField field)
{
    switch (field) {
    case DateField::Day:
        return "اليوم";
    case DateField::Month:
        return "الشهر";
    case DateField::Year:
        return "السنة";
    }
    return "";
}

std::string sentence(const EntryError &error)
{
    switch (error.fault()) {
    case EntryFault::Shape:
        return "اكتب التاريخ على صورة يوم/شهر/سنة، مثل 8/12/2026.";
    case EntryFault::EmptyField:
        return std::string("خانة ") + fieldName(error.field()) + " فارغة.";
    case EntryFault::NotANumber:
        break;
    }
    return std::string("خانة ") + fieldName(error.field()) + " لا تحتوي رقماً صحيحاً.";
}

std::string sentence(const DateError &error)
{
    const CivilDate &typed = error.written();
    switch (error.fault()) {
    case DateFault::YearOutOfRange:
        return "السنة يجب أن تكون من " + std::to_string(FirstYear) + " إلى "
                + std::to_string(LastYear) + ".";
    case DateFault::MonthOutOfRange:
        return "الشهر يجب أن يكون من 1 إلى 12.";
    case DateFault::DayBelowOne:
        return "اليوم يجب أن يكون 1 على الأقل.";
    case DateFault::PastMonthEnd:
        return "شهر " + monthName(typed.calendar, typed.month) + " سنة "
                + yearText(typed.calendar, typed.year) + " فيه "
                + std::to_string(lastDayOfMonth(typed.calendar, typed.year, typed.month))
                + " يوماً فقط.";
    case DateFault::SkippedByReform:
        return "الأيام من 5 إلى 14 " + monthName(Calendar::Gregorian, 10) + " "
                + yearText(Calendar::Gregorian, 1582)
                + " لم توجد قط: حذفها الانتقال إلى التقويم الغريغوري.";
    case DateFault::OutOfRange:
        break;
    }
    return "هذا التاريخ خارج المدى الذي يحسبه البرنامج.";
}

} // namespace

QString dateErrorText(const EntryError &error)
{
    return QString::fromStdString(sentence(error));
}

QString dateErrorText(const DateError &error)
{
    return QString::fromStdString(sentence(error));
}
