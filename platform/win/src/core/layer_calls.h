#pragma once

// Window calls that only the layer itself makes, kept out of the public
// interface that the suite builds on.

#include "win/types.h"

namespace win {

BOOL ValidateRect(HWND hwnd, const RECT* rect);

}  // namespace win
