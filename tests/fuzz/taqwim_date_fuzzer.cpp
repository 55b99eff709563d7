// Feeds arbitrary bytes to taqwim-date's two readers: the first byte chooses the calendar
// and the Hijri shift, the bytes up to the first NUL are a DATE, the rest a FORMAT.
#include "conversion.h"
#include "output_format.h"

#include "command_line/program.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace taqwim_date;
using calendar::Calendar;

namespace {

const calendar::LocaleNames &englishNames()
{
    static const calendar::LocaleNames names("");
    return names;
}

command_line::Moment fixedNow()
{
    return command_line::momentAt(1'700'000'000);
}

void applyFormat(std::string_view formatText)
{
    try {
        const OutputFormat format(formatText);
        std::string out;
        const command_line::Moment moment = fixedNow();
        format.appendTo(out,
                        {calendar::civilDate(moment.day, Calendar::Hijri), moment.day,
                         moment.day.weekday(), moment},
                        englishNames(), Digits::Arabic);
    } catch (const command_line::UsageError &) {
    }
}

Conversion conversion(Calendar input, Calendar printed, int shift, const char *format)
{
    return Conversion({input, printed, shift, OutputFormat(format), Digits::Latin}, englishNames(),
                      fixedNow);
}

// A day read and printed with %F or -Ins, in either calendar, reads back as the same day.
void readBack(std::string_view dateText, Calendar input, int shift)
{
    command_line::Moment moment;
    try {
        moment = conversion(input, input, shift, "%F").read(dateText);
    } catch (const command_line::DateTextError &) {
        return;
    }
    for (const Calendar printed : {Calendar::Gregorian, Calendar::Hijri}) {
        for (const char *format : {"%F", "%FT%H:%M:%S,%N%:z"}) {
            std::string text;
            conversion(input, printed, shift, format).write(text, moment);
            if (conversion(printed, printed, shift, "%F").read(text).day != moment.day)
                std::abort();
        }
    }
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
