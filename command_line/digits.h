#pragma once

#include <string>

// The digits a program writes: ASCII, or the Arabic-Indic ones (U+0660..U+0669) that Arabic
// text is printed with in the Gulf (--digits=arabic).
namespace command_line {

enum class Digits { Latin, Arabic };

// One digit, 0 to 9.
void appendDigit(std::string &out, int digit, Digits digits);

// The text with its ASCII digits written in the digits given.
std::string withDigits(std::string text, Digits digits);

} // namespace command_line
