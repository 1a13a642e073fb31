#include "win/qt_bridge.h"

#include "gdi/icons.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win {
using namespace detail;

QImage ToQImage(HBITMAP bitmap) {
  auto buffer = BufferOf(bitmap);
  return buffer ? detail::ToQImage(*buffer) : QImage();
}

HBITMAP BitmapFromQImage(const QImage& image) {
  if (image.isNull()) return HBITMAP();
  return AdoptBuffer(FromQImage(image));
}

HICON IconFromQImage(const QImage& source) {
  if (source.isNull()) return HICON();
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  IconData data;
  data.mask = MakeMonoBuffer(image.width(), image.height());
  data.colour = std::make_shared<PixelBuffer>(image.width(), image.height(), 32, false, false);
  data.colour->alpha = image.hasAlphaChannel();
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const bool transparent = qAlpha(line[x]) < 128;
      data.mask->setBit(x, y, transparent);
      // Masked pixels are black so that the image part leaves them alone.
      const QRgb v = transparent ? (line[x] & 0xFF000000u) : line[x];
      data.colour->setArgb(x, y, data.colour->alpha ? v : (0xFF000000u | v));
    }
  }
  return AddIcon(std::move(data));
}

QImage ToQImage(HICON icon) {
  const IconData* data = FindIcon(icon);
  if (!data) return QImage();
  const int w = data->width(), h = data->height();
  QImage image(w, h, QImage::Format_ARGB32);
  bool alpha = false;
  if (data->colour && data->colour->alpha)
    for (int y = 0; y < h && !alpha; ++y)
      for (int x = 0; x < w && !alpha; ++x) alpha = (data->colour->argb(x, y) >> 24) != 0;
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      if (alpha) {
        line[x] = data->colour->argb(x, y);
        continue;
      }
      const bool transparent = data->mask->bit(x, y);
      const std::uint32_t rgb =
          data->colour ? data->colour->rgb(x, y) : (data->mask->bit(x, y + h) ? 0xFFFFFF : 0);
      line[x] = transparent ? 0u : (0xFF000000u | rgb);
    }
  }
  return image;
}

}  // namespace win
