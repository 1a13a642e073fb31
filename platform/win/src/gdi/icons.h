#pragma once

// Icons: a monochrome mask and an optional colour picture.

#include <memory>

#include "gdi/surface.h"
#include "win/gdi_types.h"

namespace win::detail {

struct IconData {
  bool isIcon = true;
  POINT hotspot;
  std::shared_ptr<PixelBuffer> mask;    // 1 = transparent; twice the height when no colour
  std::shared_ptr<PixelBuffer> colour;  // nullptr for a monochrome icon
  int width() const { return mask ? mask->width : 0; }
  int height() const { return mask ? (colour ? mask->height : mask->height / 2) : 0; }
};

const IconData* FindIcon(HICON icon);
HICON AddIcon(IconData data);
std::shared_ptr<PixelBuffer> CopyPixels(const PixelBuffer& src);

}  // namespace win::detail
