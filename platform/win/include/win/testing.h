#pragma once

// Seams for tests that drive the window system without a real pointer.

#include <optional>

#include "win/types.h"

namespace win::testing {

// What GetKeyState/GetAsyncKeyState report for the mouse buttons (MK_LBUTTON,
// MK_RBUTTON, MK_MBUTTON bits) instead of the real pointer; nullopt ends it.
void SetMouseButtons(std::optional<unsigned> mkFlags);

// What was drawn on the screen device context and shows above the windows at
// a screen point; nullopt where nothing was drawn.
std::optional<COLORREF> ScreenOverlayPixel(int x, int y);

}  // namespace win::testing
