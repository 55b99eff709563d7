#include "date.h"

#include <ctime>

namespace calendar {

Date localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::chrono::year_month_day civil{std::chrono::year{local.tm_year + 1900},
                                            std::chrono::month{unsigned(local.tm_mon + 1)},
                                            std::chrono::day{unsigned(local.tm_mday)}};
    return Date::fromSysDays(std::chrono::sys_days{civil});
}

} // namespace calendar
