#pragma once

#include "command_line/scoped_environment.h"

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <string>

using command_line::ScopedEnvironment;

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
