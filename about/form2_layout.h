#pragma once

#include "design/design_units.h"

#include <span>

// The About window's layout as designed.
namespace form2 {

enum class ControlKind { FramedPicture, List, CommandButton };

// Every control of the window, in tab order.
struct ControlDesign
{
    const char *name;
    ControlKind kind;
    const char *caption; // UTF-8; for a picture, its resource path
    design::TwipsRect box;
    design::Font font;
    const char *accessibleName; // nullptr: named by its caption, a picture by none
};

std::span<const ControlDesign> controls();
design::TwipsRect clientArea();
const char *title();

} // namespace form2
