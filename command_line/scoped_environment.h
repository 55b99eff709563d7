#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace command_line {

// Sets an environment variable (or, with nullptr, removes it) while it lives, and puts back
// what was there; for TZ, the time zone's rules too.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedEnvironment() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    void set(const char *value)
    {
        if (value)
            ::setenv(m_name.c_str(), value, 1);
        else
            ::unsetenv(m_name.c_str());
        if (m_name == "TZ")
            ::tzset();
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace command_line
