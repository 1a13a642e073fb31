#pragma once

#include <QFont>
#include <string>

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

  int Weight() const { return Bold ? 700 : 400; }
  // The face the display really uses (Windows face names are substituted),
  // sized for a 96 dots-per-inch screen.
  QFont ToQFont() const;
  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace forms
