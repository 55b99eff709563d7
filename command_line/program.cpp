#include "program.h"

#include "bidi_text.h"
#include "locale.h"
#include "scoped_environment.h"

#include "calendar/numerals.h"

#include <unicode/locid.h>

#include <algorithm>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>

namespace command_line {
namespace {

const char *programName = "";
bool messagesLaidOut = false;

void writeMessage(std::string line)
{
    if (messagesLaidOut && hasRightToLeft(line))
        line = laidOutLine(line);
    line += '\n';
    std::fputs(line.c_str(), stderr);
}
constexpr const char *DateWordsDomain = "taqwim-dates";

// The "Language:" of the catalogue's header, which gettext hands back for the empty text;
// without a catalogue the messages are the English ones.
std::string catalogueLanguage()
{
    constexpr const char *Header = ""; // a variable, so that xgettext does not take it
    const std::string_view header = gettext(Header);
    constexpr std::string_view Field = "Language: ";
    const std::size_t start = header.find(Field);
    if (start == std::string_view::npos)
        return {};
    const std::string_view rest = header.substr(start + Field.size());
    return std::string(rest.substr(0, rest.find('\n')));
}

bool reordersText(char32_t c)
{
    return (c >= U'\u202A' && c <= U'\u202E') || (c >= U'\u2066' && c <= U'\u2069');
}

} // namespace

void startProgram(const ProgramIdentity &program)
{
    programName = program.name;
    // Where one category names a locale the machine lacks, the others still take theirs.
    if (!std::setlocale(LC_ALL, ""))
        for (const int category :
             {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_COLLATE, LC_MONETARY, LC_MESSAGES})
            std::setlocale(category, "");
    std::error_code error;
    const std::filesystem::path running = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string catalogues = error
            ? std::string(program.localeDir)
            : (running.parent_path() / program.localeDirFromBinDir).lexically_normal().string();
    for (const char *domain : {program.domain, DateWordsDomain}) {
        bindtextdomain(domain, catalogues.c_str());
        bind_textdomain_codeset(domain, "UTF-8");
    }
    textdomain(program.domain);
}

const char *timeWord(const char *english)
{
    // Asked once a word in each time locale: a column of dates asks for the same words on
    // every line.
    static std::string knownLocale;
    static std::unordered_map<std::string_view, const char *> known;
    if (const char *const locale = std::setlocale(LC_TIME, nullptr); knownLocale != locale) {
        knownLocale = locale;
        known.clear();
    }
    if (const auto found = known.find(english); found != known.end())
        return found->second;
    const char *word = nullptr;
    {
        // LANGUAGE orders the languages of messages, and gettext would apply it to every
        // category: while a date's word is looked up, LC_TIME alone names the language.
        const ScopedEnvironment language("LANGUAGE", nullptr);
        word = dcgettext(DateWordsDomain, english, LC_TIME);
    }
    if (word == english) {
        const std::string language = icu::Locale(timeLocale().c_str()).getLanguage();
        word = language.empty() || language == "en" ? english : nullptr;
    }
    return known.emplace(english, word).first->second;
}

std::string formatted(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(std::size_t(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

bool messagesReadRightToLeft()
{
    static const bool rightToLeft = [] {
        const std::string language = catalogueLanguage();
        return !language.empty() && icu::Locale(language.c_str()).isRightToLeft();
    }();
    return rightToLeft;
}

std::string quotedText(std::string_view userText)
{
    return quotedText(userText, messagesReadRightToLeft());
}

std::string quotedText(std::string_view userText, bool rightToLeft)
{
    constexpr std::size_t MostCharacters = 60;
    std::string out = rightToLeft ? "'\u2068" : "'";
    for (std::size_t shown = 0; !userText.empty(); ++shown) {
        if (shown == MostCharacters) {
            out += "…";
            break;
        }
        const std::string_view rest = userText;
        const char32_t c = calendar::takeCodePoint(userText);
        const std::string_view bytes = rest.substr(0, rest.size() - userText.size());
        const bool broken = c == U'\uFFFD' && bytes.size() == 1;
        if (broken || c < 0x20 || c == 0x7F)
            out += formatted("\\x%02X", unsigned(static_cast<unsigned char>(bytes.front())));
        else if (reordersText(c) || (c >= 0x80 && c < 0xA0))
            out += formatted("\\u%04X", unsigned(c));
        else
            out += bytes;
    }
    return out + (rightToLeft ? "\u2069'" : "'");
}

void complain(const std::string &message)
{
    writeMessage(std::string(programName) + ": " + message);
}

void layOutMessages()
{
    messagesLaidOut = true;
}

int refuseUsage(const UsageError &error)
{
    complain(error.what());
    std::string help = formatted(_("Try '%s --help' for more information.\n"), programName);
    help.pop_back();
    writeMessage(help);
    return 2;
}

void showVersion(const char *version)
{
    std::printf("%s (Taqwim) %s\n", programName, version);
    std::fputs(_("Copyright (C) 2026 The Taqwim team.\n"
                 "License MIT: <https://opensource.org/licenses/MIT>.\n"
                 "This is free software: you are free to change and redistribute it.\n"
                 "There is NO WARRANTY, to the extent permitted by law.\n"),
               stdout);
}

} // namespace command_line
