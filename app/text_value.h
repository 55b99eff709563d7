#pragma once

#include <QStringView>

// The number at the start of a text, as far as it reads as one: leading blanks, a sign,
// digits (ASCII, Arabic-Indic or Extended Arabic-Indic) and one decimal point. A text that
// does not begin with a number reads as 0.
double TextValue(QStringView text);
