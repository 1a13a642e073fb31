#pragma once

// Messages a list box window understands besides the window system's own.

#include "win/types.h"

namespace forms {

// wParam: the number of stops; lParam: a pointer to that many ints, the stops
// in dialog units (a quarter of the list font's mean letter width). No stops
// puts one every 32 units, one stop puts one every n units.
inline constexpr win::UINT LB_SETTABSTOPS = 0x0192;

}  // namespace forms
