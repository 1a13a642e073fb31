#pragma once

// A read-only view of a device-independent bitmap given as header, colour
// table and bits, with rows addressed top to bottom.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gdi/surface.h"
#include "win/gdi_types.h"

namespace win::detail {

struct DibView {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  bool topDown = false;
  std::size_t stride = 0;
  const std::uint8_t* bits = nullptr;
  std::vector<std::uint32_t> table;  // 0x00RRGGBB

  // Nothing for a header this layer does not read (compressed, 16 bits, ...).
  static std::optional<DibView> Of(const BITMAPINFO* info, const void* bits, UINT usage, HDC hdc);
  std::uint32_t rgb(int x, int y) const;  // y counted from the top
  std::shared_ptr<PixelBuffer> toBuffer() const;
};

}  // namespace win::detail
