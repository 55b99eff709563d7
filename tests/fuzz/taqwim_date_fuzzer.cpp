// Feeds arbitrary bytes to taqwim-date's two readers: the first byte chooses the calendar
// and the Hijri shift, the bytes up to the first NUL are a DATE, the rest a FORMAT.
#include "conversion.h"
#include "messages.h"
#include "output_format.h"

#include "calendar/date_error.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace taqwim_date;
using calendar::Calendar;

namespace {

void applyFormat(std::string_view formatText)
{
    try {
        const OutputFormat format(formatText);
        std::string out;
        format.appendTo(out, {Calendar::Hijri, 1445, 9, 1}, std::chrono::Monday, Digits::Arabic);
    } catch (const UsageError &) {
    }
}

Conversion isoConversion(Calendar input, int shift)
{
    const Calendar other = input == Calendar::Hijri ? Calendar::Gregorian : Calendar::Hijri;
    return Conversion({input, other, shift, OutputFormat("%Y-%m-%d"), Digits::Latin});
}

// A day read, printed in the other calendar and read from there again is the same day.
void readBack(std::string_view dateText, Calendar input, int shift)
{
    calendar::Date date = calendar::Date::fromDays(0);
    try {
        date = isoConversion(input, shift).read(dateText);
    } catch (const calendar::DateError &) {
        return;
    }
    std::string printed;
    isoConversion(input, shift).write(printed, date);
    const long year = std::strtol(printed.c_str(), nullptr, 10);
    if (year < 1 || year > 9999)
        return; // beyond what a DATE may name
    const Calendar other = input == Calendar::Hijri ? Calendar::Gregorian : Calendar::Hijri;
    if (isoConversion(other, shift).read(printed) != date)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Calendar input = data[0] & 8 ? Calendar::Hijri : Calendar::Gregorian;
    const int shift = data[0] % 5 - 2;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::size_t end = rest.find('\0');
    readBack(rest.substr(0, end), input, shift);
    if (end != std::string_view::npos)
        applyFormat(rest.substr(end + 1));
    return 0;
}
