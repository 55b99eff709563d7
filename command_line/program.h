#pragma once

#include <libintl.h>

#include <cstdlib>
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
    const char *version; // what --version shows
};

// Takes the user's locale (setlocale(LC_ALL, "")), the program's catalogue and that of the
// words dates are written with.
void startProgram(const ProgramIdentity &program);

// A word a date line is written with (the words between its dates, the era before the
// Hijra), from a catalogue of its own that follows LC_TIME, as the names of months and
// weekdays do, where messages follow LC_MESSAGES. Nothing where the time locale's language
// has no translation (English is the catalogue's own), for a form without words to take
// its place: no line is half in one language and half in another.
const char *timeWord(const char *english);

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
// From now on, messages laid out for the terminal standard error is, which does not reorder
// text: the one the output is laid out for.
void layOutMessages();

// The usage error's message and the line pointing to --help; returns the exit status, 2.
int refuseUsage(const UsageError &error);

// What --version shows: "PROGRAM (Taqwim) VERSION", the copyright and the licence.
void showVersion(const char *version);

// What a command line asks for: the program's own work, or its help or its version.
enum class Action { Show, Help, Version };

// What sets one program apart from the others in its main().
template<typename Options> struct ProgramParts
{
    Options (*readOptions)(int argc, char *argv[]); // throws UsageError
    void (*showHelp)();
    int (*show)(const Options &options); // the program's work; returns the exit status
    bool (*outputWritten)(); // whether the help or the version reached standard output
};

// A program's main(): the locale and the catalogue taken, the command line read, and the
// help, the version or the program's work; a mistake in the command line is told, with
// exit status 2.
template<typename Options>
int runProgram(const ProgramIdentity &program, int argc, char *argv[],
               const ProgramParts<Options> &parts)
{
    startProgram(program);
    try {
        const Options options = parts.readOptions(argc, argv);
        switch (options.action) {
        case Action::Help:
            parts.showHelp();
            break;
        case Action::Version:
            showVersion(program.version);
            break;
        case Action::Show:
            return parts.show(options);
        }
        return parts.outputWritten() ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const UsageError &error) {
        return refuseUsage(error);
    }
}

} // namespace command_line
