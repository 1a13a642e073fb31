// The row-wise block transfers against the pixel-by-pixel ones: over random
// pictures of every format, random clipping, origins, brushes, colours,
// rectangles (empty, negative, reaching past either picture, overlapping
// within one picture), stretches, mirrors and operations, both must leave
// the same bytes.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/layer_calls.h"
#include "gdi/surface.h"
#include "gdi/transfer.h"
#include "win/gdi.h"

using namespace win;
using namespace win::detail;

namespace {

// Few colours, so that a colour source going to a monochrome picture meets
// its key colour often.
constexpr std::array<std::uint32_t, 5> kColours = {0x000000, 0xFFFFFF, 0xC0C0C0, 0x0000FF,
                                                   0x808000};

enum class Format { Device32, Mono, Dib32, Dib24BottomUp, Dib8, Dib4BottomUp, Dib1 };
constexpr std::array<Format, 7> kFormats = {
    Format::Device32, Format::Mono,         Format::Dib32, Format::Dib24BottomUp,
    Format::Dib8,     Format::Dib4BottomUp, Format::Dib1};

std::shared_ptr<PixelBuffer> MakeBuffer(Format f, int w, int h, std::mt19937& rng) {
  auto colour = [&] { return kColours[rng() % kColours.size()]; };
  std::shared_ptr<PixelBuffer> b;
  int tableSize = 0;
  switch (f) {
    case Format::Device32:
      b = std::make_shared<PixelBuffer>(w, h, 32, false, false);
      break;
    case Format::Mono:
      b = std::make_shared<PixelBuffer>(w, h, 1, false, false);
      break;
    case Format::Dib32:
      b = std::make_shared<PixelBuffer>(w, h, 32, true, false);
      b->alpha = true;
      break;
    case Format::Dib24BottomUp:
      b = std::make_shared<PixelBuffer>(w, h, 24, true, true);
      break;
    case Format::Dib8:
      b = std::make_shared<PixelBuffer>(w, h, 8, true, false);
      tableSize = 6;  // indices past the table read black
      break;
    case Format::Dib4BottomUp:
      b = std::make_shared<PixelBuffer>(w, h, 4, true, true);
      tableSize = 16;
      break;
    case Format::Dib1:
      b = std::make_shared<PixelBuffer>(w, h, 1, true, false);
      tableSize = 2;
      break;
  }
  for (int i = 0; i < tableSize; ++i) b->table.push_back(colour());
  std::uint8_t* bytes = b->bits();
  for (std::size_t i = 0; i < b->sizeBytes(); ++i) bytes[i] = static_cast<std::uint8_t>(rng());
  if (b->bitsPerPixel >= 24) {
    const int size = b->bitsPerPixel / 8;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t c = colour();
        std::memcpy(b->row(y) + size * x, &c, 3);  // the top byte keeps its random alpha
      }
  }
  return b;
}

