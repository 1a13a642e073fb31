#pragma once

// Drawing calls that only the layer itself makes (icons, metafiles, menus),
// kept out of the public interface that the suite builds on.

#include "win/gdi_types.h"

namespace win {

HBRUSH CreateHatchBrush(int hatch, COLORREF colour);
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, BLENDFUNCTION blend);
BOOL Polygon(HDC hdc, const POINT* points, int count);
int DrawTextA(HDC hdc, LPCSTR text, int length, RECT* rect, UINT format);
BOOL InflateRect(RECT* rect, int dx, int dy);
BOOL OffsetRect(RECT* rect, int dx, int dy);

}  // namespace win
