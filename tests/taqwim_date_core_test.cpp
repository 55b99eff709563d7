// taqwim-date's own readers and writers: its options, its formats (against GNU date for the
// Gregorian side), its line, and a column of dates.
#include "batch.h"
#include "conversion.h"
#include "options.h"
#include "output_format.h"

#include "command_line/bidi_text.h"
#include "command_line/program.h"

#include "scoped_environment.h"

#include <gtest/gtest.h>
#include <unicode/ubidi.h>
#include <unicode/unistr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace taqwim_date;
using calendar::Calendar;
using calendar::CivilDate;
using command_line::Moment;
using command_line::Output;

namespace {

const command_line::LocaleNames &english()
{
    static const command_line::LocaleNames names("");
    return names;
}

const command_line::Reckoning &ummAlQura()
{
    static const command_line::Reckoning reckoning;
    return reckoning;
}

// The text as a display that applies the bidirectional algorithm shows it, from the left.
std::string shownInParagraph(const std::string &text, UBiDiLevel paragraph)
{
    const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUBiDiPointer bidi(ubidi_open());
    ubidi_setPara(bidi.getAlias(), utf16.getBuffer(), utf16.length(), paragraph, nullptr, &status);
    UChar visual[256];
    const int32_t length = ubidi_writeReordered(bidi.getAlias(), visual, 256,
                                                UBIDI_REMOVE_BIDI_CONTROLS, &status);
    EXPECT_TRUE(U_SUCCESS(status));
    std::string out;
    return icu::UnicodeString(visual, length).toUTF8String(out);
}

std::string appliedFormat(std::string_view format, const Moment &moment,
                          Calendar calendar = Calendar::Gregorian,
                          const command_line::LocaleNames &names = english(),
                          Digits digits = Digits::Latin)
{
    std::string out;
    OutputFormat(format, calendar)
            .appendTo(out,
                      {calendar::civilDate(moment.day, calendar), moment.day, moment.day.weekday(),
                       moment, ummAlQura()},
                      names, digits);
    return out;
}

// GNU date's own answer, in the zone and locale given, at an instant whole seconds and
// nanoseconds after 1970 (whole seconds before it: date(1) reads @-1.25 as -2 + .75).
std::string gnuDate(const char *zone, std::int64_t instant, std::chrono::nanoseconds fraction,
                    const std::string &format, const char *locale = "C")
{
    EXPECT_TRUE(instant >= 0 || fraction.count() == 0) << instant;
    const ScopedEnvironment time("TZ", zone), all("LC_ALL", locale);
    std::string nanoseconds = std::to_string(1'000'000'000 + fraction.count());
    nanoseconds[0] = '.';
    const std::string command
            = "date -d @" + std::to_string(instant) + nanoseconds + " '+" + format + "'";
    std::FILE *pipe = ::popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> block;
    for (std::size_t length; (length = std::fread(block.data(), 1, block.size(), pipe)) > 0;)
        out.append(block.data(), length);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return out.substr(0, out.size() - 1); // its line end
}

std::vector<std::string> split(const std::string &answers)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0, end; (end = answers.find('\x1f', start)) != std::string::npos;
         start = end + 1)
        parts.push_back(answers.substr(start, end - start));
    return parts;
}

