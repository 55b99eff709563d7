#include "conversion.h"

#include "command_line/bidi_text.h"
#include "command_line/counting.h"
#include "command_line/date_writing.h"
#include "command_line/program.h"

namespace taqwim_date {

using calendar::Calendar;
using calendar::CivilDate;
using command_line::formatted;

Conversion::Conversion(Settings settings, const command_line::LocaleNames &names,
                       const command_line::Reckoning &reckoning,
                       std::function<command_line::Moment()> now)
    : m_settings(std::move(settings)),
      m_names(names), m_reading{m_settings.input, reckoning, std::move(now)}
{
}

command_line::Moment Conversion::read(std::string_view dateText) const
{
    const command_line::Moment moment = command_line::readDate(dateText, m_reading);
    // A time it prints must be one the clock showed, and agree with its %s.
    return m_settings.format && m_settings.format->showsTheClock()
            ? command_line::settledOnLocalClock(moment)
            : moment;
}

std::string Conversion::problem(std::string_view dateText,
                                const command_line::DateTextError &error) const
{
    return command_line::dateProblem(dateText, error, m_reading);
}

command_line::Moment Conversion::momentAt(std::int64_t unixSeconds,
                                          std::chrono::nanoseconds fraction) const
{
    return command_line::readableMomentAt(unixSeconds, fraction, m_reading);
}

void Conversion::write(std::string &out, const command_line::Moment &moment) const
{
    if (m_settings.layout == command_line::Layout::Logical) {
        writeLine(out, moment);
        return;
    }
    std::string line;
    writeLine(line, moment);
    out += command_line::laidOutLine(line);
}

void Conversion::measureFrom(std::string_view dateText)
{
    m_since = read(dateText);
}

calendar::Date Conversion::dayIn(Calendar calendar, const command_line::Moment &moment) const
{
    return calendar == Calendar::Hijri ? m_reading.reckoning.hijriDayOf(moment) : moment.day;
}

void Conversion::writeElapsed(std::string &out, const command_line::Moment &moment) const
{
    const Calendar calendar = m_settings.printed;
    const command_line::Elapsed elapsed = command_line::elapsedBetween(
            m_reading.reckoning, dayIn(calendar, *m_since), dayIn(calendar, moment), calendar);
    if (m_settings.format) {
        m_settings.format->appendElapsed(out, elapsed, m_settings.digits);
        return;
    }
    const std::string days = m_names.elapsedWords(0, 0, elapsed.days.count());
    const std::string counted
            = m_names.elapsedWords(elapsed.months / 12, elapsed.months % 12, elapsed.rest.count());
    out += command_line::withDigits(
            days + ": " + counted + " (" + m_names.calendarName(calendar) + ")", m_settings.digits);
}

void Conversion::writeLine(std::string &out, const command_line::Moment &moment) const
{
    const command_line::Reckoning &reckoning = m_reading.reckoning;
    const std::chrono::weekday weekday = moment.day.weekday();
    const auto dayIn = [&](Calendar calendar) { return this->dayIn(calendar, moment); };
    if (m_since) {
        writeElapsed(out, moment);
        return;
    }
    if (m_settings.format) {
        const calendar::Date day = dayIn(m_settings.printed);
        m_settings.format->appendTo(
                out,
                {reckoning.civilDate(day, m_settings.printed), day, weekday, moment, reckoning},
                m_names, m_settings.digits);
        return;
    }
    const auto longDate = [&](Calendar calendar) {
        return command_line::longDate(reckoning.civilDate(dayIn(calendar), calendar), m_names,
                                      m_settings.digits);
    };
    const std::string &weekdayName = m_names.weekday(weekday);
    const std::string hijri = longDate(Calendar::Hijri), gregorian = longDate(Calendar::Gregorian);
    // TRANSLATORS: the line printed without a format: the weekday, the Hijri date and the
    // same day in the Gregorian calendar, with the comma of the language's script.
    // xgettext:c-format
    if (const char *const line = command_line::timeWord("%s, %s, which is %s"))
        out += formatted(line, weekdayName.c_str(), hijri.c_str(), gregorian.c_str());
    else
        out += weekdayName + m_names.comma() + " " + hijri + " = " + gregorian;
}

} // namespace taqwim_date
