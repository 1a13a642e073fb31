#pragma once

#include <algorithm>
#include <string>

class QFont;

namespace forms {

// A font as forms and controls describe it: face name and size in points.
struct Font {
  std::string Name = "MS Sans Serif";
  float Size = 8.25f;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  int Charset = 0;
  // The weight as a font object stores it, kept apart from Bold; 0 when
  // only Bold was given.
  int StoredWeight = 0;

  // The weight a drawn face takes: at least bold's when Bold is set.
  int Weight() const {
    const int fromBold = Bold ? 700 : 400;
    return StoredWeight ? (Bold ? std::max(StoredWeight, 700) : StoredWeight) : fromBold;
  }
  // The face the display really uses (Windows face names are substituted),
  // sized for a 96 dots-per-inch screen.
  QFont ToQFont() const;
  // A weight left to Bold equals the same weight stored.
  friend bool operator==(const Font& a, const Font& b) {
    auto stored = [](const Font& f) {
      return f.StoredWeight ? f.StoredWeight : (f.Bold ? 700 : 400);
    };
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic &&
           a.Underline == b.Underline && a.Strikethrough == b.Strikethrough &&
           a.Charset == b.Charset && stored(a) == stored(b);
  }
};

}  // namespace forms
