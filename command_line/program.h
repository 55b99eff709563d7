#pragma once

#include <libintl.h>

#include <stdexcept>
#include <string>
#include <string_view>

// What every command-line program of the package does alike: its messages in the user's
// language through gettext (LC_MESSAGES), each a line "PROGRAM: message" on standard error,
// and the user's own text in them quoted, so that it can neither reach the terminal as
// control codes nor be reordered by a right-to-left message around it.
//
// The messages of this library are gathered into each program's own catalogue; _() looks
// them up in the domain the program started with.
#define _(text) gettext(text)

namespace command_line {

// A mistake in the command line itself: exit status 2, and a line that points to --help.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct ProgramIdentity
{
    const char *name; // "taqwim-date": the start of every message
    const char *domain; // the gettext domain of its catalogue
    const char *localeDir; // where the catalogues are installed
    // The same, relative to the folder the program runs from, so that a build tree finds its
    // own catalogues: "../share/locale".
    const char *localeDirFromBinDir;
};

// Takes the user's locale (setlocale(LC_ALL, "")) and the program's catalogue.
void startProgram(const ProgramIdentity &program);

// printf-style, for the formats gettext hands back.
[[gnu::format(printf, 1, 2)]] std::string formatted(const char *format, ...);

// Whether the catalogue the messages come from is of a language written right to left.
bool messagesReadRightToLeft();

// Text a user gave, made safe to echo: control characters, broken UTF-8 and the marks that
// reorder a line come out as escapes, and past 60 characters it is cut short. In a
// right-to-left message the text is also isolated (U+2068 ... U+2069), so that it reads as
// it was typed.
std::string quotedText(std::string_view userText);
std::string quotedText(std::string_view userText, bool rightToLeft);

// "PROGRAM: MESSAGE" on standard error.
void complain(const std::string &message);

// The usage error's message and the line pointing to --help; returns the exit status, 2.
int refuseUsage(const UsageError &error);

// What --version shows: "PROGRAM (Taqwim) VERSION", the copyright and the licence.
void showVersion(const char *version);

} // namespace command_line
