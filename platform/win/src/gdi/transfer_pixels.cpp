// Block transfers pixel by pixel: the plain statement of what every transfer
// does, and the form that draws whatever the row-wise forms do not take.

#include <cstdlib>
#include <vector>

#include "gdi/transfer.h"

namespace win::detail {

QRect DestinationArea(const Canvas& dest, const Transfer& t) {
  if (t.w == 0 || t.h == 0) return QRect();
  const int aw = std::abs(t.w), ah = std::abs(t.h);
  const QPoint d0 = dest.toTarget(t.x, t.y);
  const QRect destRect(t.w > 0 ? d0.x() : d0.x() - aw, t.h > 0 ? d0.y() : d0.y() - ah, aw, ah);
  return destRect & dest.clipBounds();
}

void TransferPixels(const Canvas& dest, const Canvas* src, const Transfer& t, std::uint8_t code) {
  // Only the part of the destination that the clipping lets through is visited.
  const QRect area = DestinationArea(dest, t);
  if (area.isEmpty()) return;
  const std::size_t cells = static_cast<std::size_t>(area.width()) * area.height();
  // Source pixels are all read before anything is written, so a transfer
  // within one buffer (scrolling) sees the original picture.
  std::vector<std::uint32_t> sourceValues;
  std::vector<std::uint8_t> sourceValid;
  if (src) {
    const QPoint d0 = dest.toTarget(t.x, t.y), s0 = src->toTarget(t.sx, t.sy);
    const Axis sourceX{d0.x(), t.w, s0.x(), t.sw}, sourceY{d0.y(), t.h, s0.y(), t.sh};
    // The source positions run monotonically with the destination's, so the
    // corners of the area bound what is read.
    src->buffer().willRead(QRect(QPoint(sourceX(area.left()), sourceY(area.top())),
                                 QPoint(sourceX(area.right()), sourceY(area.bottom())))
                               .normalized());
    const SourceReader reader(*src, dest);
    sourceValues.assign(cells, 0);
    sourceValid.assign(cells, 0);
    for (int ty = area.top(); ty <= area.bottom(); ++ty) {
      const int sy = sourceY(ty);
      for (int tx = area.left(); tx <= area.right(); ++tx) {
        const int sx = sourceX(tx);
        if (!src->buffer().contains(sx, sy)) continue;
        const std::size_t k =
            static_cast<std::size_t>(ty - area.top()) * area.width() + (tx - area.left());
        sourceValues[k] = reader.at(sx, sy);
        sourceValid[k] = 1;
      }
    }
  }
  const Pattern pattern = dest.brushPattern();
  for (int ty = area.top(); ty <= area.bottom(); ++ty) {
    for (int tx = area.left(); tx <= area.right(); ++tx) {
      if (!dest.visible(tx, ty)) continue;
      std::uint32_t s = 0;
      if (src) {
        const std::size_t k =
            static_cast<std::size_t>(ty - area.top()) * area.width() + (tx - area.left());
        if (!sourceValid[k]) continue;
        s = sourceValues[k];
      }
      std::uint32_t p = 0;
      if (RopUsesPattern(code) && !pattern.at(tx, ty, p)) continue;
      // The destination is read only where the operation uses it: the screen
      // fetches what is read.
      dest.write(tx, ty, ApplyRop3(code, p, s, RopUsesDest(code) ? dest.read(tx, ty) : 0));
    }
  }
}

void CopyKeepingAlphaPixels(const Canvas& dest, const Canvas& src, const Transfer& t) {
  const QPoint d0 = dest.toTarget(t.x, t.y), s0 = src.toTarget(t.sx, t.sy);
  const QRect area = QRect(d0, QSize(t.w, t.h)) & dest.clipBounds();
  if (area.isEmpty()) return;
  PixelBuffer& db = dest.buffer();
  const PixelBuffer& sb = src.buffer();
  const QPoint shift = s0 - d0;
  sb.willRead(area.translated(shift));
  std::vector<std::uint32_t> rows(static_cast<std::size_t>(area.width()) * area.height(), 0);
  std::vector<std::uint8_t> valid(rows.size(), 0);
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (sb.contains(x + shift.x(), y + shift.y())) {
        const std::size_t k =
            static_cast<std::size_t>(y - area.top()) * area.width() + (x - area.left());
        const std::uint32_t v = sb.argb(x + shift.x(), y + shift.y());
        rows[k] = sb.alpha ? v : (0xFF000000u | v);
        valid[k] = 1;
      }
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const std::size_t k =
          static_cast<std::size_t>(y - area.top()) * area.width() + (x - area.left());
      if (valid[k] && dest.visible(x, y)) db.setArgb(x, y, rows[k]);
    }
}

}  // namespace win::detail
