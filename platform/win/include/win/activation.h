#pragma once

// Activation, focus, pointer capture and the pointer's position.

#include "win/types.h"

namespace win {

HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);
HWND SetFocus(HWND hwnd);
BOOL ReleaseCapture();
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);

}  // namespace win
