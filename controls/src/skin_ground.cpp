#include "skin_ground.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "forms/errors.h"
#include "forms/picture.h"

namespace controls::detail {

namespace {
constexpr int kButtonTop = 5;
}  // namespace

forms::Picture LaidOver(const forms::Picture& strip, const std::function<QColor(int row)>& ground) {
  if (!strip) return strip;
  QImage opaque(strip.PixelWidth(), strip.PixelHeight(), QImage::Format_RGB32);
  QPainter p(&opaque);
  for (int y = 0; y < opaque.height(); ++y) p.fillRect(0, y, opaque.width(), 1, ground(y));
  p.drawImage(0, 0, strip.Image());
  p.end();
  return forms::Picture::FromImage(std::move(opaque), strip.Type());
}

QColor CaptionBarBehindButton(int row) {
  // The middle of the caption picture, which the frame stretches along the bar.
  // Read as the runtime reads pictures: by their first bytes, without
  // loading every image plugin before the first window shows.
  static const QImage bar = [] {
    try {
      return forms::LoadPicture(":/pictures/skin/top_active.png").Image();
    } catch (const forms::RuntimeError&) {
      // The picture is built into the program; without it the bar has its usual blue.
      return QImage();
    }
  }();
  if (bar.isNull()) return QColor(0, 84, 227);
  return bar.pixelColor(bar.width() / 2, std::clamp(kButtonTop + row, 0, bar.height() - 1));
}

}  // namespace controls::detail
