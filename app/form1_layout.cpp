#include "form1_layout.h"

#include <array>

namespace form1 {
namespace {

using namespace design;

constexpr auto Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr auto Centred = Qt::AlignCenter;
constexpr auto Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr DesignColour Default = DefaultColour;
constexpr Font Entry{12.0, true}, Result{13.8, true}, Caption = CaptionFont, NoText{};

// One row a control, read as the layout table it is.
// clang-format off
constexpr std::array controlTable = {
        ControlDesign{"Text1", &Controls::day, "Text1", {4308, 624, 528, 372}, Entry,
                      0x00FFFFFF, 0x80000002, Left, false, 2, "اليوم"},
        ControlDesign{"Text2", &Controls::month, "Text2", {3312, 648, 528, 372}, Entry,
                      0x00FFFFFF, 0x80000002, Left, false, 2, "الشهر"},
        ControlDesign{"Text3", &Controls::year, "Text3", {1800, 648, 1068, 372}, Entry,
                      0x00FFFFFF, 0x80000002, Left, false, 4, "السنة"},
        ControlDesign{"Text7", &Controls::sourceDate, "Text7", {1200, 2748, 3756, 456}, Result,
                      0x00400040, 0x0000FF00, Centred, true, 0, "التاريخ المدخل"},
        ControlDesign{"Text8", &Controls::targetDate, "Text8", {1200, 3204, 3756, 456}, Result,
                      0x00400040, 0x0000FF00, Centred, true, 0, "التاريخ المقابل"},
        ControlDesign{"Text9", &Controls::weekday, "Text9", {1212, 2316, 3756, 456}, Result,
                      0x00400040, 0x0000FF00, Centred, false, 0, "اسم اليوم"},
        ControlDesign{"Command1", &Controls::convert, "تحويل", {564, 660, 948, 372}, Caption,
                      Default, Default, Centred, false, 0, nullptr},
        ControlDesign{"Option2", &Controls::hijriToGregorian, "الهجري إلى الميلادي",
                      {2904, 1356, 2064, 456}, Caption, Default, Default, Right, true, 0, nullptr},
        ControlDesign{"Option1", &Controls::gregorianToHijri, "الميلادي إلى الهجري",
                      {864, 1356, 2064, 456}, Caption, Default, Default, Right, true, 0, nullptr},
        ControlDesign{"Text4", &Controls::sourceMonth, "", {672, 2772, 468, 396}, Result, Default,
                      Default, Centred, true, 0, "رقم الشهر في التاريخ المدخل"},
        ControlDesign{"Text5", &Controls::targetMonth, "", {672, 3276, 480, 360}, Result, Default,
                      Default, Centred, true, 0, "رقم الشهر في التاريخ المقابل"},
        ControlDesign{"Command2", &Controls::exit, ":/pictures/exit.ico",
                      {4908, 3852, 624, 552}, NoText, Default, Default, Centred, false, 0, "خروج"},
        ControlDesign{"Command3", &Controls::addSummary, "إلى ذاكرة الطابعة",
                      {2988, 4032, 1884, 360}, Caption, Default, Default, Centred, true, 0, nullptr},
        ControlDesign{"Command4", &Controls::discard, "إلغاء ذاكرة الطابعة",
                      {1068, 4032, 1884, 360}, Caption, Default, Default, Centred, true, 0, nullptr},
        ControlDesign{"Command5", &Controls::print, ":/pictures/printer.bmp",
                      {336, 3852, 624, 552}, NoText, Default, Default, Centred, false, 0, "طباعة"},
        ControlDesign{"Command6", &Controls::showAbout, ":/pictures/about_strip.gif",
                      {312, 1344, 264, 2448}, NoText, Default, Default, Centred, false, 0,
                      "عن البرنامج"},
};
// clang-format on

constexpr DesignColour Grey = 0x00C0C0C0, Frame = 0x80000009, Rule = 0x80000005;
constexpr DesignColour CaptionBack = 0x80000003, CaptionText = 0x80000018;

// clang-format off
constexpr std::array surfaceTable = {
        SurfaceDesign{"Image1", SurfaceKind::Picture, {288, -96, 5532, 4800},
                      ":/pictures/background.bmp", Default, Default, 0, true, true, nullptr},
        SurfaceDesign{"Shape1", SurfaceKind::Rectangle, {828, 1320, 4188, 540}, nullptr, 0x00404000,
                      0x00FFFFFF, 4, false, false, nullptr},
        SurfaceDesign{"Shape2", SurfaceKind::Rectangle, {372, 576, 5076, 504}, nullptr, Grey, Frame,
                      1, false, false, nullptr},
        SurfaceDesign{"Label4", SurfaceKind::Caption, {2880, 660, 384, 372}, "السنة", CaptionBack,
                      CaptionText, 0, false, false, nullptr},
        SurfaceDesign{"Label2", SurfaceKind::Caption, {4824, 624, 444, 384}, "اليوم", CaptionBack,
                      CaptionText, 0, false, false, nullptr},
        SurfaceDesign{"Label3", SurfaceKind::Caption, {3864, 636, 432, 372}, "الشهر", CaptionBack,
                      CaptionText, 0, false, false, nullptr},
        SurfaceDesign{"Image2", SurfaceKind::Picture, {-36, -72, 0, 0}, ":/pictures/strip_left.gif",
                      Default, Default, 0, false, false, nullptr},
        SurfaceDesign{"Shape3", SurfaceKind::Rectangle, {600, 2184, 4620, 1632}, nullptr, Grey, Frame,
                      1, false, false, nullptr},
        SurfaceDesign{"Label1", SurfaceKind::Caption, {660, 2520, 516, 240}, "الشهر", Default,
                      Default, 0, false, false, nullptr},
        SurfaceDesign{"Label5", SurfaceKind::Caption, {732, 2220, 396, 264}, "رقم", Default, Default,
                      0, false, false, nullptr},
        SurfaceDesign{"Image3", SurfaceKind::Picture, {252, 4428, 0, 0},
                      ":/pictures/strip_bottom.gif", Default, Default, 0, false, false, nullptr},
        SurfaceDesign{"Line1", SurfaceKind::Line, {252, 4404, 5520, 4416}, nullptr, Default, Rule, 2,
                      false, false, nullptr},
        SurfaceDesign{"Line2", SurfaceKind::Line, {252, 4404, 252, 0}, nullptr, Default, Rule, 2,
                      false, false, nullptr},
        SurfaceDesign{"Image4", SurfaceKind::Picture, {288, 12, 552, 432}, ":/pictures/emblem.gif",
                      Default, Default, 0, true, false,
                      "Taqwim 2.0 - Hijri and Gregorian date converter, by the Taqwim team"},
};
// clang-format on

} // namespace

std::span<const ControlDesign> controls()
{
    return controlTable;
}

std::span<const SurfaceDesign> surface()
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

} // namespace form1
