#pragma once

// The internal face of the drawing layer that the window system builds on:
// pixel buffers, bitmap handles over them, surface device contexts for
// windows and the screen, and regions as Qt regions.

#include <QImage>
#include <QRegion>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "win/types.h"

namespace win::detail {

// A picture whose pixels are fetched only when first used (the screen): told
// before a pixel or a rectangle is read, and as a pixel is written.
class PixelSource {
 public:
  virtual ~PixelSource() = default;
  virtual void reading(const QRect& area) = 0;
  virtual void touching(int x, int y, bool write) = 0;
};

// One picture in memory. Colour buffers hold 0xAARRGGBB words (the alpha
// byte is 0xFF unless the buffer is a 32-bit DIB section with real alpha);
// monochrome buffers hold one bit a pixel, most significant bit first, 1 for
// white. Device-independent sections may also be 4, 8 or 24 bits a pixel with
// a colour table, and keep the caller's row order: their rows are reached
// through row(), whose stride is negative for bottom-up sections.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;             // 1, 4, 8, 24 or 32
  std::ptrdiff_t stride = 0;         // bytes from one row to the next (top to bottom)
  std::vector<std::uint32_t> table;  // colour table, 0x00RRGGBB; empty: device bitmap
  bool dib = false;                  // made by CreateDIBSection (keeps its bit layout)
  bool alpha = false;                // 32-bit section: the top byte is real alpha
  bool bottomUp = false;
  PixelSource* source = nullptr;  // 32-bit buffers filled on demand; outlives its use

  PixelBuffer(int w, int h, int bpp, bool isDib, bool isBottomUp);
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

  std::uint8_t* row(int y) { return top_ + y * stride; }
  const std::uint8_t* row(int y) const { return top_ + y * stride; }
  std::uint8_t* bits() { return storage_.get(); }  // lowest address, the platform's "bits"
  std::size_t sizeBytes() const { return size_; }
  std::size_t bytesPerRow() const {
    return static_cast<std::size_t>(stride < 0 ? -stride : stride);
  }

  bool isMonoDevice() const { return bitsPerPixel == 1 && table.empty(); }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Announces a rectangle about to be read pixel by pixel, so that a buffer
  // filled on demand fetches it at once.
  void willRead(const QRect& area) const {
    if (source) source->reading(area);
  }

  // Colour of a pixel as 0x00RRGGBB; a monochrome device pixel reads black or white.
  std::uint32_t rgb(int x, int y) const;
  // Writes 0x00RRGGBB; indexed buffers take the nearest table entry, monochrome
  // device buffers white for light colours.
  void setRgb(int x, int y, std::uint32_t rgb);
  // Whole 32-bit word of a 32-bit buffer (with alpha).
  std::uint32_t argb(int x, int y) const;
  void setArgb(int x, int y, std::uint32_t argb);
  bool bit(int x, int y) const;
  void setBit(int x, int y, bool on);
  int nearestIndex(std::uint32_t rgb) const;

 private:
  struct Free {
    void operator()(std::uint8_t* p) const;
  };
  // Zeroed by the system as pages are first touched: a picture filled on
  // demand costs only the part of it that is used.
  std::unique_ptr<std::uint8_t[], Free> storage_;
  std::size_t size_ = 0;
  std::uint8_t* top_ = nullptr;
};

// Row length in bytes of a device-independent row, padded to 32 bits.
std::size_t DibStride(int width, int bitsPerPixel);
// Whether a picture of this size may be made (a damaged header must not
// exhaust memory).
bool SizeAllowed(int width, int height, int bitsPerPixel);

std::shared_ptr<PixelBuffer> MakeColourBuffer(int width, int height, COLORREF fill);
std::shared_ptr<PixelBuffer> MakeMonoBuffer(int width, int height);
std::shared_ptr<PixelBuffer> BufferOf(HBITMAP bitmap);  // nullptr if not a bitmap
HBITMAP AdoptBuffer(std::shared_ptr<PixelBuffer> buffer);
QImage ToQImage(const PixelBuffer& buffer);  // a copy, RGB32 (ARGB32 for alpha sections)
// A copy of the part `area` of the buffer (clipped to it), in the format the
// whole copy would have: a repaint then copies only the pixels it shows.
QImage ToQImage(const PixelBuffer& buffer, const QRect& area);
std::shared_ptr<PixelBuffer> FromQImage(const QImage& image);  // 32-bit copy

// A DC whose (0,0) is `origin` in `target`, drawing clipped to `clip` (target
// coordinates). Window painting and the screen context use these.
HDC CreateSurfaceDC(std::shared_ptr<PixelBuffer> target, POINT origin, const QRegion& clip);
bool ReleaseSurfaceDC(HDC hdc);

std::optional<QRegion> RegionOf(HRGN region);
HRGN AdoptRegion(const QRegion& region);

}  // namespace win::detail
