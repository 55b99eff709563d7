#include "form1_layout.h"

#include <QFont>

#include <array>
#include <cmath>

namespace form1 {
namespace {

constexpr auto Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr auto Centred = Qt::AlignCenter;
constexpr auto Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr DesignColour Default = DefaultColour;
constexpr Font Entry{12.0, true}, Result{13.8, true}, Caption{10.2, true}, NoText{};

constexpr std::array controlTable = {
        ControlSpec{"Text1",
                    ControlKind::TextField,
                    "Text1",
                    {4308, 624, 528, 372},
                    Entry,
                    0x00FFFFFF,
                    0x80000002,
                    Left,
                    false,
                    2,
                    "اليوم"},
        ControlSpec{"Text2",
                    ControlKind::TextField,
                    "Text2",
                    {3312, 648, 528, 372},
                    Entry,
                    0x00FFFFFF,
                    0x80000002,
                    Left,
                    false,
                    2,
                    "الشهر"},
        ControlSpec{"Text3",
                    ControlKind::TextField,
                    "Text3",
                    {1800, 648, 1068, 372},
                    Entry,
                    0x00FFFFFF,
                    0x80000002,
                    Left,
                    false,
                    4,
                    "السنة"},
        ControlSpec{"Text7",
                    ControlKind::TextField,
                    "Text7",
                    {1200, 2748, 3756, 456},
                    Result,
                    0x00400040,
                    0x0000FF00,
                    Centred,
                    true,
                    0,
                    "التاريخ المدخل"},
        ControlSpec{"Text8",
                    ControlKind::TextField,
                    "Text8",
                    {1200, 3204, 3756, 456},
                    Result,
                    0x00400040,
                    0x0000FF00,
                    Centred,
                    true,
                    0,
                    "التاريخ المقابل"},
        ControlSpec{"Text9",
                    ControlKind::TextField,
                    "Text9",
                    {1212, 2316, 3756, 456},
                    Result,
                    0x00400040,
                    0x0000FF00,
                    Centred,
                    false,
                    0,
                    "اسم اليوم"},
        ControlSpec{"Command1",
                    ControlKind::CommandButton,
                    "تحويل",
                    {564, 660, 948, 372},
                    Caption,
                    Default,
                    Default,
                    Centred,
                    false,
                    0,
                    nullptr},
        ControlSpec{"Option2",
                    ControlKind::OptionButton,
                    "الهجري إلى الميلادي",
                    {2904, 1356, 2064, 456},
                    Caption,
                    Default,
                    Default,
                    Right,
                    true,
                    0,
                    nullptr},
        ControlSpec{"Option1",
                    ControlKind::OptionButton,
                    "الميلادي إلى الهجري",
                    {864, 1356, 2064, 456},
                    Caption,
                    Default,
                    Default,
                    Right,
                    true,
                    0,
                    nullptr},
        ControlSpec{"Text4",
                    ControlKind::TextField,
                    "",
                    {672, 2772, 468, 396},
                    Result,
                    Default,
                    Default,
                    Centred,
                    true,
                    0,
                    "رقم الشهر في التاريخ المدخل"},
        ControlSpec{"Text5",
                    ControlKind::TextField,
                    "",
                    {672, 3276, 480, 360},
                    Result,
                    Default,
                    Default,
                    Centred,
                    true,
                    0,
                    "رقم الشهر في التاريخ المقابل"},
        ControlSpec{"Command2",
                    ControlKind::PictureButton,
                    ":/pictures/exit.ico",
                    {4908, 3852, 624, 552},
                    NoText,
                    Default,
                    Default,
                    Centred,
                    false,
                    0,
                    "خروج"},
        ControlSpec{"Command3",
                    ControlKind::CommandButton,
                    "إلى ذاكرة الطابعة",
                    {2988, 4032, 1884, 360},
                    Caption,
                    Default,
                    Default,
                    Centred,
                    true,
                    0,
                    nullptr},
        ControlSpec{"Command4",
                    ControlKind::CommandButton,
                    "إلغاء ذاكرة الطابعة",
                    {1068, 4032, 1884, 360},
                    Caption,
                    Default,
                    Default,
                    Centred,
                    true,
                    0,
                    nullptr},
        ControlSpec{"Command5",
                    ControlKind::PictureButton,
                    ":/pictures/printer.bmp",
                    {336, 3852, 624, 552},
                    NoText,
                    Default,
                    Default,
                    Centred,
                    false,
                    0,
                    "طباعة"},
        ControlSpec{"Command6",
                    ControlKind::PictureButton,
                    ":/pictures/about_strip.gif",
                    {312, 1344, 264, 2448},
                    NoText,
                    Default,
                    Default,
                    Centred,
                    false,
                    0,
                    "عن البرنامج"},
};

constexpr DesignColour Grey = 0x00C0C0C0, Frame = 0x80000009, Rule = 0x80000005;
constexpr DesignColour CaptionBack = 0x80000003, CaptionText = 0x80000018;

constexpr std::array surfaceTable = {
        SurfaceSpec{"Image1",
                    SurfaceKind::Picture,
                    {288, -96, 5532, 4800},
                    ":/pictures/background.bmp",
                    Default,
                    Default,
                    0,
                    true,
                    true},
        SurfaceSpec{"Shape1",
                    SurfaceKind::Rectangle,
                    {828, 1320, 4188, 540},
                    nullptr,
                    0x00404000,
                    0x00FFFFFF,
                    4,
                    false,
                    false},
        SurfaceSpec{"Shape2",
                    SurfaceKind::Rectangle,
                    {372, 576, 5076, 504},
                    nullptr,
                    Grey,
                    Frame,
                    1,
                    false,
                    false},
        SurfaceSpec{"Label4",
                    SurfaceKind::Caption,
                    {2880, 660, 384, 372},
                    "السنة",
                    CaptionBack,
                    CaptionText,
                    0,
                    false,
                    false},
        SurfaceSpec{"Label2",
                    SurfaceKind::Caption,
                    {4824, 624, 444, 384},
                    "اليوم",
                    CaptionBack,
                    CaptionText,
                    0,
                    false,
                    false},
        SurfaceSpec{"Label3",
                    SurfaceKind::Caption,
                    {3864, 636, 432, 372},
                    "الشهر",
                    CaptionBack,
                    CaptionText,
                    0,
                    false,
                    false},
        SurfaceSpec{"Image2",
                    SurfaceKind::Picture,
                    {-36, -72, 0, 0},
                    ":/pictures/strip_left.gif",
                    Default,
                    Default,
                    0,
                    false,
                    false},
        SurfaceSpec{"Shape3",
                    SurfaceKind::Rectangle,
                    {600, 2184, 4620, 1632},
                    nullptr,
                    Grey,
                    Frame,
                    1,
                    false,
                    false},
        SurfaceSpec{"Label1",
                    SurfaceKind::Caption,
                    {660, 2520, 516, 240},
                    "الشهر",
                    Default,
                    Default,
                    0,
                    false,
                    false},
        SurfaceSpec{"Label5",
                    SurfaceKind::Caption,
                    {732, 2220, 396, 264},
                    "رقم",
                    Default,
                    Default,
                    0,
                    false,
                    false},
        SurfaceSpec{"Image3",
                    SurfaceKind::Picture,
                    {252, 4428, 0, 0},
                    ":/pictures/strip_bottom.gif",
                    Default,
                    Default,
                    0,
                    false,
                    false},
        SurfaceSpec{"Line1",
                    SurfaceKind::Line,
                    {252, 4404, 5520, 4416},
                    nullptr,
                    Default,
                    Rule,
                    2,
                    false,
                    false},
        SurfaceSpec{"Line2",
                    SurfaceKind::Line,
                    {252, 4404, 252, 0},
                    nullptr,
                    Default,
                    Rule,
                    2,
                    false,
                    false},
        SurfaceSpec{"Image4",
                    SurfaceKind::Picture,
                    {288, 12, 552, 432},
                    ":/pictures/emblem.gif",
                    Default,
                    Default,
                    0,
                    true,
                    false},
};

} // namespace

std::span<const ControlSpec> controls()
{
    return controlTable;
}

std::span<const SurfaceSpec> surface()
{
    return surfaceTable;
}

TwipsRect clientArea()
{
    return {0, 0, 5532, 4704};
}

DesignColour background()
{
    return Grey;
}

const char *emblemToolTip()
{
    return "Taqwim 2.0 - Hijri and Gregorian date converter, by the Taqwim team";
}

int pixels(Twips twips)
{
    return int(std::lround(double(twips) / TwipsPerPixel));
}

QRect pixels(const TwipsRect &box)
{
    return {pixels(box.left), pixels(box.top), pixels(box.width), pixels(box.height)};
}

QPoint pixels(Twips x, Twips y)
{
    return {pixels(x), pixels(y)};
}

QColor colour(DesignColour value)
{
    if ((value & 0xFF000000) == 0x80000000) {
        switch (value & 0xFF) {
        case 2:
            return QColor(0x00, 0x00, 0x80); // active title bar
        case 3:
            return QColor(0x80, 0x80, 0x80); // inactive title bar
        case 0x18:
            return QColor(0xFF, 0xFF, 0xE1); // tool-tip background
        default:
            return QColor(0xFF, 0xFF, 0xFF); // window background, title bar text
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QStringList fontFamilies()
{
    return {QStringLiteral("Arabic Transparent"), QStringLiteral("Noto Sans Arabic")};
}

QFont font(const Font &spec)
{
    QFont font;
    font.setFamilies(fontFamilies());
    // Pixel sizes keep the text in the proportion the layout was drawn for.
    font.setPixelSize(int(std::lround(spec.points * 120 / 72)));
    font.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace form1
