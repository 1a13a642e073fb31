#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "gdi/colour.h"
#include "gdi/surface.h"

namespace win::detail {

std::size_t DibStride(int width, int bitsPerPixel) {
  const auto bits = static_cast<std::size_t>(std::max(width, 0)) * bitsPerPixel;
  return ((bits + 31) / 32) * 4;
}

bool SizeAllowed(int width, int height, int bitsPerPixel) {
  constexpr std::size_t kMaxBytes = std::size_t{512} << 20;
  if (width < 0 || height < 0 || width > (1 << 20) || height > (1 << 20)) return false;
  return DibStride(width, bitsPerPixel) * static_cast<std::size_t>(height) <= kMaxBytes;
}

PixelBuffer::PixelBuffer(int w, int h, int bpp, bool isDib, bool isBottomUp)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      bitsPerPixel(bpp),
      dib(isDib),
      bottomUp(isBottomUp) {
  const std::size_t rowBytes = DibStride(width, bpp);
  size_ = rowBytes * static_cast<std::size_t>(height);
  storage_.reset(static_cast<std::uint8_t*>(std::calloc(std::max<std::size_t>(size_, 1), 1)));
  if (!storage_) throw std::bad_alloc();
  if (bottomUp && height > 0) {
    top_ = storage_.get() + rowBytes * static_cast<std::size_t>(height - 1);
    stride = -static_cast<std::ptrdiff_t>(rowBytes);
  } else {
    top_ = storage_.get();
    stride = static_cast<std::ptrdiff_t>(rowBytes);
  }
}

void PixelBuffer::Free::operator()(std::uint8_t* p) const {
  std::free(p);
}

std::uint32_t PixelBuffer::argb(int x, int y) const {
  if (source) source->touching(x, y, false);
  std::uint32_t v;
  std::memcpy(&v, row(y) + 4 * x, 4);
  return v;
}

void PixelBuffer::setArgb(int x, int y, std::uint32_t v) {
  if (source) source->touching(x, y, true);
  std::memcpy(row(y) + 4 * x, &v, 4);
}

bool PixelBuffer::bit(int x, int y) const {
  return (row(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

void PixelBuffer::setBit(int x, int y, bool on) {
  std::uint8_t& b = row(y)[x >> 3];
  const std::uint8_t m = static_cast<std::uint8_t>(0x80 >> (x & 7));
  b = on ? (b | m) : (b & ~m);
}

int PixelBuffer::nearestIndex(std::uint32_t rgb) const {
  int best = 0;
  long bestDist = -1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const long d = ColourDistance(table[i], rgb);
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

std::uint32_t PixelBuffer::rgb(int x, int y) const {
  switch (bitsPerPixel) {
    case 32:
      return argb(x, y) & 0x00FFFFFF;
    case 24: {
      const std::uint8_t* p = row(y) + 3 * x;
      return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
             (static_cast<std::uint32_t>(p[2]) << 16);
    }
    case 1: {
      const bool on = bit(x, y);
      if (table.empty()) return on ? 0xFFFFFF : 0;
      return table[on && table.size() > 1 ? 1 : 0];
    }
    case 4: {
      const std::uint8_t b = row(y)[x >> 1];
      const std::size_t i = (x & 1) ? (b & 0x0F) : (b >> 4);
      return i < table.size() ? table[i] : 0;
    }
    case 8: {
      const std::size_t i = row(y)[x];
      return i < table.size() ? table[i] : 0;
    }
    default:
      return 0;
  }
}

void PixelBuffer::setRgb(int x, int y, std::uint32_t c) {
  c &= 0x00FFFFFF;
  switch (bitsPerPixel) {
    case 32:
      setArgb(x, y, 0xFF000000u | c);
      break;
    case 24: {
      std::uint8_t* p = row(y) + 3 * x;
      p[0] = static_cast<std::uint8_t>(c);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c >> 16);
      break;
    }
    case 1:
      setBit(x, y, table.empty() ? IsLight(c) : nearestIndex(c) == 1);
      break;
    case 4: {
      std::uint8_t& b = row(y)[x >> 1];
      const auto i = static_cast<std::uint8_t>(nearestIndex(c) & 0x0F);
      b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | i)
                  : static_cast<std::uint8_t>((b & 0x0F) | (i << 4));
      break;
    }
    case 8:
      row(y)[x] = static_cast<std::uint8_t>(nearestIndex(c));
      break;
    default:
      break;
  }
}

std::shared_ptr<PixelBuffer> MakeColourBuffer(int width, int height, COLORREF fill) {
  auto buffer = std::make_shared<PixelBuffer>(width, height, 32, false, false);
  if (buffer->height == 0) return buffer;
  const std::uint32_t v = 0xFF000000u | RgbOf(fill);
  std::uint8_t* first = buffer->row(0);
  for (int x = 0; x < buffer->width; ++x) std::memcpy(first + 4 * x, &v, 4);
  for (int y = 1; y < buffer->height; ++y)
    std::memcpy(buffer->row(y), first, 4 * static_cast<std::size_t>(buffer->width));
  return buffer;
}

std::shared_ptr<PixelBuffer> MakeMonoBuffer(int width, int height) {
  return std::make_shared<PixelBuffer>(width, height, 1, false, false);
}

namespace {
// A 32-bit section written only through its bits often leaves alpha at 0
// everywhere; such a picture is meant opaque.
bool HasMeaningfulAlpha(const PixelBuffer& b) {
  if (!b.alpha || b.bitsPerPixel != 32) return false;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x)
      if (b.argb(x, y) >> 24) return true;
  return false;
}
}  // namespace

QImage ToQImage(const PixelBuffer& buffer) {
  return ToQImage(buffer, QRect(0, 0, buffer.width, buffer.height));
}

QImage ToQImage(const PixelBuffer& buffer, const QRect& area) {
  const QRect part = area & QRect(0, 0, buffer.width, buffer.height);
  // The format follows the whole buffer, so that a part looks as it does in
  // the whole picture.
  const bool withAlpha = HasMeaningfulAlpha(buffer);
  QImage image(part.width(), part.height(),
               withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return image;
  const int x0 = part.x(), w = part.width();
  for (int y = 0; y < part.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    const int by = part.y() + y;
    if (buffer.bitsPerPixel == 32) {
      std::memcpy(out, buffer.row(by) + static_cast<std::size_t>(x0) * 4,
                  static_cast<std::size_t>(w) * 4);
      // Sections may leave the top byte 0; an opaque picture needs it set.
      if (!withAlpha && buffer.alpha)
        for (int x = 0; x < w; ++x) out[x] |= 0xFF000000u;
    } else {
      for (int x = 0; x < w; ++x) out[x] = 0xFF000000u | buffer.rgb(x0 + x, by);
    }
  }
  return image;
}

std::shared_ptr<PixelBuffer> FromQImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  auto buffer = std::make_shared<PixelBuffer>(image.width(), image.height(), 32, false, false);
  if (image.hasAlphaChannel() && source.hasAlphaChannel()) buffer->alpha = true;
  // Row by row in place: a whole screen passes through here for every
  // screen context.
  const std::size_t rowBytes = 4 * static_cast<std::size_t>(buffer->width);
  std::vector<QRgb> opaque(static_cast<std::size_t>(buffer->width));
  for (int y = 0; y < buffer->height; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    if (buffer->alpha) {
      std::memcpy(buffer->row(y), in, rowBytes);
      continue;
    }
    for (int x = 0; x < buffer->width; ++x)
      opaque[static_cast<std::size_t>(x)] = 0xFF000000u | in[x];
    std::memcpy(buffer->row(y), opaque.data(), rowBytes);
  }
  return buffer;
}

}  // namespace win::detail
