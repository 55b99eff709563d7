#include "locale.h"

#include <cstdlib>

namespace command_line {

std::string icuLocaleOf(std::string_view posixLocale)
{
    const std::string_view name = posixLocale.substr(0, posixLocale.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return {};
    return std::string(name);
}

std::string timeLocale()
{
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"})
        if (const char *value = std::getenv(variable); value && *value)
            return icuLocaleOf(value);
    return {};
}

} // namespace command_line
