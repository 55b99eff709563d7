// Feeds arbitrary bytes to the two readers of typed text: as UTF-8 to ParseDate under both
// calendars, and as UTF-8 and as raw UTF-16 to TextValue.
#include "app/calendar_service.h"
#include "text_value.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace calendar;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const int calendar : {Gregorian, Hijri}) {
        CalendarScope scope(calendar);
        try {
            const Date date = ParseDate(text);
            const std::string again = std::to_string(DayOfMonth(date)) + "/"
                    + std::to_string(MonthOfYear(date)) + "/" + std::to_string(YearOf(date));
            if (ParseDate(again) != date)
                std::abort(); // a day that does not read back
        } catch (const EntryError &) {
        } catch (const DateError &) {
        }
    }
    if (CurrentCalendar() != Gregorian)
        std::abort();
    TextValue(QString::fromUtf8(text.data(), qsizetype(size)));
    TextValue(QStringView(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2)));
    return 0;
}
