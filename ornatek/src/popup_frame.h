#pragma once

// The flat frame of a popup menu: the frame bits taken off its window, and
// its background painted over a copy of the screen behind it (border, item
// background, image column, a four-pixel soft shadow).

#include "win/win.h"

namespace ornatek {

inline constexpr const char* kPopupMenuClass = "#32768";

// mAPI helpers.
struct SplitColour {
  int red = 0, green = 0, blue = 0;
};
SplitColour SplitRGB(win::COLORREF colour);
win::COLORREF DarkenColor(int amount, win::COLORREF colour);
short LoWord(std::intptr_t value);

void StripMenuWindowFrame(win::HWND hwnd);

// Paints the popup's background into dc; the screen behind it is read at
// (screenLeft, screenTop).
void PaintMenuBackground(win::HWND hwnd, win::HDC dc, int screenLeft, int screenTop);

}  // namespace ornatek
