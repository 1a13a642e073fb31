// Block transfers row by row: copies, stretches and mirrors with any
// operation and a solid brush or none, and pattern-only fills. Where each
// destination column and row takes its source is worked out once; each row
// of the source is then read into words of the destination's domain at
// once, combined with the destination's row by the operation, and written
// back, instead of asking the clipping, the scaling and the pixel formats
// again for every pixel.

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gdi/transfer.h"

namespace win::detail {

namespace {

bool ExtentUsable(int n) {
  return n != 0 && n != INT_MIN;  // INT_MIN: its size has no int
}

// Where the sources of a transfer's destination pixels lie: for each pixel
// of `area` (those whose source lies in the source picture), the source
// column and row.
struct Mapping {
  QRect area;
  std::vector<int> columns, rows;
  bool oneToOne = false;  // source = destination + a fixed shift
};

// The positions `axis` maps [first, last] to, trimmed to those in [0, size):
// the mapping is monotonic, so they are one run. False if there are none.
bool MapAxis(const Axis& axis, int first, int last, int size, std::vector<int>& out,
             int& trimmedFirst) {
  out.clear();
  for (int t = first; t <= last; ++t) {
    const int s = axis(t);
    if (s >= 0 && s < size) {
      if (out.empty()) trimmedFirst = t;
      out.push_back(s);
    } else if (!out.empty()) {
      break;  // past the run
    }
  }
  return !out.empty();
}

Mapping MapTransfer(const Canvas& dest, const Canvas& src, const Transfer& t) {
  Mapping m;
  const QRect area = DestinationArea(dest, t);
  if (area.isEmpty()) return m;
  const QPoint d0 = dest.toTarget(t.x, t.y), s0 = src.toTarget(t.sx, t.sy);
  const Axis ax{d0.x(), t.w, s0.x(), t.sw}, ay{d0.y(), t.h, s0.y(), t.sh};
  int left = 0, top = 0;
  if (!MapAxis(ax, area.left(), area.right(), src.buffer().width, m.columns, left) ||
      !MapAxis(ay, area.top(), area.bottom(), src.buffer().height, m.rows, top)) {
    m.columns.clear();
    m.rows.clear();
    return m;
  }
  m.area = QRect(left, top, static_cast<int>(m.columns.size()), static_cast<int>(m.rows.size()));
  // Both extents of one size and one direction: no stretch, no mirror.
  m.oneToOne = std::abs(t.w) == std::abs(t.sw) && std::abs(t.h) == std::abs(t.sh) &&
               (t.w > 0) == (t.sw > 0) && (t.h > 0) == (t.sh > 0);
  return m;
}

// Calls visit(y, lo, hi, segments) for each row of `area` that the clip lets
// through, where segments are that row's visible runs [a, b) and [lo, hi)
// their hull; from the bottom row up if `upwards`.
template <class Visit>
void ForEachRow(const Canvas& dest, const QRect& area, bool upwards, Visit visit) {
  if (area.isEmpty()) return;
  std::vector<std::pair<int, int>> segments;
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

// The source pixels at `columns` of row sy, n of them, in the destination's
// domain; `contiguous` if the columns run one by one.
void ReadSource(const SourceReader& reader, const int* columns, bool contiguous, int sy, int n,
                std::uint32_t* out) {
  const PixelBuffer& sb = *reader.buf;
  if (sb.bitsPerPixel == 32) {
    const std::uint8_t* row = sb.row(sy);
    if (contiguous) {
      row += 4 * static_cast<std::ptrdiff_t>(columns[0]);
      if (reader.destMono) {
        for (int i = 0; i < n; ++i) out[i] = reader.fromRgb(Word(row, i) & 0xFFFFFF);
      } else {
        for (int i = 0; i < n; ++i) out[i] = Word(row, i) & 0xFFFFFF;
      }
    } else if (reader.destMono) {
      for (int i = 0; i < n; ++i) out[i] = reader.fromRgb(Word(row, columns[i]) & 0xFFFFFF);
    } else {
      for (int i = 0; i < n; ++i) out[i] = Word(row, columns[i]) & 0xFFFFFF;
    }
  } else if (reader.srcMono) {
    for (int i = 0; i < n; ++i) out[i] = reader.fromBit(sb.bit(columns[i], sy));
  } else {
    for (int i = 0; i < n; ++i) out[i] = reader.at(columns[i], sy);
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
  if (!ExtentUsable(t.w) || !ExtentUsable(t.h) || !ExtentUsable(t.sw) || !ExtentUsable(t.sh))
    return false;
  const Mapping map = MapTransfer(dest, *src, t);
  if (map.area.isEmpty()) return true;
  // Within one picture only a plain shift can be drawn in place, row by row
  // in the order that reads each row before it is written over.
  const bool onePicture = &dest.buffer() == &src->buffer();
  if (onePicture && !map.oneToOne) return false;
  const int firstSourceRow = map.rows.front(), lastSourceRow = map.rows.back();
  src->buffer().willRead(
      QRect(QPoint(map.columns.front(), firstSourceRow), QPoint(map.columns.back(), lastSourceRow))
          .normalized());
  const SourceReader reader(*src, dest);
  const bool readsDest = RopUsesDest(code);
  const bool upwards = onePicture && firstSourceRow < map.area.top();
  std::vector<std::uint32_t> sourceRow(map.columns.size());
  std::vector<std::uint32_t> destRow(sourceRow.size(), 0);
  const QRect& area = map.area;
  ForEachRow(dest, area, upwards,
             [&](int y, int lo, int hi, const std::vector<std::pair<int, int>>& segments) {
               // The whole row is read before any of it is written.
               const auto from = static_cast<std::size_t>(lo - area.left());
               ReadSource(reader, map.columns.data() + from, map.oneToOne,
                          map.rows[static_cast<std::size_t>(y - area.top())], hi - lo,
                          sourceRow.data());
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
  ForEachRow(dest, readable, &db == &sb && shift.y() < 0,
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
