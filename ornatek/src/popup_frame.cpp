#include "popup_frame.h"

#include <cmath>

#include "module_state.h"

namespace ornatek {

using namespace win;

SplitColour SplitRGB(COLORREF colour) {
  return {static_cast<int>(colour % 256), static_cast<int>((colour / 256) % 256),
          static_cast<int>(colour / 65536)};
}

COLORREF DarkenColor(int amount, COLORREF colour) {
  const auto [r, g, b] = SplitRGB(colour);
  const auto darken = [amount](int c) {
    return c - static_cast<int>(std::floor(static_cast<double>(c * amount) / 255.0));
  };
  return RGB(darken(r), darken(g), darken(b));
}

short LoWord(std::intptr_t value) {
  return static_cast<short>(static_cast<std::uint16_t>(value & 0xFFFF));
}

void StripMenuWindowFrame(HWND hwnd) {
  SetWindowLongPtrA(hwnd, GWL_EXSTYLE, GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & ~LONG_PTR{0x101});
  SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) & LONG_PTR{0xFF7FFFFF});
  // The drop shadow is a class style: cleared once, for every popup menu of the process.
  const LONG_PTR classStyle = GetClassLongPtrA(hwnd, GCL_STYLE);
  if (classStyle & CS_DROPSHADOW)
    SetClassLongPtrA(hwnd, GCL_STYLE, classStyle & ~LONG_PTR{CS_DROPSHADOW});
  SetWindowPos(hwnd, HWND(), 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

namespace {

// Darkens one shadow column or row; `along` is the position along it, `length`
// its full length (the popup's height for a column, width for a row).
void ShadeLine(HDC dc, int fixed, bool column, int strength, int length, bool fadeOutAtEnd) {
  const auto shade = [&](int along, int amount) {
    const int x = column ? fixed : along;
    const int y = column ? along : fixed;
    SetPixel(dc, x, y, DarkenColor(amount, GetPixel(dc, x, y)));
  };
  for (int a = 4; a <= 7; ++a) shade(a, 3 * strength * (a - 3));
  for (int a = 8; a <= length - 5; ++a) shade(a, 15 * strength);
  if (fadeOutAtEnd)
    for (int a = length - 4; a <= length - 1; ++a) shade(a, 3 * strength * (length - a));
}

}  // namespace

void PaintMenuBackground(HWND hwnd, HDC dc, int screenLeft, int screenTop) {
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const int W = wr.right - wr.left;
  const int H = wr.bottom - wr.top;
  const auto& m = Module();

  const HDC screen = GetDC(HWND());
  BitBlt(dc, 0, 0, W + 1, H + 1, screen, screenLeft, screenTop, SRCCOPY);
  ReleaseDC(HWND(), screen);

  const COLORREF penColour = m.OwnPopupActive ? m.MenuBorderColor : GetSysColor(4);
  const COLORREF brushColour = m.OwnPopupActive ? m.MenuBackColor : GetSysColor(4);
  const HPEN pen = CreatePen(PS_SOLID, 1, penColour);
  const HBRUSH brush = CreateSolidBrush(brushColour);
  const HGDIOBJ firstPen = SelectObject(dc, pen);
  const HGDIOBJ firstBrush = SelectObject(dc, brush);
  Rectangle(dc, 0, 0, W - 4, H - 4);
  SelectObject(dc, firstPen);
  SelectObject(dc, firstBrush);
  DeleteObject(pen);
  DeleteObject(brush);

  if (m.OwnPopupActive) {
    const HBRUSH column = CreateSolidBrush(m.ImageColumnColor);
    const RECT r{2, 2, m.ImageColumnWidth + 12, H - 8};
    FillRect(dc, &r, column);
    DeleteObject(column);
  }

  for (int i = 1; i <= 4; ++i) ShadeLine(dc, W - i, true, i, H, true);
  // The bottom row stops where the right shadow begins: the corner is darkened once.
  for (int k = 1; k <= 4; ++k) ShadeLine(dc, H - k, false, k, W, false);
}

}  // namespace ornatek
