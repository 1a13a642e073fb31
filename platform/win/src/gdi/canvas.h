#pragma once

// The drawing core: a DC resolved to its target buffer, its clipping as
// half-open rectangles in target coordinates, and pixel values in the
// destination's domain (0x00RRGGBB for colour buffers, 0 or 0xFFFFFF for
// monochrome device buffers), combined by ternary raster operations.

#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "gdi/colour.h"
#include "gdi/dc.h"

namespace win::detail {

struct ClipRect {
  int left, top, right, bottom;  // half-open
};

// Combines pattern, source and destination bitwise by the operation's code
// (the middle byte of a ternary raster operation).
inline std::uint32_t ApplyRop3(std::uint8_t code, std::uint32_t p, std::uint32_t s,
                               std::uint32_t d) {
  switch (code) {
    case 0x00:
      return 0;
    case 0xFF:
      return 0xFFFFFF;
    case 0xCC:
      return s;
    case 0xF0:
      return p;
    case 0xAA:
      return d;
    case 0x55:
      return ~d & 0xFFFFFF;
    case 0x66:
      return s ^ d;
    case 0x88:
      return s & d;
    case 0xEE:
      return s | d;
    case 0x5A:
      return p ^ d;
    default:
      break;
  }
  std::uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((code >> i) & 1)) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}
inline bool RopUsesSource(std::uint8_t code) {
  return ((code >> 2) ^ code) & 0x33;
}
inline bool RopUsesPattern(std::uint8_t code) {
  return ((code >> 4) ^ code) & 0x0F;
}
inline bool RopUsesDest(std::uint8_t code) {
  return ((code >> 1) ^ code) & 0x55;
}
// A binary raster operation (pen and destination) as a ternary code with the pen as pattern.
std::uint8_t Rop2AsRop3(int rop2);

// The pattern of a brush as it paints in one DC.
class Pattern {
 public:
  Pattern() = default;
  Pattern(const DeviceContext& dc, const BrushObject& brush, const PixelBuffer& dest);
  static Pattern Solid(std::uint32_t domainValue);
  bool empty() const { return kind_ == Kind::None; }
  // False where the pattern leaves the destination alone (hatch gaps drawn transparent).
  bool at(int tx, int ty, std::uint32_t& value) const;
  // True, with its one value, when every pixel of the pattern is the same.
  bool solid(std::uint32_t& value) const {
    value = fg_;
    return kind_ == Kind::Solid;
  }

 private:
  enum class Kind { None, Solid, Hatch, Bitmap };
  Kind kind_ = Kind::None;
  std::uint32_t fg_ = 0, bg_ = 0;
  bool bgTransparent_ = false;
  int hatch_ = 0;
  int orgX_ = 0, orgY_ = 0;  // target position of the pattern's (0,0)
  std::shared_ptr<const PixelBuffer> bitmap_;
  bool monoToColour_ = false, colourToMono_ = false;
};

class Canvas {
 public:
  // Empty (invalid) when the handle is not a DC with a target.
  static std::optional<Canvas> Of(HDC hdc);

  DeviceContext& dc() const { return *dc_; }
  PixelBuffer& buffer() const { return *buf_; }
  bool mono() const { return buf_->isMonoDevice(); }
  const std::vector<ClipRect>& clip() const { return clip_; }
  QRect clipBounds() const;
  bool visible(int tx, int ty) const;

  QPoint toTarget(int x, int y) const { return LogicalToTarget(*dc_, x, y); }
  QPoint offset() const { return toTarget(0, 0); }

  std::uint32_t read(int tx, int ty) const {
    return buf_->isMonoDevice() ? (buf_->bit(tx, ty) ? 0xFFFFFF : 0) : buf_->rgb(tx, ty);
  }
  void write(int tx, int ty, std::uint32_t v) const {
    if (buf_->isMonoDevice())
      buf_->setBit(tx, ty, v != 0);
    else
      buf_->setRgb(tx, ty, v);
  }
  // A COLORREF as a value of this destination.
  std::uint32_t domain(COLORREF c) const {
    const std::uint32_t rgb = RgbOf(c);
    return buf_->isMonoDevice() ? (IsLight(rgb) ? 0xFFFFFF : 0) : rgb;
  }

  Pattern brushPattern() const;  // the selected brush
  Pattern patternOf(const BrushObject&) const;
  PenInfo pen() const;  // the selected pen, DC pen resolved

  // Fills [x0, x1) of row ty (target coordinates) through the clip.
  void span(int ty, int x0, int x1, const Pattern& p, std::uint8_t code) const;
  void fillRect(const QRect& targetRect, const Pattern& p, std::uint8_t code) const;
  void plot(int tx, int ty, std::uint32_t value, std::uint8_t code) const;

 private:
  DeviceContext* dc_ = nullptr;
  PixelBuffer* buf_ = nullptr;
  std::vector<ClipRect> clip_;
};

// A set of target pixels, painted once whatever overlaps (wide lines, outlines).
class PixelMask {
 public:
  explicit PixelMask(QRect bounds);
  void set(int tx, int ty);
  bool get(int tx, int ty) const;
  const QRect& bounds() const { return bounds_; }
  void paint(const Canvas& c, const Pattern& p, std::uint8_t code) const;

 private:
  QRect bounds_;
  std::vector<std::uint8_t> bits_;
};

}  // namespace win::detail
