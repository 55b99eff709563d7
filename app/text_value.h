#pragma once

#include <QString>
#include <QStringView>

// The number at the start of a text, as far as it reads as one: leading blanks (the no-break
// space among them), a sign, digits (ASCII, Arabic-Indic or Extended Arabic-Indic) and one
// decimal point. Invisible direction marks are passed over. A text that does not begin with
// a number reads as 0.
double TextValue(QStringView text);

// The text without the invisible direction marks that pasted Arabic text carries.
QString withoutInvisibleMarks(QStringView text);
