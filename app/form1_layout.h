#pragma once

#include "design/design_units.h"

#include <span>
#include <string_view>
#include <variant>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The main window's layout as designed.
namespace form1 {

// The window's controls, each kept by the window where the layout made it.
struct Controls
{
    QLineEdit *day = nullptr; // Text1
    QLineEdit *month = nullptr; // Text2
    QLineEdit *year = nullptr; // Text3
    QLineEdit *sourceDate = nullptr; // Text7
    QLineEdit *sourceMonth = nullptr; // Text4
    QLineEdit *targetDate = nullptr; // Text8
    QLineEdit *targetMonth = nullptr; // Text5
    QLineEdit *weekday = nullptr; // Text9
    QRadioButton *gregorianToHijri = nullptr; // Option1
    QRadioButton *hijriToGregorian = nullptr; // Option2
    QPushButton *convert = nullptr; // Command1
    QPushButton *exit = nullptr; // Command2
    QPushButton *addSummary = nullptr; // Command3
    QPushButton *discard = nullptr; // Command4
    QPushButton *print = nullptr; // Command5
    QPushButton *showAbout = nullptr; // Command6
};

// Where the window keeps a control; its type is the kind of widget made for it: a text field,
// a push button or an option button.
template<typename Widget> using KeptAs = Widget *Controls::*;
using KeptIn = std::variant<KeptAs<QLineEdit>, KeptAs<QPushButton>, KeptAs<QRadioButton>>;

// Controls that take the input focus, in tab order.
struct ControlDesign
{
    const char *name;
    KeptIn keptIn;
    const char *caption; // UTF-8; for a picture button, its picture's resource path
    design::TwipsRect box;
    design::Font font;
    design::DesignColour background, foreground;
    Qt::Alignment alignment;
    bool rightToLeft;
    int maxLength; // 0: no limit
    const char *accessibleName; // nullptr: named by its caption

    // A button whose caption is a resource path shows that picture instead of words.
    constexpr bool showsPicture() const { return std::string_view(caption).starts_with(":/"); }
};

enum class SurfaceKind { Picture, Rectangle, Line, Caption };

// Pictures, rectangles, lines and captions, in painting order from the bottom up.
struct SurfaceDesign
{
    const char *name;
    SurfaceKind kind;
    design::TwipsRect box; // a line runs from (left, top) to (width, height)
    const char *content; // caption text or picture resource path
    design::DesignColour fill, border; // caption: background and text colours
    int borderPixels;
    bool framed, stretched;
    const char *toolTip; // nullptr: the item lets the mouse through to what lies below
};

// The captions' and the text buttons' face.
inline constexpr design::Font CaptionFont{10.2, true};

std::span<const ControlDesign> controls();
std::span<const SurfaceDesign> surface();
design::TwipsRect clientArea();
design::DesignColour background();

} // namespace form1