// A DC on a picture: a memory DC holding it as a bitmap, or a surface DC
// with an origin and a clip of its own.
class Picture {
 public:
  Picture(std::shared_ptr<PixelBuffer> buffer, std::mt19937& rng) : buffer_(buffer) {
    auto between = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
    if (rng() % 2) {
      bitmap_ = AdoptBuffer(buffer);
      dc_ = CreateCompatibleDC(HDC());
      old_ = SelectObject(dc_, bitmap_);
    } else {
      const POINT origin{between(-buffer->width / 4, buffer->width / 4),
                         between(-buffer->height / 4, buffer->height / 4)};
      QRegion clip(between(-4, buffer->width / 2), between(-4, buffer->height / 2),
                   between(0, buffer->width + 4), between(0, buffer->height + 4));
      clip |= QRect(between(0, buffer->width), between(0, buffer->height), between(1, 9),
                    between(1, 9));
      dc_ = CreateSurfaceDC(buffer, origin, clip);
    }
    if (rng() % 3 == 0) {
      // A clip region of several rectangles, some of them touching.
      const int w = buffer->width, h = buffer->height;
      auto rect = [&] {
        const int left = between(-3, w - 1), top = between(-3, h - 1);
        return CreateRectRgn(left, top, left + between(1, w + 3), top + between(1, h + 3));
      };
      const HRGN region = rect();
      for (int k = static_cast<int>(rng() % 4); k > 0; --k) {
        const HRGN more = rect();
        CombineRgn(region, region, more, rng() % 3 ? RGN_OR : RGN_XOR);
        DeleteObject(more);
      }
      SelectClipRgn(dc_, region);
      DeleteObject(region);
    }
    SetTextColor(dc_, RefOf(kColours[rng() % kColours.size()]));
    SetBkColor(dc_, RefOf(kColours[rng() % kColours.size()]));
    SetBkMode(dc_, rng() % 2 ? OPAQUE : TRANSPARENT);
  }
  ~Picture() {
    if (bitmap_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
      DeleteObject(bitmap_);
    } else {
      ReleaseSurfaceDC(dc_);
    }
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC dc() const { return dc_; }
  const PixelBuffer& buffer() const { return *buffer_; }

 private:
  std::shared_ptr<PixelBuffer> buffer_;
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
};

// A brush that the transfer combines: solid, hatched, a pattern, none.
class Brush {
 public:
  Brush(HDC dc, std::mt19937& rng) {
    const COLORREF colour = RefOf(kColours[rng() % kColours.size()]);
    switch (rng() % 4) {
      case 0:
        brush_ = CreateSolidBrush(colour);
        break;
      case 1:
        brush_ = CreateHatchBrush(static_cast<int>(rng() % 6), colour);
        break;
      case 2: {
        auto bits = std::make_shared<PixelBuffer>(8, 8, 1, false, false);
        for (std::size_t i = 0; i < bits->sizeBytes(); ++i)
          bits->bits()[i] = static_cast<std::uint8_t>(rng());
        pattern_ = AdoptBuffer(bits);
        brush_ = CreatePatternBrush(pattern_);
        break;
      }
      default:
        break;
    }
    old_ = SelectObject(dc, brush_ ? HGDIOBJ(brush_) : GetStockObject(NULL_BRUSH));
    dc_ = dc;
  }
  ~Brush() {
    SelectObject(dc_, old_);
    if (brush_) DeleteObject(brush_);
    if (pattern_) DeleteObject(pattern_);
  }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;