TEST(OutputFormat, WidthsFlagsAndTimesAreGnuDatesOnTheGregorianSide)
{
    const std::vector<std::string> formats = {
            "%d %e %m %Y %F %j %u %w %y %C %a %A %b %B %h",
            "%H %I %k %l %M %S %p %P %T %R %r %s %z %:z %::z %:::z %Z %N",
            "%10d|%-10d|%_10d|%010A|%10A|%-10A|%^A|%#A|%^10b|%#10a|%^#a|%1d|%0d",
            "%-0d|%0-d|%_0d|%^-10A|%3m|%_3m|%5j|%-5e|%_d|%0e|%3y|%-y|%3C|%10Y|%_10Y",
            "%#p|%^p|%10p|%_5p|%05p|%^P|%#P|%#Z|%^Z|%05Z|%I%p|%10r|%-H|%_I|%-M",
            "%_z|%-z|%6z|%_6z|%10z|%_5z|%_:z|%-:::z|%10:z|%_::z|%10s|%_15s|%015s",
            "%12F|%-12F|%_12F|%012F|%10T|%_10T|%012T|%-T|%^T|%12R|%10n|%5t",
            "%N|%3N|%10N|%-3N|%_3N|%_N|%-9N|%-N|%_12N|%012N|%-12N|%1N|%^3N|%#5N|%0N|%_0N",
            "%U|%W|%V|%G|%g|%q|%-U|%_W|%1V|%-3V|%_3V|%06G|%_6G|%-G|%-g|%3g|%_3q|%02q",
            "%c|%x|%X|%D|%_c|%-c|%0c|%^c|%#c|%30c|%-30c|%_30c|%030x|%12X|%-x|%_X",
            "%-D|%_D|%^10D|%010D|%-10D",
    };
    std::string all; // one GNU date for all of them, the answers apart by a separator
    for (const std::string &format : formats)
        all += format + "\x1f";
    // With fractions that fill the nine digits of %N or not; at the turns of years, where the
    // ISO week's year is not the date's (2021-01-01 is in week 53 of 2020, 2024-12-30 in week
    // 1 of 2025), and a year that begins on a Sunday (2023).
    const struct
    {
        std::int64_t seconds;
        std::chrono::nanoseconds fraction;
    } instants[] = {{1'709'967'903, std::chrono::nanoseconds{120'000'000}},
                    {1'710'000'000, std::chrono::nanoseconds{123'456'789}},
                    {-1, {}},
                    {951'782'400, std::chrono::nanoseconds{5}},
                    {1'609'502'400, std::chrono::nanoseconds{100}},
                    {1'735'560'000, std::chrono::nanoseconds{999'999'999}},
                    {1'672'574'400, std::chrono::nanoseconds{10'000}}};
    for (const char *zone : {"UTC0", "<+0530>-5:30", "<-0330>3:30", "CET-1CEST,M3.5.0,M10.5.0/3"}) {
        for (const auto &instant : instants) {
            const ScopedEnvironment time("TZ", zone);
            const std::vector<std::string> ours = split(
                    appliedFormat(all, command_line::momentAt(instant.seconds, instant.fraction)));
            const std::vector<std::string> gnu
                    = split(gnuDate(zone, instant.seconds, instant.fraction, all));
            ASSERT_EQ(ours.size(), formats.size());
            ASSERT_EQ(gnu.size(), formats.size());
            for (std::size_t i = 0; i < formats.size(); ++i)
                EXPECT_EQ(ours[i], gnu[i]) << zone << " @" << instant.seconds << " " << formats[i];
        }
    }
    // The layouts in the C library's words, and with the zone's name on a summer's day where
    // the locale's have it (en_US's %c).
    const char *const summer = "CET-1CEST,M3.5.0,M10.5.0/3";
    const ScopedEnvironment time("TZ", summer);
    for (const char *locale : {"en_US.UTF-8", "ar_SA.UTF-8", "fr_FR.UTF-8"}) {
        const ScopedTimeLocale words(locale);
        EXPECT_EQ(appliedFormat("%c|%X|%x|%^c|%_c", command_line::momentAt(1'718'000'000)),
                  gnuDate(summer, 1'718'000'000, {}, "%c|%X|%x|%^c|%_c", locale))
                << locale;
    }
}

TEST(OutputFormat, WritesHijriYearsAsItReadsThem)
{
    const struct
    {
        CivilDate hijri;
        const char *format;
        const char *expected;
    } cases[] = {
            {{Calendar::Hijri, -640, 5, 16},
             "%Y|%F|%C|%y|%_Y|%-Y",
             "-640|-640-05-16|-6|40|-640|-640"},
            {{Calendar::Hijri, -5, 1, 1}, "%Y|%F", "-005|-005-01-01"},
            {{Calendar::Hijri, 5, 1, 1}, "%Y|%C|%y|%-F", "0005|00|05|5-01-01"},
            {{Calendar::Hijri, 1445, 9, 1}, "%j|%u|%C|%y", "237|1|14|45"},
            {{Calendar::Hijri, 10000, 1, 2}, "%Y|%F", "10000|10000-01-02"},
    };
    for (const auto &c : cases) {
        Moment moment;
        moment.day = *calendar::dateOf(c.hijri);
        EXPECT_EQ(appliedFormat(c.format, moment, Calendar::Hijri), c.expected) << c.format;
    }
}

TEST(OutputFormat, WritesArabicDigitsAndTheLanguagesNames)
{
    const ScopedEnvironment zone("TZ", "<+03>-3");
    const Moment moment = command_line::readDate("2024-03-11T15:04:05", {.reckoning = ummAlQura()});
    const command_line::LocaleNames arabic("ar_SA");
    EXPECT_EQ(appliedFormat("%A|%a|%B|%b|%p|%^A|%10B", moment, Calendar::Hijri, arabic),
              "الاثنين|الاثنين|رمضان|رمضان|م|الاثنين|     رمضان");
    EXPECT_EQ(appliedFormat("%-d/%m/%Y %T %z", moment, Calendar::Hijri, arabic, Digits::Arabic),
              "١/٠٩/١٤٤٥ ١٥:٠٤:٠٥ \u200E+\u200E٠٣٠٠");
    EXPECT_EQ(appliedFormat("%F", moment, Calendar::Hijri, english(), Digits::Persian),
              "۱۴۴۵-۰۹-۰۱");
    EXPECT_EQ(appliedFormat("%D|%x|%V|%q|%5N|%-3N", moment, Calendar::Gregorian, arabic,
                            Digits::Arabic),
              "٠٣/١١/٢٤|٠٣/١١/٢٤|١١|١|٠٠٠٠٠|٠");
    // In Arabic-Indic digits, which the bidirectional algorithm takes as Arabic numbers, a
    // date keeps the order of its numbers on a line of its own and held within an Arabic one.
    const std::string date = appliedFormat("%F", moment, Calendar::Hijri, arabic, Digits::Arabic);
    EXPECT_EQ(shownInParagraph(date, UBIDI_DEFAULT_LTR), "١٤٤٥-٠٩-٠١");
    EXPECT_EQ(shownInParagraph("رمضان " + command_line::heldLeftToRight(date), UBIDI_DEFAULT_LTR),
              "١٤٤٥-٠٩-٠١ ناضمر");
    EXPECT_EQ(shownInParagraph("رمضان " + command_line::heldLeftToRight("-640-05-17"),
                               UBIDI_DEFAULT_LTR),
              "-640-05-17 ناضمر");
    const command_line::LocaleNames turkish("tr");
    EXPECT_EQ(appliedFormat("%A %B %b %p", moment, Calendar::Hijri, turkish),
              turkish.weekday(std::chrono::Monday) + " " + turkish.month(Calendar::Hijri, 9) + " "
                      + turkish.month(Calendar::Hijri, 9, command_line::NameWidth::Abbreviated)
                      + " " + turkish.dayPeriod(true));
    EXPECT_EQ(appliedFormat("%^A", moment, Calendar::Hijri, turkish),
              turkish.upperCase(turkish.weekday(std::chrono::Monday)));
}

std::string refusal(const std::string &format, Calendar printed,
                    OutputFormat::Subject subject = OutputFormat::Subject::Moment)
{
    try {
        OutputFormat{format, printed, subject};
    } catch (const command_line::UsageError &error) {
        return error.what();
    }
    return "accepted";
}

TEST(OutputFormat, RefusesWhatItCannotMeanNamingIt)
{
    constexpr Calendar Hijri = Calendar::Hijri, Gregorian = Calendar::Gregorian;
    const struct
    {
        const char *format;
        Calendar printed;
        const char *message;
    } cases[] = {
            {"%Q", Hijri, "unknown conversion '%Q' in the format"},
            {"%Q", Gregorian, "unknown conversion '%Q' in the format"},
            {"%Ey", Gregorian, "unknown conversion '%E' in the format"},
            {"%:d", Hijri, "unknown conversion '%:d' in the format"},
            {"%::::z", Hijri, "unknown conversion '%::::z' in the format"},
            {"%:V", Gregorian, "unknown conversion '%:V' in the format"},
            {"%+4Y", Hijri, "unknown conversion '%+' in the format"},
            {"date %", Hijri, "the format ends in an unfinished conversion '%'"},
            {"%-", Hijri, "the format ends in an unfinished conversion '%-'"},
            {"%10", Gregorian, "the format ends in an unfinished conversion '%10'"},
            {"%1001d", Hijri, "the width in '%1001d' is more than 1000"},
            {"%1000000d %Y", Gregorian, "the width in '%1000000d' is more than 1000"},
            {"%99999999999", Hijri, "the width in '%99999999999' is more than 1000"},
            {"%U", Hijri,
             "'%U' numbers the weeks or quarters of a Gregorian year, which have no meaning for "
             "a Hijri date"},
            {"%_V", Hijri,
             "'%_V' numbers the weeks or quarters of a Gregorian year, which have no "
             "meaning for a Hijri date"},
            {"%q", Hijri,
             "'%q' numbers the weeks or quarters of a Gregorian year, which have no meaning "
             "for a Hijri date"},
            {"%c", Hijri,
             "'%c' is a Gregorian layout of the C library: write out the conversions you "
             "want, as in +%-d/%-m/%Y"},
            {"%10D", Hijri,
             "'%10D' is a Gregorian layout of the C library: write out the conversions you "
             "want, as in +%-d/%-m/%Y"},
            {"%10d %1000e %%", Hijri, "accepted"},
            {"%V %_3G %g %U %W %q %^30c %x %X %D", Gregorian, "accepted"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.format, c.printed), c.message) << c.format;
    // The time between two dates has conversions of its own.
    constexpr auto Elapsed = OutputFormat::Subject::Elapsed;
    EXPECT_EQ(refusal("%{days}", Hijri), "unknown conversion '%{days}' in the format");
    EXPECT_EQ(refusal("%H", Hijri, Elapsed), "unknown conversion '%H' in the format");
    EXPECT_EQ(refusal("%V", Gregorian, Elapsed), "unknown conversion '%V' in the format");
    EXPECT_EQ(refusal("%{days} %Y %m %d%n%t%%", Hijri, Elapsed), "accepted");
}

TEST(OutputFormat, WritesTheTimeBetweenTwoDatesForScripts)
{
    const command_line::Elapsed age{calendar::Days{12368}, 34 * 12 + 10, calendar::Days{24}};
    const command_line::Elapsed back{calendar::Days{-40}, -1, calendar::Days{-10}};
    const auto applied = [](std::string_view format, const command_line::Elapsed &elapsed,
                            const Digits &digits = Digits::Latin) {
        std::string out;
        OutputFormat(format, Calendar::Hijri, OutputFormat::Subject::Elapsed)
                .appendElapsed(out, elapsed, digits);
        return out;
    };
    EXPECT_EQ(applied("%{days} %Y %m %d", age), "12368 34 10 24");
    EXPECT_EQ(applied("%{days} %Y %m %d", back), "-40 0 -1 -10");
    EXPECT_EQ(applied("%3d|%_4Y|%-m|%05{days}%%", age), "024|  34|10|12368%");
    EXPECT_EQ(applied("%Y", age, Digits::Arabic), "٣٤");
}

// taqwim-date's command line, read as GNU's getopt_long reads it.
Options optionsOf(std::vector<std::string> words)
{
    words.insert(words.begin(), "taqwim-date");
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return readOptions(int(words.size()), argv.data());
}

std::string usageRefusal(const std::vector<std::string> &words)
{
    try {
        optionsOf(words);
    } catch (const command_line::UsageError &error) {
        return error.what();
    }
    return "accepted";
}

TEST(Options, RefusesAsGnuProgramsDoInTheUsersTerms)
{
    const struct
    {
        std::vector<std::string> words;
        const char *message;
    } cases[] = {
            {{"--frobnicate"}, "unrecognized option '--frobnicate'"},
            {{"--frob=3"}, "unrecognized option '--frob=3'"},
            {{"-x"}, "invalid option -- 'x'"},
            {{"--hijri", "-xH"}, "invalid option -- 'x'"},
            {{"--d=x"},
             "option '--d=x' is ambiguous; possibilities: '--date' '--digits' '--debug'"},
            {{"-d"}, "option requires an argument -- 'd'"},
            {{"-H", "-d"}, "option requires an argument -- 'd'"},
            {{"--since=today", "-Ins"},
             "--since prints the time between two dates, which -I cannot write"},
            {{"--date"}, "option '--date' requires an argument"},
            {{"--dat"}, "option '--date' requires an argument"},
            {{"--utc=3"}, "option '--utc' doesn't allow an argument"},
            {{"--hij=x"}, "option '--hijri' doesn't allow an argument"},
            {{"extra"}, "extra operand 'extra'"},
            {{"-I", "date"}, "extra operand 'date'"},
            {{"-Ix"},
             "invalid argument 'x' for '--iso-8601'; valid arguments are: 'date' 'hours' "
             "'minutes' 'seconds' 'ns'"},
            {{"--iso-8601="},
             "invalid argument '' for '--iso-8601'; valid arguments are: 'date' "
             "'hours' 'minutes' 'seconds' 'ns'"},
            {{"-I", "+%F"}, "multiple output formats specified"},
            {{"+%F", "+%d"}, "multiple output formats specified"},
            {{"-d", "x", "-f", "-"},
             "the options to specify dates for printing are mutually exclusive"},
            {{"-r", "f", "-d", "x"},
             "the options to specify dates for printing are mutually exclusive"},
            {{"--to=julian"}, "--to takes hijri or gregorian, not 'julian'"},
            {{"--digits=roman"},
             "invalid argument 'roman' for '--digits'; valid arguments are: 'latin' 'arabic' "
             "'persian' 'locale'"},
            {{"--adjust=3"}, "--adjust takes a whole number of days from -2 to 2, not '3'"},
            {{"--adjust=-3"}, "--adjust takes a whole number of days from -2 to 2, not '-3'"},
            {{"--adjust=1.5"}, "--adjust takes a whole number of days from -2 to 2, not '1.5'"},
            {{"--adjust=+-1"}, "--adjust takes a whole number of days from -2 to 2, not '+-1'"},
            {{"--adjust="}, "--adjust takes a whole number of days from -2 to 2, not ''"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(usageRefusal(c.words), c.message) << c.words.front();
}

TEST(Options, TakeDateOnesHabits)
{
    const struct
    {
        std::vector<std::string> words;
        const char *format;
    } iso[] = {
            {{"-I"}, "%F"},
            {{"-Idate"}, "%F"},
            {{"--is"}, "%F"},
            {{"-Ih"}, "%FT%H%:z"},
            {{"--iso-8601=minutes"}, "%FT%H:%M%:z"},
            {{"--iso=s"}, "%FT%H:%M:%S%:z"},
            {{"-Ins"}, "%FT%H:%M:%S,%N%:z"},
            {{"+%A", "-H"}, "%A"}, // an option after the format, as getopt_long permutes them
    };
    for (const auto &c : iso)
        EXPECT_EQ(optionsOf(c.words).format, c.format) << c.words.front();
    const Options many = optionsOf({"-u", "-H", "-r", "dates.csv", "--adjust=+2", "--to=hijri",
                                    "--digits=arabic", "--calendar=tbla", "--months=months",
                                    "--location=21.42,-39.83", "--no-sunset", "--debug"});
    EXPECT_TRUE(many.utc);
    EXPECT_TRUE(many.hijri);
    EXPECT_EQ(many.reference, "dates.csv");
    EXPECT_EQ(many.keeping.hijriShift, 2);
    EXPECT_EQ(many.keeping.variant, calendar::HijriVariant::Tabular);
    EXPECT_EQ(many.keeping.monthsFile, "months");
    EXPECT_EQ(many.keeping.place->place.longitude, -39.83);
    EXPECT_EQ(many.keeping.sunset, false);
    EXPECT_TRUE(many.keeping.debug);
    EXPECT_EQ(many.to, Calendar::Hijri);
    EXPECT_EQ(many.digits, Digits::Arabic);
    EXPECT_TRUE(optionsOf({"--universal"}).utc);
    EXPECT_EQ(optionsOf({"--adjust=-2"}).keeping.hijriShift, -2);
    EXPECT_EQ(optionsOf({"--help", "--frobnicate"}).action, Options::Action::Help);
    EXPECT_EQ(optionsOf({"--vers"}).action, Options::Action::Version);
    // -H says what the dates read are, and so what FORMAT prints, whichever way they come.
    for (const std::vector<std::string> &source : {std::vector<std::string>{},
                                                   {"-d", "today"},
                                                   {"-d", "1445-09-01"},
                                                   {"-f", "-"},
                                                   {"-r", "dates.csv"}}) {
        std::vector<std::string> hijri = source;
        hijri.push_back("-H");
        EXPECT_EQ(printedCalendar(optionsOf(source)), Calendar::Hijri) << source.size();
        EXPECT_EQ(printedCalendar(optionsOf(hijri)), Calendar::Gregorian) << source.size();
        hijri.push_back("--to=hijri");
        EXPECT_EQ(printedCalendar(optionsOf(hijri)), Calendar::Hijri) << source.size();
    }
    // The time since a date is counted in Hijri years unless --to says otherwise.
    EXPECT_EQ(printedCalendar(optionsOf({"-H", "--since=1445-01-01"})), Calendar::Hijri);
    EXPECT_EQ(printedCalendar(optionsOf({"--since=today", "--to=gregorian"})), Calendar::Gregorian);
}

Conversion conversionTo(Calendar printed, const command_line::LocaleNames &names,
                        std::optional<OutputFormat> format = std::nullopt,
                        Digits digits = Digits::Latin,
                        const command_line::Reckoning &reckoning = ummAlQura())
{
    const Calendar input = calendar::otherCalendar(printed);
    return Conversion({input, printed, std::move(format), digits}, names, reckoning);
}

std::string lineOf(const Conversion &conversion, std::string_view date)
{
    std::string out;
    conversion.write(out, conversion.read(date));
    return out;
}

TEST(Conversion, WritesTheWindowsLineUnderArabicAndOneLanguageALineElsewhere)
{
    // Hijri dates in (so printing Gregorian, which the line does not use).
    {
        const ScopedTimeLocale time("ar_SA.UTF-8");
        const command_line::LocaleNames arabic("ar_SA");
        const Conversion fromHijri = conversionTo(Calendar::Gregorian, arabic);
        EXPECT_EQ(lineOf(fromHijri, "1445-09-01"),
                  "الاثنين، 1 رمضان 1445 هـ الموافق 11 مارس 2024 م");
        EXPECT_EQ(lineOf(fromHijri, "-640-05-16"),
                  "السبت، 16 جمادى الأولى 641 ق.هـ الموافق 1 يناير 1 م");
        EXPECT_EQ(
                lineOf(conversionTo(Calendar::Gregorian, arabic, {}, Digits::Arabic), "1445-09-01"),
                "الاثنين، ١ رمضان ١٤٤٥ هـ الموافق ١١ مارس ٢٠٢٤ م");
    }
    EXPECT_EQ(lineOf(conversionTo(Calendar::Gregorian, english()), "-640-05-16"),
              english().weekday(std::chrono::Saturday) + ", 16 "
                      + english().month(Calendar::Hijri, 5) + " 641 BH, which is 1 "
                      + english().month(Calendar::Gregorian, 1) + " 1 AD");
    // The words between the dates and the era before the Hijra in the language of the names,
    // or none at all where it has no catalogue (German); the comma of its script.
    const struct
    {
        const char *locale, *joiningWord, *comma, *beforeTheHijra;
        bool latinLetters;
    } languages[] = {
            {"tr_TR", ", yani ", ", ", " Hicretten önce 641", true},
            {"ur_PK", " بمطابق ", "، ", " 641 قبل ہجرت", false},
            {"fa_IR", " برابر با ", "، ", " 641 پیش از هجرت", false},
            {"de_DE", " = ", ", ", " -640 = ", true},
    };
    // LANGUAGE orders the languages of the messages, never those of the dates' words.
    const ScopedEnvironment messages("LANGUAGE", "ur:fa");
    for (const auto &c : languages) {
        const ScopedTimeLocale time((std::string(c.locale) + ".UTF-8").c_str());
        const command_line::LocaleNames names(c.locale);
        const std::string line = lineOf(conversionTo(Calendar::Gregorian, names), "-640-05-16");
        EXPECT_EQ(line.find(names.weekday(std::chrono::Saturday) + c.comma), 0u) << line;
        EXPECT_NE(line.find(c.joiningWord), std::string::npos) << line;
        EXPECT_NE(line.find(c.beforeTheHijra), std::string::npos) << line;
        EXPECT_EQ(line.find("which"), std::string::npos) << line;
        EXPECT_EQ(std::any_of(line.begin(), line.end(), [](char l) { return std::isalpha(l); }),
                  c.latinLetters)
                << line;
    }
}

TEST(Conversion, TellsTheTimeSinceADateInTheCalendarAsked)
{
    Conversion hijri = conversionTo(Calendar::Hijri, english());
    hijri.measureFrom("1990-05-01");
    const std::string calendarName = " (" + english().calendarName(Calendar::Hijri) + ")";
    // ICU's name for it changes between versions, but is never the Gregorian calendar's.
    EXPECT_EQ(calendarName.find("Gregorian"), std::string::npos) << calendarName;
    EXPECT_NE(english().calendarName(Calendar::Gregorian).find("Gregorian"), std::string::npos);
    EXPECT_EQ(lineOf(hijri, "2024-03-11"),
              "12368 days: 34 years, 10 months, 24 days" + calendarName);
    // Counted from the date given back, as the format's negative numbers say.
    EXPECT_EQ(lineOf(hijri, "1990-04-30"), "1 day: 1 day" + calendarName);
    Conversion gregorian(
            {.input = Calendar::Gregorian, .printed = Calendar::Gregorian, .format = {}}, english(),
            ummAlQura());
    gregorian.measureFrom("2024-01-31");
    EXPECT_EQ(lineOf(gregorian, "2024-02-29"),
              "29 days: 1 month (" + english().calendarName(Calendar::Gregorian) + ")");
}

TEST(Conversion, PrintsOnlyTimesTheClockShowed)
{
    const ScopedEnvironment santiago("TZ", "<-04>4<-03>,M9.1.6/24,M4.1.6/24");
    Conversion clock({Calendar::Gregorian, Calendar::Gregorian,
                      OutputFormat("%F %T %z %s", Calendar::Gregorian)},
                     english(), ummAlQura());
    // The day began at 01:00, when the clocks skipped its first hour.
    EXPECT_EQ(lineOf(clock, "2024-09-08"), "2024-09-08 01:00:00 -0300 1725768000");
    EXPECT_EQ(lineOf(clock, "2024-09-09"), "2024-09-09 00:00:00 -0300 1725850800");
}

TEST(Conversion, MovesTheHijriCalendarBothWays)
{
    // With --adjust=1 every day takes the Hijri date Umm al-Qura gives the next day.
    const command_line::Reckoning dayLater(1);
    const Conversion toHijri
            = conversionTo(Calendar::Hijri, english(), OutputFormat("%F", Calendar::Hijri),
                           Digits::Latin, dayLater);
    EXPECT_EQ(lineOf(toHijri, "1/12/2024"), "1446-06-01");
    const Conversion toGregorian
            = conversionTo(Calendar::Gregorian, english(), OutputFormat("%F", Calendar::Gregorian),
                           Digits::Latin, dayLater);
    EXPECT_EQ(lineOf(toGregorian, "1/6/1446"), "2024-12-01");
    EXPECT_EQ(lineOf(toGregorian, "9999-12-29"), "10323-10-20"); // the last day, a day sooner
}

// A temporary file, or one opened for writing, that goes when the test ends.
class File
{
public:
    File() : m_file(std::tmpfile()) { }
    explicit File(const char *path) : m_file(std::fopen(path, "w")) { }
    ~File() { std::fclose(m_file); }
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    int fd() const { return fileno(m_file); }
    std::FILE *stream() const { return m_file; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd()); }
    void write(const std::string &text) const
    {
        std::fputs(text.c_str(), m_file);
        std::fflush(m_file);
    }
    std::string text() const
    {
        std::string out;
        std::array<char, 4096> block;
        for (ssize_t length;
             (length = ::pread(fd(), block.data(), block.size(), off_t(out.size()))) > 0;)
            out.append(block.data(), std::size_t(length));
        return out;
    }

private:
    std::FILE *m_file;
};

// Standard error into a file while it lives.
class CapturedStandardError : public File
{
public:
    CapturedStandardError() : m_saved(::dup(STDERR_FILENO)) { ::dup2(fd(), STDERR_FILENO); }
    ~CapturedStandardError()
    {
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }

private:
    int m_saved;
};

void writeLines(const File &file, const std::string &line, int count, const std::string &last)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line + '\n';
    file.write(text + last);
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const Conversion &isoToHijri()
{
    static const Conversion conversion
            = Conversion({Calendar::Gregorian, Calendar::Hijri, OutputFormat("%F", Calendar::Hijri),
                          Digits::Latin},
                         english(), ummAlQura());
    return conversion;
}

TEST(Batch, GivesOneLineOutForEachLineInThroughManyBlocks)
{
    const File input, answers;
    writeLines(input, "2024-03-11", 10'000, "2024-06-16"); // no line end at the end
    Output output(answers.stream());
    EXPECT_EQ(convertLines(input.path(), isoToHijri(), output), EXIT_SUCCESS);
    EXPECT_TRUE(output.flush());
    std::vector<std::string> expected(10'000, "1445-09-01");
    expected.push_back("1445-12-10");
    EXPECT_EQ(linesOf(answers.text()), expected);
}

TEST(Batch, TellsEachBadLineAfterTheAnswersBeforeIt)
{
    const File input;
    writeLines(input, "2024-03-11", 1, "\n11/03/24\r\n2024-06-16\n");
    const CapturedStandardError messages;
    Output output(messages.stream()); // answers and messages in one file, as 2>&1 puts them
    EXPECT_EQ(convertLines(input.path(), isoToHijri(), output), EXIT_FAILURE);
    output.flush();
    const std::vector<std::string> lines = linesOf(messages.text());
    ASSERT_EQ(lines.size(), 6u) << messages.text();
    EXPECT_EQ(lines[0], "1445-09-01");
    EXPECT_EQ(lines[1], ": line 2: invalid date '': no date is written");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3],
              ": line 3: invalid date '11/03/24': write the year with four digits, as "
              "in 2024");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "1445-12-10");
}

TEST(Batch, MessagesAreLaidOutForATerminalThatDoesNotReorderThem)
{
    const CapturedStandardError messages;
    const std::string message = "تاريخ غير صحيح '⁨x⁩'";
    command_line::complain(message);
    command_line::layOutMessages(); // as the plan for a terminal in explicit mode says
    command_line::complain(message);
    command_line::complain("invalid date 'x'");
    const std::vector<std::string> lines = linesOf(messages.text());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], ": " + message); // a pipe's, a file's, a reordering terminal's
    EXPECT_EQ(lines[1], command_line::laidOutLine(lines[0]));
    EXPECT_NE(lines[1], lines[0]);
    EXPECT_EQ(lines[2], ": invalid date 'x'");
}

TEST(Batch, AFileThatCannotBeReadFailsTheRun)
{
    for (const char *file : {"/", "/nonexistent/dates.txt"}) {
        const CapturedStandardError messages;
        const File nowhere("/dev/null");
        Output output(nowhere.stream());
        EXPECT_EQ(convertLines(file, isoToHijri(), output), EXIT_FAILURE) << file;
        EXPECT_EQ(linesOf(messages.text()).size(), 1u) << messages.text();
        EXPECT_NE(messages.text().find(": cannot read '" + std::string(file) + "': "),
                  std::string::npos)
                << messages.text();
    }
}

TEST(Batch, EndsAtTheFirstFailedWrite)
{
    const File input, full("/dev/full");
    writeLines(input, "2024-03-11", 100'000, "not a date\n");
    const CapturedStandardError messages;
    Output output(full.stream());
    EXPECT_EQ(convertLines(input.path(), isoToHijri(), output), EXIT_FAILURE);
    EXPECT_FALSE(output.flush());
    // One message, and none for the last line, which is never read.
    EXPECT_EQ(linesOf(messages.text()),
              std::vector<std::string>{": cannot write the output: No space left on device"});
}

} // namespace
