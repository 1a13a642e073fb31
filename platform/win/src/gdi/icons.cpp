#include "gdi/icons.h"

#include <cstring>
#include <unordered_map>

#include "gdi/canvas.h"
#include "gdi/layer_calls.h"
#include "win/gdi.h"

namespace win::detail {
namespace {
std::unordered_map<std::uintptr_t, IconData>& Icons() {
  static std::unordered_map<std::uintptr_t, IconData> icons;
  return icons;
}

bool HasAlpha(const PixelBuffer& b) {
  if (b.bitsPerPixel != 32 || !b.alpha) return false;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x)
      if (b.argb(x, y) >> 24) return true;
  return false;
}
}  // namespace

const IconData* FindIcon(HICON icon) {
  if (!icon) return nullptr;
  auto it = Icons().find(icon.value);
  return it == Icons().end() ? nullptr : &it->second;
}

HICON AddIcon(IconData data) {
  const HICON h(NextHandleValue());
  Icons().emplace(h.value, std::move(data));
  return h;
}

std::shared_ptr<PixelBuffer> CopyPixels(const PixelBuffer& src) {
  auto copy = std::make_shared<PixelBuffer>(src.width, src.height, src.bitsPerPixel, false, false);
  copy->table = src.table;
  copy->alpha = src.alpha;
  for (int y = 0; y < src.height; ++y)
    std::memcpy(copy->row(y), src.row(y), std::min(copy->bytesPerRow(), src.bytesPerRow()));
  return copy;
}

}  // namespace win::detail

namespace win {
using namespace detail;

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return HICON();
  auto mask = BufferOf(info->hbmMask);
  if (!mask) return HICON();
  IconData data;
  data.isIcon = info->fIcon != FALSE;
  data.hotspot = POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
  // The icon keeps copies: the caller still owns and deletes its bitmaps.
  if (mask->isMonoDevice()) {
    data.mask = CopyPixels(*mask);
  } else {
    data.mask = MakeMonoBuffer(mask->width, mask->height);
    for (int y = 0; y < mask->height; ++y)
      for (int x = 0; x < mask->width; ++x) data.mask->setBit(x, y, mask->rgb(x, y) != 0);
  }
  if (info->hbmColor) {
    auto colour = BufferOf(info->hbmColor);
    if (!colour) return HICON();
    if (colour->bitsPerPixel == 32 && !colour->table.size()) {
      data.colour = CopyPixels(*colour);
    } else {
      data.colour = MakeColourBuffer(colour->width, colour->height, 0);
      for (int y = 0; y < colour->height; ++y)
        for (int x = 0; x < colour->width; ++x)
          data.colour->setRgb(
              x, y,
              colour->isMonoDevice() ? (colour->bit(x, y) ? 0xFFFFFF : 0) : colour->rgb(x, y));
    }
  } else if (data.mask->height < 2) {
    return HICON();
  }
  return AddIcon(std::move(data));
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  const IconData* data = FindIcon(icon);
  if (!data || !info) return FALSE;
  info->fIcon = data->isIcon ? TRUE : FALSE;
  info->xHotspot = static_cast<DWORD>(data->isIcon ? data->width() / 2 : data->hotspot.x);
  info->yHotspot = static_cast<DWORD>(data->isIcon ? data->height() / 2 : data->hotspot.y);
  info->hbmMask = AdoptBuffer(CopyPixels(*data->mask));
  info->hbmColor = data->colour ? AdoptBuffer(CopyPixels(*data->colour)) : HBITMAP();
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  return Icons().erase(icon.value) ? TRUE : FALSE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flickerFree,
                UINT flags) {
  const IconData* data = FindIcon(icon);
  DeviceContext* dc = FindDc(hdc);
  if (!data || !dc || !(flags & DI_NORMAL)) return FALSE;
  const int w = width > 0 ? width : data->width();
  const int h = height > 0 ? height : data->height();
  if (flickerFree) {
    const RECT r{x, y, x + w, y + h};
    FillRect(hdc, &r, flickerFree);
  }
  const HDC mem = CreateCompatibleDC(hdc);
  // Masks are applied with black text on white, whatever the DC holds.
  const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
  const bool both = (flags & DI_NORMAL) == DI_NORMAL;
  if (data->colour && both && HasAlpha(*data->colour)) {
    // Premultiply a copy so AlphaBlend can lay it over the destination.
    auto pre = CopyPixels(*data->colour);
    for (int yy = 0; yy < pre->height; ++yy)
      for (int xx = 0; xx < pre->width; ++xx) {
        const std::uint32_t v = pre->argb(xx, yy);
        const std::uint32_t a = v >> 24;
        auto ch = [&](int s) { return ((v >> s) & 0xFF) * a / 255; };
        pre->setArgb(xx, yy, (a << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0));
      }
    const HBITMAP bmp = AdoptBuffer(pre);
    const HGDIOBJ old = SelectObject(mem, bmp);
    AlphaBlend(hdc, x, y, w, h, mem, 0, 0, data->width(), data->height(),
               BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(mem, old);
    DeleteObject(bmp);
  } else {
    const HBITMAP maskBmp = AdoptBuffer(data->mask);
    HGDIOBJ old = SelectObject(mem, maskBmp);
    const int ih = data->height(), iw = data->width();
    if (flags & DI_MASK)
      StretchBlt(hdc, x, y, w, h, mem, 0, 0, iw, ih, (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
    if (flags & DI_IMAGE) {
      const DWORD rop = (flags & DI_MASK) ? SRCINVERT : SRCCOPY;
      if (data->colour) {
        const HBITMAP colourBmp = AdoptBuffer(data->colour);
        SelectObject(mem, colourBmp);
        StretchBlt(hdc, x, y, w, h, mem, 0, 0, iw, ih, rop);
        SelectObject(mem, maskBmp);
        DeleteObject(colourBmp);
      } else {
        StretchBlt(hdc, x, y, w, h, mem, 0, ih, iw, ih, rop);
      }
    }
    SelectObject(mem, old);
    DeleteObject(maskBmp);
  }
  SetTextColor(hdc, oldText);
  SetBkColor(hdc, oldBk);
  DeleteDC(mem);
  return TRUE;
}

}  // namespace win
