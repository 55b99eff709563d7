#pragma once

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Sets an environment variable (or, with nullptr, removes it) while it lives, and puts back
// what was there, the time zone's rules included.
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
        ::tzset();
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

// The C library's time locale, and the catalogue of the words dates are written with, as a
// program started under that locale has them, while it lives. The tests' LOCPATH holds the
// locales, and TAQWIM_TEST_LOCALE_DIR the catalogues the build made.
class ScopedTimeLocale
{
public:
    explicit ScopedTimeLocale(const char *locale) : m_old(std::setlocale(LC_TIME, nullptr))
    {
        static const bool bound = [] {
            bindtextdomain("taqwim-dates", TAQWIM_TEST_LOCALE_DIR);
            return bind_textdomain_codeset("taqwim-dates", "UTF-8") != nullptr;
        }();
        EXPECT_TRUE(bound);
        EXPECT_NE(std::setlocale(LC_TIME, locale), nullptr) << locale << " is not in LOCPATH";
    }
    ~ScopedTimeLocale() { std::setlocale(LC_TIME, m_old.c_str()); }
    ScopedTimeLocale(const ScopedTimeLocale &) = delete;
    ScopedTimeLocale &operator=(const ScopedTimeLocale &) = delete;

private:
    std::string m_old;
};
