#include "core/screen_picture.h"

#include <algorithm>
#include <cstring>

namespace win::detail {

ScreenPicture::ScreenPicture(QSize size, Fetch fetch)
    : buffer_(std::make_shared<PixelBuffer>(size.width(), size.height(), 32, false, false)),
      pristine_(size, QImage::Format_RGB32),
      fetch_(std::move(fetch)),
      columns_((size.width() + kTile - 1) / kTile),
      rows_((size.height() + kTile - 1) / kTile),
      tiles_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {
  buffer_->source = this;
}

ScreenPicture::~ScreenPicture() {
  buffer_->source = nullptr;
}

QRect ScreenPicture::drawn() const {
  if (right_ < 0) return QRect();
  return QRect(QPoint(left_, top_), QPoint(right_, bottom_));
}

bool ScreenPicture::fetched(int x, int y) const {
  if (!buffer_->contains(x, y)) return false;
  return tiles_[static_cast<std::size_t>(y / kTile) * static_cast<std::size_t>(columns_) +
                static_cast<std::size_t>(x / kTile)];
}

void ScreenPicture::reading(const QRect& wanted) {
  const QRect area = wanted & QRect(QPoint(0, 0), size());
  if (area.isEmpty()) return;
  // One fetch covers the tiles still missing under the area.
  int c0 = columns_, r0 = rows_, c1 = -1, r1 = -1;
  for (int r = area.top() / kTile; r <= area.bottom() / kTile; ++r)
    for (int c = area.left() / kTile; c <= area.right() / kTile; ++c)
      if (!tile(c, r)) {
        c0 = std::min(c0, c);
        c1 = std::max(c1, c);
        r0 = std::min(r0, r);
        r1 = r;
      }
  if (c1 < 0) return;
  const QRect box = QRect(c0 * kTile, r0 * kTile, (c1 - c0 + 1) * kTile, (r1 - r0 + 1) * kTile) &
                    QRect(QPoint(0, 0), size());
  QImage shot = fetch_ ? fetch_(box) : QImage();
  if (shot.size() != box.size()) {
    shot = QImage(box.size(), QImage::Format_RGB32);
    shot.fill(Qt::black);
  }
  if (shot.format() != QImage::Format_RGB32) shot = shot.convertToFormat(QImage::Format_RGB32);
  // Tiles fetched before may already carry drawing: only the missing ones are filled.
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      if (tile(c, r)) continue;
      tile(c, r) = 1;
      const QRect t = QRect(c * kTile, r * kTile, kTile, kTile) & box;
      const auto bytes = static_cast<std::size_t>(t.width()) * 4;
      for (int y = t.top(); y <= t.bottom(); ++y) {
        const uchar* from = shot.constScanLine(y - box.top()) + 4 * (t.left() - box.left());
        std::memcpy(buffer_->row(y) + 4 * t.left(), from, bytes);
        std::memcpy(pristine_.scanLine(y) + 4 * t.left(), from, bytes);
      }
    }
}

void ScreenPicture::touching(int x, int y, bool write) {
  if (!buffer_->contains(x, y)) return;
  // A pixel drawn on is fetched first too: the overlay compares it with the
  // screen, and raster operations may combine with it.
  if (!fetched(x, y)) reading(QRect(x, y, 1, 1));
  if (!write) return;
  if (right_ < 0) {
    left_ = right_ = x;
    top_ = bottom_ = y;
    return;
  }
  left_ = std::min(left_, x);
  right_ = std::max(right_, x);
  top_ = std::min(top_, y);
  bottom_ = std::max(bottom_, y);
}

}  // namespace win::detail
