// Feeds arbitrary bytes to taqwim-date's two readers: the first byte chooses the calendar
// (of the DATE, and the one the FORMAT prints), the Hijri reckoning and its shift, the bytes
// up to the first NUL are a DATE, the rest a FORMAT.
#include "conversion.h"
#include "output_format.h"

#include "command_line/program.h"
#include "command_line/reckoning.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace taqwim_date;
using calendar::Calendar;

namespace {

const command_line::LocaleNames &englishNames()
{
    static const command_line::LocaleNames names("");
    return names;
}

// Each reckoning with each shift, -2 to 2.
const command_line::Reckoning &reckoningOf(calendar::HijriVariant variant, int shift)
{
    static const auto reckonings = [] {
        std::vector<std::unique_ptr<command_line::Reckoning>> all;
        for (int variant = 0; variant < 3; ++variant) {
            for (int shift = -2; shift <= 2; ++shift) {
                command_line::Keeping keeping;
                keeping.variant = calendar::HijriVariant(variant);
                keeping.hijriShift = shift;
                all.push_back(std::make_unique<command_line::Reckoning>(keeping));
            }
        }
        return all;
    }();
    return *reckonings.at(std::size_t(int(variant) * 5 + shift + 2));
}

command_line::Moment fixedNow()
{
    return command_line::momentAt(1'700'000'000);
}

void applyFormat(std::string_view formatText, Calendar printed)
{
    try {
        const OutputFormat format(formatText, printed);
        std::string out;
        const command_line::Moment moment = fixedNow();
        format.appendTo(out,
                        {calendar::civilDate(moment.day, printed), moment.day, moment.day.weekday(),
                         moment, reckoningOf({}, 0)},
                        englishNames(), Digits::Arabic);
    } catch (const command_line::UsageError &) {
    }
}

Conversion conversion(Calendar input, Calendar printed, const command_line::Reckoning &reckoning,
                      const char *format)
{
    return Conversion({input, printed, OutputFormat(format, printed), Digits::Latin,
                       command_line::Layout::Logical},
                      englishNames(), reckoning, fixedNow);
}

// A day read and printed with %F or -Ins, in either calendar, reads back as the same day.
void readBack(std::string_view dateText, Calendar input, const command_line::Reckoning &shift)
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
    const auto variant = calendar::HijriVariant(data[0] / 16 % 3);
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::size_t end = rest.find('\0');
    readBack(rest.substr(0, end), input, reckoningOf(variant, shift));
    if (end != std::string_view::npos)
        applyFormat(rest.substr(end + 1), input);
    return 0;
}
