#pragma once

// Colour conversions between the platform's COLORREF (0x00BBGGRR, with an
// optional palette flag in the top byte) and the buffers' 0x00RRGGBB.

#include <cstdint>
#include <cstdlib>

#include "win/types.h"

namespace win::detail {

constexpr std::uint32_t RgbOf(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF RefOf(std::uint32_t rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr int Red(std::uint32_t rgb) {
  return static_cast<int>((rgb >> 16) & 0xFF);
}
constexpr int Green(std::uint32_t rgb) {
  return static_cast<int>((rgb >> 8) & 0xFF);
}
constexpr int Blue(std::uint32_t rgb) {
  return static_cast<int>(rgb & 0xFF);
}
constexpr std::uint32_t MakeRgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r & 0xFF) << 16) |
         (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}
// A colour that a monochrome device shows as white.
constexpr bool IsLight(std::uint32_t rgb) {
  return Red(rgb) + Green(rgb) + Blue(rgb) >= 384;
}
inline long ColourDistance(std::uint32_t a, std::uint32_t b) {
  const long dr = Red(a) - Red(b), dg = Green(a) - Green(b), db = Blue(a) - Blue(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace win::detail
