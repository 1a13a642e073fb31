#pragma once

// The values a window and its class keep by index (GWL_*, GCL_*).

#include "win/types.h"

namespace win {

inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_HINSTANCE = -6;
inline constexpr int GWLP_HWNDPARENT = -8;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWLP_USERDATA = -21;
inline constexpr int GCL_STYLE = -26;
inline constexpr int GCLP_WNDPROC = -24;
inline constexpr int GCLP_HBRBACKGROUND = -10;

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);

}  // namespace win
