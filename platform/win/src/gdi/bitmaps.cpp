// Device bitmaps and device-independent bitmaps (DIB sections, DIB transfer).

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gdi/canvas.h"
#include "gdi/dib.h"
#include "win/gdi.h"

namespace win::detail {

std::shared_ptr<PixelBuffer> BufferOf(HBITMAP bitmap) {
  if (auto* b = Find<BitmapObject>(bitmap)) return b->buffer;
  return nullptr;
}

HBITMAP AdoptBuffer(std::shared_ptr<PixelBuffer> buffer) {
  if (!buffer) return HBITMAP();
  return HBITMAP(AddObject(BitmapObject{std::move(buffer)}));
}

std::optional<DibView> DibView::Of(const BITMAPINFO* info, const void* bits, UINT usage, HDC hdc) {
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) - 0) return std::nullopt;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1)
    return std::nullopt;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;
  if (!SizeAllowed(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, 32)) return std::nullopt;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && bpp == 32))
    return std::nullopt;
  DibView v;
  v.width = h.biWidth;
  v.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  v.bitsPerPixel = bpp;
  v.topDown = h.biHeight < 0;
  v.stride = DibStride(v.width, bpp);
  v.bits = static_cast<const std::uint8_t*>(bits);
  if (bpp <= 8) {
    const std::size_t entries =
        h.biClrUsed ? std::min<std::size_t>(h.biClrUsed, 1u << bpp) : (std::size_t{1} << bpp);
    const auto* raw = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
    std::vector<PALETTEENTRY> palette;
    if (usage == DIB_PAL_COLORS) {
      DeviceContext* dc = FindDc(hdc);
      if (auto* pal = dc ? Find<PaletteObject>(dc->state.palette) : nullptr) palette = pal->entries;
    }
    for (std::size_t i = 0; i < entries; ++i) {
      if (usage == DIB_PAL_COLORS) {
        std::uint16_t index;
        std::memcpy(&index, raw + 2 * i, 2);
        const PALETTEENTRY e = index < palette.size() ? palette[index] : PALETTEENTRY{};
        v.table.push_back(MakeRgb(e.peRed, e.peGreen, e.peBlue));
      } else {
        RGBQUAD q;
        std::memcpy(&q, raw + 4 * i, 4);
        v.table.push_back(MakeRgb(q.rgbRed, q.rgbGreen, q.rgbBlue));
      }
    }
  }
  return v;
}

std::uint32_t DibView::rgb(int x, int y) const {
  const std::uint8_t* r = bits + static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
  auto entry = [&](std::size_t i) { return i < table.size() ? table[i] : 0u; };
  switch (bitsPerPixel) {
    case 1:
      return entry((r[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
      return entry((x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4));
    case 8:
      return entry(r[x]);
    case 24:
      return MakeRgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
    case 32:
      return MakeRgb(r[4 * x + 2], r[4 * x + 1], r[4 * x]);
    default:
      return 0;
  }
}

std::shared_ptr<PixelBuffer> DibView::toBuffer() const {
  auto buffer = std::make_shared<PixelBuffer>(width, height, 32, false, false);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) buffer->setRgb(x, y, rgb(x, y));
  return buffer;
}

}  // namespace win::detail

namespace win {
using namespace detail;

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1) return HBITMAP();
  if (width == 0 || height == 0) return DefaultBitmap();
  if (!SizeAllowed(width, height, 32)) return HBITMAP();
  if (bitsPerPixel == 1) {
    auto buffer = MakeMonoBuffer(width, height);
    if (bits) {
      // The caller's rows are padded to 16 bits.
      const auto* in = static_cast<const std::uint8_t*>(bits);
      const std::size_t inStride = static_cast<std::size_t>((width + 15) / 16) * 2;
      for (int y = 0; y < height; ++y)
        std::memcpy(buffer->row(y), in + inStride * static_cast<std::size_t>(y), (width + 7) / 8);
    }
    return AdoptBuffer(buffer);
  }
  if (bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
      bitsPerPixel != 32)
    return HBITMAP();
  auto buffer = MakeColourBuffer(width, height, 0);
  if (bits && (bitsPerPixel == 24 || bitsPerPixel == 32)) {
    const auto* in = static_cast<const std::uint8_t*>(bits);
    const int bytes = static_cast<int>(bitsPerPixel / 8);
    const std::size_t inStride = static_cast<std::size_t>((width * bytes + 1) / 2) * 2;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* r = in + inStride * static_cast<std::size_t>(y);
      for (int x = 0; x < width; ++x)
        buffer->setRgb(x, y, MakeRgb(r[bytes * x + 2], r[bytes * x + 1], r[bytes * x]));
    }
  }
  return AdoptBuffer(buffer);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || width < 0 || height < 0) return HBITMAP();
  if (width == 0 || height == 0) return DefaultBitmap();
  if (!SizeAllowed(width, height, 32)) return HBITMAP();
  // A fresh memory DC holds its monochrome bitmap, so what is compatible with it is monochrome.
  if (dc->kind == DcKind::Memory && dc->target && dc->target->isMonoDevice())
    return AdoptBuffer(MakeMonoBuffer(width, height));
  return AdoptBuffer(MakeColourBuffer(width, height, 0));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset) {
  if (bits) *bits = nullptr;
  if (section || offset) return HBITMAP();  // file mappings are not offered
  std::optional<DibView> view = DibView::Of(info, nullptr, usage, hdc);
  if (!view) return HBITMAP();
  auto buffer = std::make_shared<PixelBuffer>(view->width, view->height, view->bitsPerPixel, true,
                                              !view->topDown);
  buffer->table = view->table;
  buffer->alpha = view->bitsPerPixel == 32;
  if (bits) *bits = buffer->bits();
  return AdoptBuffer(buffer);
}

