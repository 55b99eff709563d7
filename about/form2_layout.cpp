#include "form2_layout.h"

#include <array>

namespace form2 {
namespace {

constexpr design::Font Text{10.2, false}, NoText{};

// One row a control, read as the layout table it is.
// clang-format off
constexpr std::array controlTable = {
        ControlDesign{"Image1", ControlKind::FramedPicture, ":/about/banner.gif", {12, 0, 4848, 1488},
                      NoText, nullptr},
        ControlDesign{"List1", ControlKind::List, "", {24, 1536, 4776, 840}, Text,
                      "معلومات عن البرنامج"},
        ControlDesign{"Command1", ControlKind::CommandButton, "عــودة إلى البرنامج", {24, 2616, 4800, 336},
                      Text, nullptr},
};
// clang-format on

} // namespace

std::span<const ControlDesign> controls()
{
    return controlTable;
}

design::TwipsRect clientArea()
{
    return {0, 0, 4836, 2964};
}

const char *title()
{
    return "عن البرنامج";
}

} // namespace form2
