#include "menu_colours.h"

#include <cmath>

#include "forms/ole.h"

namespace ornatek {

namespace {

win::COLORREF Translate(Colour colour) {
  win::COLORREF rgb = 0;
  if (forms::OleTranslateColor(static_cast<forms::OLE_COLOR>(colour), win::HPALETTE(), &rgb) !=
      forms::S_OK)
    return 0;
  return rgb;
}

int Channel(win::COLORREF c, int shift) {
  return static_cast<int>((c >> shift) & 0xFF);
}

}  // namespace

win::COLORREF BlendColor(Colour colour1, Colour colour2, int alpha) {
  const win::COLORREF c1 = Translate(colour1);
  const win::COLORREF c2 = Translate(colour2);
  win::COLORREF out = c1 & 0xFF000000u;
  for (int shift : {0, 8, 16}) {
    const double mixed =
        ((255.0 - alpha) * Channel(c2, shift) + alpha * static_cast<double>(Channel(c1, shift))) /
        255.0;
    // The default rounding mode rounds halves to the even neighbour.
    out |= static_cast<win::COLORREF>(std::nearbyint(mixed)) << shift;
  }
  return out;
}

int ColorLuminance(Colour colour) {
  const win::COLORREF c = Translate(colour);
  return (Channel(c, 0) * 76 + Channel(c, 8) * 150 + Channel(c, 16) * 29) / 255;
}

}  // namespace ornatek
