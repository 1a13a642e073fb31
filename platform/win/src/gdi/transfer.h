#pragma once

// Block transfers between canvases. Every transfer has a pixel-by-pixel form
// that states what it does; the common ones (those with a solid brush or
// none, and fills) also have row-wise forms that give the same bytes much
// faster, and are tested against the pixel-by-pixel form.

#include <cstdint>
#include <cstdlib>

#include "gdi/canvas.h"

namespace win::detail {

// Reads source pixels in the destination's domain: monochrome sources take
// the destination DC's text colour for 0 and background colour for 1; colour
// sources going to a monochrome destination give 1 exactly where the pixel
// equals the source DC's background colour.
struct SourceReader {
  const PixelBuffer* buf = nullptr;
  bool srcMono = false, destMono = false;
  std::uint32_t destText = 0, destBk = 0, srcBk = 0;

  SourceReader(const Canvas& src, const Canvas& dest)
      : buf(&src.buffer()),
        srcMono(src.buffer().isMonoDevice()),
        destMono(dest.buffer().isMonoDevice()),
        destText(RgbOf(dest.dc().state.textColour)),
        destBk(RgbOf(dest.dc().state.bkColour)),
        srcBk(RgbOf(src.dc().state.bkColour)) {}

  // A source pixel as it reads in the destination.
  std::uint32_t fromBit(bool on) const {
    if (destMono) return on ? 0xFFFFFF : 0;
    return on ? destBk : destText;
  }
  std::uint32_t fromRgb(std::uint32_t rgb) const {
    if (destMono) return rgb == srcBk ? 0xFFFFFF : 0;
    return rgb;
  }
  std::uint32_t at(int x, int y) const {
    return srcMono ? fromBit(buf->bit(x, y)) : fromRgb(buf->rgb(x, y));
  }
};

struct Transfer {
  int x, y, w, h;      // destination, logical, signed extents
  int sx, sy, sw, sh;  // source, logical, signed extents
};

// Where the source of a destination pixel lies along one axis: a run of
// `extent` (signed) pixels from `start` in the destination takes the run of
// `sourceExtent` from `sourceStart`, stretched or shrunk by whole pixels. A
// positive extent runs right/down from its start, a negative one covers the
// pixels before its start from the far end, so that opposite signs mirror.
struct Axis {
  int start, extent, sourceStart, sourceExtent;
  int operator()(int target) const {
    const int index = extent > 0 ? target - start : start - 1 - target;
    const int j =
        static_cast<int>(static_cast<long long>(index) * std::abs(sourceExtent) / std::abs(extent));
    return sourceExtent > 0 ? sourceStart + j : sourceStart - 1 - j;
  }
};

// The destination's pixels a transfer covers, in target coordinates: a
// negative extent covers those before its start. Only the part within the
// clip's bounds; empty when nothing is drawn.
QRect DestinationArea(const Canvas& dest, const Transfer& t);

// Combines the source (none for a pattern-only code), the selected brush and
// the destination by the ternary code `code`, stretching the source's
// extents onto the destination's; a negative extent mirrors. Pixels whose
// source lies outside the source's picture are left alone.
void TransferPixels(const Canvas& dest, const Canvas* src, const Transfer& t, std::uint8_t code);

// A straight copy between 32-bit pictures into one whose top byte is alpha:
// the source's alpha goes with it (opaque for a source without alpha).
// Extents are not negative.
void CopyKeepingAlphaPixels(const Canvas& dest, const Canvas& src, const Transfer& t);

// The row-wise forms; false, having drawn nothing, where they do not apply.
bool TransferRows(const Canvas& dest, const Canvas* src, const Transfer& t, std::uint8_t code);
bool CopyKeepingAlphaRows(const Canvas& dest, const Canvas& src, const Transfer& t);

}  // namespace win::detail
