#pragma once

#include "design/design_units.h"

#include <span>

// The main window's layout as designed.
namespace form1 {

using namespace design;

enum class ControlKind { TextField, CommandButton, PictureButton, OptionButton };

// Every control of the window, by its design name.
// clang-format off
enum class Control {
    Text1, Text2, Text3, Text7, Text8, Text9, Command1, Option2, Option1, Text4, Text5,
    Command2, Command3, Command4, Command5, Command6
};
// clang-format on
inline constexpr int ControlCount = int(Control::Command6) + 1;

// Controls that take the input focus, in tab order.
struct ControlDesign
{
    Control control;
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
struct SurfaceDesign
{
    const char *name;
    SurfaceKind kind;
    TwipsRect box; // a line runs from (left, top) to (width, height)
    const char *content; // caption text or picture resource path
    DesignColour fill, border; // caption: background and text colours
    int borderPixels;
    bool framed, stretched;
};

std::span<const ControlDesign> controls();
std::span<const SurfaceDesign> surface();
TwipsRect clientArea();
DesignColour background();
const char *emblemToolTip();

} // namespace form1
