#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

// The main window's layout as designed: positions in twips (1/1440 inch) from the top-left
// of the client area, colours as 0x00BBGGRR or system colours 0x800000nn.
namespace form1 {

using Twips = int;
using DesignColour = std::uint32_t;
inline constexpr DesignColour DefaultColour = 0xFFFFFFFF; // the toolkit's own
inline constexpr int TwipsPerPixel = 12;

struct TwipsRect
{
    Twips left, top, width, height;
};

struct Font
{
    double points = 0; // 0: the control shows no text
    bool bold = false;
};

enum class ControlKind { TextField, CommandButton, PictureButton, OptionButton };

// Controls that take the input focus, in tab order.
struct ControlSpec
{
    const char *name;
    ControlKind kind;
    const char *caption; // UTF-8; for a picture button, its picture's resource path
    TwipsRect box;
    Font font;
    DesignColour background, foreground;
    Qt::Alignment alignment;
    bool rightToLeft;
    int maxLength; // 0: no limit
    const char *accessibleName; // nullptr: named by its caption
};

enum class SurfaceKind { Picture, Rectangle, Line, Caption };

// Pictures, rectangles, lines and captions, in painting order from the bottom up.
struct SurfaceSpec
{
    const char *name;
    SurfaceKind kind;
    TwipsRect box; // a line runs from (left, top) to (width, height)
    const char *content; // caption text or picture resource path
    DesignColour fill, border; // caption: background and text colours
    int borderPixels;
    bool framed, stretched;
};

std::span<const ControlSpec> controls();
std::span<const SurfaceSpec> surface();
TwipsRect clientArea();
DesignColour background();
const char *emblemToolTip();

int pixels(Twips twips);
QRect pixels(const TwipsRect &box);
QPoint pixels(Twips x, Twips y);
// The classic desktop values stand in for system colours, which this host does not have.
QColor colour(DesignColour value);
QFont font(const Font &font);
// "Arabic Transparent" where the desktop has it; Noto Sans Arabic comes with the program.
QStringList fontFamilies();

} // namespace form1
