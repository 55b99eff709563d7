#pragma once

#include "design/design_units.h"

#include <array>

// The About window's layout as designed.
namespace form2 {

struct Placed
{
    const char *name;
    design::TwipsRect box;
};

inline constexpr design::TwipsRect ClientArea{0, 0, 4836, 2964};
inline constexpr Placed Banner{"Image1", {12, 0, 4848, 1488}};
inline constexpr Placed List{"List1", {24, 1536, 4776, 840}};
inline constexpr Placed Return{"Command1", {24, 2616, 4800, 336}};
inline constexpr std::array Controls{Banner, List, Return};
// The list's and the return button's.
inline constexpr design::Font Text{10.2, false};

} // namespace form2
