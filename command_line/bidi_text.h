#pragma once

#include <string>
#include <string_view>

// Text that mixes right-to-left words, left-to-right ones and numbers, as the Unicode
// Bidirectional Algorithm (UAX #9) lays it out, and the marks that hold it in the order meant.
namespace command_line {

inline constexpr std::string_view LeftToRightMark = "\u200E";
inline constexpr std::string_view RightToLeftMark = "\u200F";

// The text of a reading-order string as it stands from left to right, in a paragraph of the
// direction given, with the Arabic letters in the forms they take in place (their
// presentation forms), since a terminal that does not reorder text does not join letters
// either. It takes as many cells as the text in reading order: a lam-alef ligature leaves a
// blank at its end.
std::string visualOrder(std::string_view logicalText, bool rightToLeft);

// Text laid out visually, held so that a display that applies the algorithm shows it as it
// stands: where the algorithm would reorder it, in a left-to-right override after a
// left-to-right mark, which makes it a left-to-right paragraph wherever a display guesses
// the direction of a line.
std::string heldAsLaidOut(std::string visualText);

// A line in reading order laid out for a terminal that does not reorder text, in the
// direction its first letter gives it, and held so.
std::string laidOutLine(std::string_view logicalLine);

// The cells a text takes on a terminal: two for wide East Asian characters, none for
// marks and format characters.
int cellWidth(std::string_view text);

// Whether the text holds a letter written right to left or an Arabic-Indic digit, which the
// algorithm would move about in a left-to-right line.
bool hasRightToLeft(std::string_view text);

// Whether the text's first strong letter is written right to left: the direction a display
// gives the line as a paragraph.
bool beginsRightToLeft(std::string_view text);

// A number or a date held left to right within a right-to-left line, its sign included:
// "-640-05-17" would otherwise show its minus at its right end. Left-to-right marks, not an
// isolate, which mlterm 3.9 draws as a box.
std::string heldLeftToRight(std::string_view text);
// The same within a message, where the messages read right to left.
std::string heldInMessage(std::string_view text);

} // namespace command_line