 private:
  HBRUSH brush_;
  HBITMAP pattern_;
  HDC dc_;
  HGDIOBJ old_;
};

// The codes the suite draws with, the pattern-only ones, and any other.
std::uint8_t RandomCode(std::mt19937& rng) {
  static constexpr std::array<std::uint8_t, 20> kNamed = {0xCC, 0x88, 0xEE, 0x66, 0x22, 0x44, 0x33,
                                                          0x11, 0xC0, 0xBB, 0xF0, 0xFB, 0x5A, 0x55,
                                                          0x00, 0xFF, 0xAA, 0xE2, 0xB8, 0x0F};
  if (rng() % 5 == 0) return static_cast<std::uint8_t>(rng());
  return kNamed[rng() % kNamed.size()];
}

// Where a transfer goes, picked so that one-to-one copies are common.
Transfer RandomTransfer(const PixelBuffer& dest, const PixelBuffer& src, std::mt19937& rng) {
  auto between = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
  // Mostly forwards and within the pictures; sometimes backwards, empty or past an edge.
  auto extent = [&](int size) {
    switch (rng() % 8) {
      case 0:
        return -between(0, size + 4);
      case 1:
        return between(0, size + 8);
      default:
        return between(1, size);
    }
  };
  auto start = [&](int size) { return rng() % 8 ? between(0, size - 1) : between(-4, size + 4); };
  Transfer t{};
  t.x = start(dest.width);
  t.y = start(dest.height);
  t.w = extent(dest.width);
  t.h = extent(dest.height);
  t.sx = start(src.width);
  t.sy = start(src.height);
  switch (rng() % 4) {
    case 0:  // stretched or mirrored
      t.sw = between(1, src.width + 4) * (rng() % 2 ? 1 : -1);
      t.sh = between(1, src.height + 4) * (rng() % 2 ? 1 : -1);
      break;
    case 1:  // mirrored one way or both at one-to-one size
      t.sw = rng() % 2 ? -t.w : t.w;
      t.sh = rng() % 2 ? -t.h : t.h;
      break;
    default:
      t.sw = t.w;
      t.sh = t.h;
      break;
  }
  if (t.sw == 0) t.sw = 1;
  if (t.sh == 0) t.sh = 1;
  return t;
}

// The first pixel row at which two pictures differ, or -1.
int FirstDifferentRow(const PixelBuffer& a, const PixelBuffer& b) {
  for (int y = 0; y < a.height; ++y)
    if (std::memcmp(a.row(y), b.row(y), a.bytesPerRow()) != 0) return y;
  return -1;
}

// One random case drawn on a fresh copy of its pictures; `fast` says whether
// the row-wise form took it.
struct Outcome {
  std::vector<std::uint8_t> dest, src;
  bool fast = false;
  std::shared_ptr<PixelBuffer> destBuffer;
};

Outcome Draw(unsigned seed, bool rowWise) {
  std::mt19937 rng(seed);
  auto between = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
  const Format destFormat = kFormats[rng() % kFormats.size()];
  const Format srcFormat = kFormats[rng() % kFormats.size()];
  const bool onePicture = rng() % 4 == 0;
  // Now and then a picture of one row or column.
  auto size = [&](int most) { return rng() % 8 ? between(4, most) : between(1, 3); };
  auto destBuffer = MakeBuffer(destFormat, size(33), size(21), rng);
  auto srcBuffer = onePicture ? destBuffer : MakeBuffer(srcFormat, size(33), size(21), rng);
  Picture dest(destBuffer, rng);
  std::unique_ptr<Picture> other;
  if (!onePicture) other = std::make_unique<Picture>(srcBuffer, rng);
  const Picture& src = onePicture ? dest : *other;
  Brush brush(dest.dc(), rng);
  const std::uint8_t code = RandomCode(rng);
  const Transfer t = RandomTransfer(*destBuffer, *srcBuffer, rng);
  const bool keepAlpha = rng() % 3 == 0;

  const auto d = Canvas::Of(dest.dc());
  const auto s = Canvas::Of(src.dc());
  Outcome out;
  if (keepAlpha && destBuffer->alpha && srcBuffer->bitsPerPixel == 32 && t.w >= 0 && t.h >= 0) {
    out.fast = rowWise && CopyKeepingAlphaRows(*d, *s, t);
    if (!out.fast) CopyKeepingAlphaPixels(*d, *s, t);
  } else {
    const Canvas* source = RopUsesSource(code) ? &*s : nullptr;
    out.fast = rowWise && TransferRows(*d, source, t, code);
    if (!out.fast) TransferPixels(*d, source, t, code);
  }
  out.dest.assign(destBuffer->bits(), destBuffer->bits() + destBuffer->sizeBytes());
  out.src.assign(srcBuffer->bits(), srcBuffer->bits() + srcBuffer->sizeBytes());
  out.destBuffer = destBuffer;
  return out;
}

}  // namespace

TEST(Transfers, RowWiseFormsLeaveTheBytesThePixelWiseFormsLeave) {
  constexpr unsigned kCases = 20000;
  unsigned fast = 0;
  for (unsigned seed = 1; seed <= kCases; ++seed) {
    const Outcome rows = Draw(seed, true);
    const Outcome pixels = Draw(seed, false);
    fast += rows.fast;
    const int row = FirstDifferentRow(*rows.destBuffer, *pixels.destBuffer);
    ASSERT_EQ(row, -1) << "case " << seed << ": the destination differs from row " << row;
    ASSERT_TRUE(rows.dest == pixels.dest) << "case " << seed << ": row padding differs";
    ASSERT_TRUE(rows.src == pixels.src) << "case " << seed << ": the source changed";
  }
  // The comparison means something only if the row-wise forms drew often.
  EXPECT_GT(fast, kCases / 3);
}