namespace {}  // namespace

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  auto buffer = BufferOf(bitmap);
  std::optional<DibView> view = DibView::Of(info, bits, usage, HDC());
  if (!buffer || !view || !bits) return 0;
  // `bits` starts at scan line `start`, counted in the DIB's own order.
  DibView rows = *view;
  rows.height = static_cast<int>(lines);
  int copied = 0;
  for (UINT k = 0; k < lines; ++k) {
    const int dibRow = static_cast<int>(start + k);
    if (dibRow >= view->height) break;
    const int y = view->topDown ? dibRow : buffer->height - 1 - dibRow;
    const int viewRow =
        view->topDown ? static_cast<int>(k) : static_cast<int>(lines) - 1 - static_cast<int>(k);
    if (y < 0 || y >= buffer->height) continue;
    for (int x = 0; x < std::min(buffer->width, view->width); ++x)
      buffer->setRgb(x, y, rows.rgb(x, viewRow));
    ++copied;
  }
  return copied;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop) {
  std::optional<DibView> view = DibView::Of(info, bits, usage, hdc);
  if (!FindDc(hdc) || !view || !bits) return 0;
  const HBITMAP temp = AdoptBuffer(view->toBuffer());
  const HDC mem = CreateCompatibleDC(hdc);
  const HGDIOBJ old = SelectObject(mem, temp);
  // Source rows of a bottom-up DIB are counted from its bottom edge.
  const int top = view->topDown ? ySrc : view->height - ySrc - srcHeight;
  const BOOL ok = StretchBlt(hdc, xDest, yDest, destWidth, destHeight, mem, xSrc, top, srcWidth,
                             srcHeight, rop);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(temp);
  return ok ? std::abs(srcHeight) : 0;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colours) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !dc->target || !colours || !dc->target->dib || dc->target->table.empty()) return 0;
  auto& table = dc->target->table;
  UINT n = 0;
  for (UINT i = start; i < table.size() && n < count; ++i, ++n)
    table[i] = MakeRgb(colours[n].rgbRed, colours[n].rgbGreen, colours[n].rgbBlue);
  return n;
}

bool SaveBitmapPng(HBITMAP bitmap, const std::string& path) {
  auto buffer = BufferOf(bitmap);
  if (!buffer || buffer->width <= 0 || buffer->height <= 0) return false;
  return ToQImage(*buffer).save(QString::fromStdString(path), "PNG");
}

}  // namespace win
