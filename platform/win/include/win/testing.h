#pragma once

// Seams for tests that drive the window system without a real pointer.

#include <optional>

#include "win/types.h"

namespace win::testing {

// What GetKeyState/GetAsyncKeyState report for the mouse buttons (MK_LBUTTON,
// MK_RBUTTON, MK_MBUTTON bits) instead of the real pointer; nullopt ends it.
void SetMouseButtons(std::optional<unsigned> mkFlags);

}  // namespace win::testing
