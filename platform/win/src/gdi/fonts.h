#pragma once

// Logical fonts matched to real faces through Qt and fontconfig, with the
// text metrics taken from the face.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <memory>
#include <vector>

#include "gdi/objects.h"

namespace win::detail {

struct FontFace {
  QFont font;
  QFontMetricsF metrics;
  TEXTMETRICA tm;
  std::string faceName;  // what GetTextFaceA reports
  explicit FontFace(const QFont& f) : font(f), metrics(f) {}
};

// The face of a font handle (the system font when the handle is stale);
// nothing while no GUI application exists.
std::shared_ptr<const FontFace> FaceOf(HFONT font);

// Text of an "A" function: UTF-8, or Latin-1 when the bytes are not UTF-8.
// `byteLengths` receives the number of bytes behind each UTF-16 unit (0 for
// the second half of a surrogate pair).
QString DecodeText(const char* text, int length, std::vector<int>* byteLengths = nullptr);

}  // namespace win::detail
