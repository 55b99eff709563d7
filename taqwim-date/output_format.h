#pragma once

#include "calendar/civil_date.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace taqwim_date {

enum class Digits { Latin, Arabic };

// A +FORMAT as date(1) takes it, read once and then applied to every date of a run.
class OutputFormat
{
public:
    // Throws UsageError for a conversion it does not know.
    explicit OutputFormat(std::string_view format);

    // `shown` is the day in the calendar being printed; %A and %u name its weekday.
    void appendTo(std::string &out, const calendar::CivilDate &shown, std::chrono::weekday weekday,
                  Digits digits) const;

private:
    enum class Padding { Usual, None, Zeros, Blanks };
    struct Piece
    {
        char conversion = 0; // 0: the literal text
        Padding padding = Padding::Usual;
        std::string literal;
    };

    void addConversion(char conversion, Padding padding);

    std::vector<Piece> m_pieces;
};

// Arabic-Indic digits in place of the ASCII ones.
std::string withDigits(std::string text, Digits digits);

} // namespace taqwim_date
