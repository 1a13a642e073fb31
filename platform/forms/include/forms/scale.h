#pragma once

// Units of forms and containers.

namespace forms {

inline constexpr int vbUser = 0;
inline constexpr int vbTwips = 1;
inline constexpr int vbPoints = 2;
inline constexpr int vbPixels = 3;
inline constexpr int vbCharacters = 4;
inline constexpr int vbInches = 5;
inline constexpr int vbMillimeters = 6;
inline constexpr int vbCentimeters = 7;
inline constexpr int vbHimetric = 8;

// Twips in one unit of a fixed scale mode, horizontally or vertically
// (characters differ by direction). 0 for the user scale.
double TwipsPerUnit(int scaleMode, bool horizontal);

// Mouse pointers.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbCrosshair = 2;
inline constexpr int vbIbeam = 3;
inline constexpr int vbSizePointer = 5;
inline constexpr int vbSizeNESW = 6;
inline constexpr int vbSizeNS = 7;
inline constexpr int vbSizeNWSE = 8;
inline constexpr int vbSizeWE = 9;
inline constexpr int vbUpArrow = 10;
inline constexpr int vbHourglass = 11;
inline constexpr int vbNoDrop = 12;
inline constexpr int vbArrowHourglass = 13;
inline constexpr int vbArrowQuestion = 14;
inline constexpr int vbSizeAll = 15;
inline constexpr int vbCustom = 99;

// Window states.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Show styles.
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// Mouse buttons and shift states of mouse and key events.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// Unload modes of QueryUnload.
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;
inline constexpr int vbAppWindows = 2;

}  // namespace forms
