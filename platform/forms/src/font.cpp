#include "forms/font.h"

#include "win/qt_bridge.h"

namespace forms {

QFont Font::ToQFont() const {
  QFont f(win::SubstituteFace(Name));
  // Points on a 96 dots-per-inch screen.
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(Size * 96.0 / 72.0))));
  f.setWeight(static_cast<QFont::Weight>(std::clamp(Weight(), 100, 900)));
  f.setItalic(Italic);
  f.setUnderline(Underline);
  f.setStrikeOut(Strikethrough);
  return f;
}

}  // namespace forms
