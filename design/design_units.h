#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <cstdint>

class QWidget;

// The units the windows were designed in: positions in twips (1/1440 inch) from the top-left
// of a window's client area, colours as 0x00BBGGRR or system colours 0x800000nn, and text
// sizes in points of the Arabic font, all turned into what Qt draws with.
namespace design {

using Twips = int;
using DesignColour = std::uint32_t;
inline constexpr DesignColour DefaultColour = 0xFFFFFFFF; // the toolkit's own
// The screen the layout was drawn on showed 120 pixels to the inch.
inline constexpr int PixelsPerInch = 120;
inline constexpr int TwipsPerPixel = 1440 / PixelsPerInch;

struct TwipsRect
{
    Twips left, top, width, height;
};

struct Font
{
    double points = 0; // 0: the control shows no text
    bool bold = false;
};

int pixels(Twips twips);
QRect pixels(const TwipsRect &box);
QPoint pixels(Twips x, Twips y);
// The classic desktop values stand in for system colours, which this host does not have.
QColor colour(DesignColour value);
QFont font(const Font &font);
// "Arabic Transparent" where the desktop has it; Noto Sans Arabic comes with the program.
QStringList fontFamilies();

// Both windows appear centred on the screen.
void showCentred(QWidget &window);

} // namespace design
