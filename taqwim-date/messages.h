#pragma once

#include "calendar/date_error.h"

#include <libintl.h>

#include <stdexcept>
#include <string>
#include <string_view>

// The command line's words, in the user's language through gettext.
#define _(text) gettext(text)

namespace taqwim_date {

// A mistake in the command line itself: exit status 2.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Finds the program's catalogues next to where it runs from, installed or in a build tree.
void useUsersLanguage();

// printf-style, for the formats gettext hands back.
[[gnu::format(printf, 1, 2)]] std::string printed(const char *format, ...);

// Text a user gave, made safe to echo: control characters, broken UTF-8 and the marks
// that reorder a line come out as escapes, and a long text is cut short.
std::string quotedText(std::string_view userText);

// Why the text names no day, in the user's language.
std::string dateProblem(std::string_view dateText, const calendar::DateError &error);

// "taqwim-date: MESSAGE" on standard error.
void complain(const std::string &message);

} // namespace taqwim_date
