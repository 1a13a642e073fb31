// Block transfers row by row: one-to-one copies and bitwise operations with a
// solid brush or none, and pattern-only fills. Each row of the source is read
// into words of the destination's domain at once, combined with the
// destination's row by the operation, and written back, instead of asking
// the clipping, the scaling and the pixel formats again for every pixel.

#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "gdi/transfer.h"

namespace win::detail {

namespace {

// One-to-one: the source pixel of destination pixel p is p + shift, for p in
// `area` (the destination's pixels whose source lies in the source picture).
struct Placement {
  QRect area;
  QPoint shift;
};

bool ExtentUsable(int n) {
  return n != INT_MIN;  // its size has no int
}

// Extents of one size and one direction on both sides copy one-to-one (both
// negative ones cover the pixels before their starts, which is no mirror).
std::optional<Placement> OneToOne(const Canvas& dest, const Canvas& src, const Transfer& t) {
  if (!ExtentUsable(t.w) || !ExtentUsable(t.h) || !ExtentUsable(t.sw) || !ExtentUsable(t.sh))
    return std::nullopt;
  if (std::abs(t.w) != std::abs(t.sw) || std::abs(t.h) != std::abs(t.sh)) return std::nullopt;
  if ((t.w > 0) != (t.sw > 0) || (t.h > 0) != (t.sh > 0)) return std::nullopt;
  const QPoint shift = src.toTarget(t.sx, t.sy) - dest.toTarget(t.x, t.y);
  const PixelBuffer& sb = src.buffer();
  return Placement{DestinationArea(dest, t) & QRect(0, 0, sb.width, sb.height).translated(-shift),
                   shift};
}

// Calls visit(y, lo, hi, segments) for each row of `area` that the clip lets
// through, where segments are that row's visible runs [a, b) and [lo, hi)
// their hull. With source and destination in one picture, rows go in the
// order that reads every source row before it is written over.
template <class Visit>
void ForEachRow(const Canvas& dest, const QRect& area, const QPoint& shift, bool onePicture,
                Visit visit) {
  if (area.isEmpty()) return;
  std::vector<std::pair<int, int>> segments;
  const bool upwards = onePicture && shift.y() < 0;
  for (int k = 0; k < area.height(); ++k) {
    const int y = upwards ? area.bottom() - k : area.top() + k;
    segments.clear();
    int lo = INT_MAX, hi = INT_MIN;
    for (const ClipRect& r : dest.clip()) {
      if (y < r.top || y >= r.bottom) continue;
      const int a = std::max(r.left, area.left()), b = std::min(r.right, area.right() + 1);
      if (a >= b) continue;
      segments.emplace_back(a, b);
      lo = std::min(lo, a);
      hi = std::max(hi, b);
    }
    if (!segments.empty()) visit(y, lo, hi, segments);
  }
}

std::uint32_t Word(const std::uint8_t* row, int x) {
  std::uint32_t v;
  std::memcpy(&v, row + 4 * static_cast<std::ptrdiff_t>(x), 4);
  return v;
}

void PutWord(std::uint8_t* row, int x, std::uint32_t v) {
  std::memcpy(row + 4 * static_cast<std::ptrdiff_t>(x), &v, 4);
}

// n source pixels from (sx, sy) on, in the destination's domain.
void ReadSource(const SourceReader& reader, int sx, int sy, int n, std::uint32_t* out) {
  const PixelBuffer& sb = *reader.buf;
  if (sb.bitsPerPixel == 32) {
    const std::uint8_t* row = sb.row(sy);
    if (reader.destMono) {
      for (int i = 0; i < n; ++i) out[i] = reader.fromRgb(Word(row, sx + i) & 0xFFFFFF);
    } else {
      for (int i = 0; i < n; ++i) out[i] = Word(row, sx + i) & 0xFFFFFF;
    }
  } else if (reader.srcMono) {
    for (int i = 0; i < n; ++i) out[i] = reader.fromBit(sb.bit(sx + i, sy));
  } else {
    for (int i = 0; i < n; ++i) out[i] = reader.at(sx + i, sy);
  }
}

// n destination pixels from (x, y) on, in its domain.
void ReadDest(const Canvas& dest, int x, int y, int n, std::uint32_t* out) {
  const PixelBuffer& db = dest.buffer();
  if (db.bitsPerPixel == 32) {
    const std::uint8_t* row = db.row(y);
    for (int i = 0; i < n; ++i) out[i] = Word(row, x + i) & 0xFFFFFF;
  } else {
    for (int i = 0; i < n; ++i) out[i] = dest.read(x + i, y);
  }
}

void WriteDest(const Canvas& dest, int x, int y, int n, const std::uint32_t* values) {
  PixelBuffer& db = dest.buffer();
  if (db.bitsPerPixel == 32) {
    std::uint8_t* row = db.row(y);
    for (int i = 0; i < n; ++i) PutWord(row, x + i, 0xFF000000u | values[i]);
  } else {
    for (int i = 0; i < n; ++i) dest.write(x + i, y, values[i]);
  }
}

// d = code(p, s, d) over n pixels; d holds the destination only where the
// code reads it.
void Combine(std::uint8_t code, std::uint32_t p, const std::uint32_t* s, std::uint32_t* d, int n) {
  switch (code) {
    case 0xCC:  // SRCCOPY
      std::memcpy(d, s, static_cast<std::size_t>(n) * 4);
      return;
    case 0x88:  // SRCAND
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case 0xEE:  // SRCPAINT
      for (int i = 0; i < n; ++i) d[i] |= s[i];
      return;
    case 0x66:  // SRCINVERT
      for (int i = 0; i < n; ++i) d[i] ^= s[i];
      return;
    case 0x22:  // the destination where the source is clear
      for (int i = 0; i < n; ++i) d[i] &= ~s[i] & 0xFFFFFF;
      return;
    default:
      for (int i = 0; i < n; ++i) d[i] = ApplyRop3(code, p, s[i], d[i]);
      return;
  }
}

}  // namespace

bool TransferRows(const Canvas& dest, const Canvas* src, const Transfer& t, std::uint8_t code) {
  if (!src) {
    // The operation that ignores the brush gets a stand-in that paints everywhere.
    dest.fillRect(DestinationArea(dest, t),
                  RopUsesPattern(code) ? dest.brushPattern() : Pattern::Solid(0), code);
    return true;
  }
  // A picture filled on demand is told of every pixel written; a brush other
  // than a solid one varies along the row.
  if (dest.buffer().source) return false;
  std::uint32_t p = 0;
  if (RopUsesPattern(code) && !dest.brushPattern().solid(p)) return false;
  const std::optional<Placement> place = OneToOne(dest, *src, t);
  if (!place) return false;
  if (place->area.isEmpty()) return true;
  const QPoint shift = place->shift;
  src->buffer().willRead(place->area.translated(shift));
  const SourceReader reader(*src, dest);
  const bool readsDest = RopUsesDest(code);
  std::vector<std::uint32_t> sourceRow(static_cast<std::size_t>(place->area.width()));
  std::vector<std::uint32_t> destRow(sourceRow.size(), 0);
  ForEachRow(dest, place->area, shift, &dest.buffer() == &src->buffer(),
             [&](int y, int lo, int hi, const std::vector<std::pair<int, int>>& segments) {
               // The whole row is read before any of it is written.
               ReadSource(reader, lo + shift.x(), y + shift.y(), hi - lo, sourceRow.data());
               for (const auto& [a, b] : segments) {
                 if (readsDest) ReadDest(dest, a, y, b - a, destRow.data());
                 Combine(code, p, sourceRow.data() + (a - lo), destRow.data(), b - a);
                 WriteDest(dest, a, y, b - a, destRow.data());
               }
             });
  return true;
}

bool CopyKeepingAlphaRows(const Canvas& dest, const Canvas& src, const Transfer& t) {
  if (dest.buffer().source) return false;
  const PixelBuffer& sb = src.buffer();
  PixelBuffer& db = dest.buffer();
  const QPoint d0 = dest.toTarget(t.x, t.y);
  const QPoint shift = src.toTarget(t.sx, t.sy) - d0;
  const QRect area = QRect(d0, QSize(t.w, t.h)) & dest.clipBounds();
  if (area.isEmpty()) return true;
  sb.willRead(area.translated(shift));
  const QRect readable = area & QRect(0, 0, sb.width, sb.height).translated(-shift);
  if (readable.isEmpty()) return true;
  std::vector<std::uint32_t> row(static_cast<std::size_t>(readable.width()));
  const std::uint32_t opaque = sb.alpha ? 0 : 0xFF000000u;
  ForEachRow(dest, readable, shift, &db == &sb,
             [&](int y, int lo, int hi, const std::vector<std::pair<int, int>>& segments) {
               std::memcpy(row.data(), sb.row(y + shift.y()) + 4 * (lo + shift.x()),
                           static_cast<std::size_t>(hi - lo) * 4);
               for (const auto& [a, b] : segments) {
                 std::uint8_t* out = db.row(y);
                 for (int x = a; x < b; ++x)
                   PutWord(out, x, row[static_cast<std::size_t>(x - lo)] | opaque);
               }
             });
  return true;
}

}  // namespace win::detail
