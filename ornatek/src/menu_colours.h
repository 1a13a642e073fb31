#pragma once

// The two colour helpers of the flat menu style. Both take OLE colours, so
// system colour codes (0x80000000 + index) follow the current scheme.

#include "mem_dc.h"

namespace ornatek {

inline constexpr Colour kColorBtnFace = kSysColour + 15;
inline constexpr Colour kColorBtnShadow = kSysColour + 16;
inline constexpr Colour kColorHighlight = kSysColour + 13;
inline constexpr Colour kColorWindow = kSysColour + 5;

// alpha 255 gives colour1, 0 gives colour2; each channel rounded, halves to even.
win::COLORREF BlendColor(Colour colour1, Colour colour2, int alpha);
// 0 to 255, weighted 76/150/29 over red, green and blue.
int ColorLuminance(Colour colour);

}  // namespace ornatek
