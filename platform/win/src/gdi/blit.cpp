// Block transfers: BitBlt, StretchBlt, AlphaBlend and GradientFill, with the
// platform's colour/monochrome rules.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gdi/layer_calls.h"
#include "gdi/transfer.h"
#include "win/gdi.h"

namespace win {
using namespace detail;

namespace {

std::uint8_t CodeOf(DWORD rop) {
  return static_cast<std::uint8_t>((rop >> 16) & 0xFF);
}

// Row by row where that form applies, pixel by pixel elsewhere.
void RunTransfer(const Canvas& dest, const Canvas* src, const Transfer& t, std::uint8_t code) {
  if (!TransferRows(dest, src, t, code)) TransferPixels(dest, src, t, code);
}

void CopyKeepingAlpha(const Canvas& dest, const Canvas& src, const Transfer& t) {
  if (!CopyKeepingAlphaRows(dest, src, t)) CopyKeepingAlphaPixels(dest, src, t);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
  auto d = Canvas::Of(dest);
  if (!d) return FALSE;
  const std::uint8_t code = CodeOf(rop);
  const Transfer t{x, y, width, height, xSrc, ySrc, width, height};
  if (!RopUsesSource(code)) {
    RunTransfer(*d, nullptr, t, code);
    return TRUE;
  }
  auto s = Canvas::Of(src);
  if (!s) return FALSE;
  if (width < 0 || height < 0) return FALSE;
  if (code == 0xCC && d->buffer().bitsPerPixel == 32 && s->buffer().bitsPerPixel == 32 &&
      d->buffer().alpha)
    CopyKeepingAlpha(*d, *s, t);
  else
    RunTransfer(*d, &*s, t, code);
  return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop) {
  auto d = Canvas::Of(dest);
  if (!d) return FALSE;
  const std::uint8_t code = CodeOf(rop);
  const Transfer t{x, y, width, height, xSrc, ySrc, srcWidth, srcHeight};
  if (!RopUsesSource(code)) {
    RunTransfer(*d, nullptr, t, code);
    return TRUE;
  }
  auto s = Canvas::Of(src);
  if (!s || srcWidth == 0 || srcHeight == 0) return FALSE;
  RunTransfer(*d, &*s, t, code);
  return TRUE;
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, BLENDFUNCTION blend) {
  auto d = Canvas::Of(dest);
  auto s = Canvas::Of(src);
  if (!d || !s || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return FALSE;
  if (blend.BlendOp != AC_SRC_OVER || s->buffer().isMonoDevice()) return FALSE;
  const PixelBuffer& sb = s->buffer();
  PixelBuffer& db = d->buffer();
  const QPoint s0 = s->toTarget(xSrc, ySrc), d0 = d->toTarget(x, y);
  if (s0.x() < 0 || s0.y() < 0 || s0.x() + srcWidth > sb.width || s0.y() + srcHeight > sb.height)
    return FALSE;
  const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) && sb.bitsPerPixel == 32;
  const int sca = blend.SourceConstantAlpha;
  const QRect area = QRect(d0, QSize(width, height)) & d->clipBounds();
  for (int j = area.top() - d0.y(); j <= area.bottom() - d0.y(); ++j) {
    for (int i = area.left() - d0.x(); i <= area.right() - d0.x(); ++i) {
      const int tx = d0.x() + i, ty = d0.y() + j;
      if (!d->visible(tx, ty)) continue;
      const int sx = s0.x() + static_cast<int>(static_cast<long long>(i) * srcWidth / width);
      const int sy = s0.y() + static_cast<int>(static_cast<long long>(j) * srcHeight / height);
      const std::uint32_t sv = sb.bitsPerPixel == 32 ? sb.argb(sx, sy) : sb.rgb(sx, sy);
      const std::uint32_t dv = d->read(tx, ty);
      int out[3];
      const int chans[3] = {16, 8, 0};
      int sa;
      if (perPixel) {
        sa = static_cast<int>((sv >> 24) * sca / 255);
        for (int k = 0; k < 3; ++k) {
          const int sc = static_cast<int>((sv >> chans[k]) & 0xFF) * sca / 255;
          const int dc = static_cast<int>((dv >> chans[k]) & 0xFF);
          out[k] = std::min(255, sc + dc * (255 - sa) / 255);
        }
      } else {
        sa = sca;
        for (int k = 0; k < 3; ++k) {
          const int sc = static_cast<int>((sv >> chans[k]) & 0xFF);
          const int dc = static_cast<int>((dv >> chans[k]) & 0xFF);
          out[k] = (sc * sca + dc * (255 - sca) + 127) / 255;
        }
      }
      const std::uint32_t rgb = MakeRgb(out[0], out[1], out[2]);
      if (db.alpha && db.bitsPerPixel == 32) {
        const int da = static_cast<int>(db.argb(tx, ty) >> 24);
        const int oa = std::min(255, sa + da * (255 - sa) / 255);
        db.setArgb(tx, ty, (static_cast<std::uint32_t>(oa) << 24) | rgb);
      } else {
        d->write(tx, ty, d->mono() ? (IsLight(rgb) ? 0xFFFFFF : 0) : rgb);
      }
    }
  }
  return TRUE;
}

namespace {
int Mix(int a, int b, long long num, long long den) {
  return den == 0 ? a : static_cast<int>(a + (static_cast<long long>(b - a) * num) / den);
}

void GradientRect(const Canvas& c, const TRIVERTEX& a, const TRIVERTEX& b, bool vertical) {
  const QPoint pa = c.toTarget(a.x, a.y), pb = c.toTarget(b.x, b.y);
  const int left = std::min(pa.x(), pb.x()), right = std::max(pa.x(), pb.x());
  const int top = std::min(pa.y(), pb.y()), bottom = std::max(pa.y(), pb.y());
  // The colour runs from the vertex on the start side (left or top) to the other.
  const bool aFirst = vertical ? pa.y() <= pb.y() : pa.x() <= pb.x();
  const TRIVERTEX& first = aFirst ? a : b;
  const TRIVERTEX& second = aFirst ? b : a;
  const int extent = vertical ? bottom - top : right - left;
  const QRect area = QRect(left, top, right - left, bottom - top) & c.clipBounds();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!c.visible(x, y)) continue;
      const long long pos = vertical ? y - top : x - left;
      const int r = Mix(first.Red, second.Red, pos, extent) >> 8;
      const int g = Mix(first.Green, second.Green, pos, extent) >> 8;
      const int bl = Mix(first.Blue, second.Blue, pos, extent) >> 8;
      const std::uint32_t rgb = MakeRgb(r, g, bl);
      c.write(x, y, c.mono() ? (IsLight(rgb) ? 0xFFFFFF : 0) : rgb);
    }
  }
}

void GradientTriangle(const Canvas& c, const TRIVERTEX& a, const TRIVERTEX& b, const TRIVERTEX& v) {
  const QPoint p0 = c.toTarget(a.x, a.y), p1 = c.toTarget(b.x, b.y), p2 = c.toTarget(v.x, v.y);
  const int left = std::min({p0.x(), p1.x(), p2.x()}), right = std::max({p0.x(), p1.x(), p2.x()});
  const int top = std::min({p0.y(), p1.y(), p2.y()}), bottom = std::max({p0.y(), p1.y(), p2.y()});
  const double area =
      double(p1.x() - p0.x()) * (p2.y() - p0.y()) - double(p2.x() - p0.x()) * (p1.y() - p0.y());
  if (area == 0) return;
  const QRect box = QRect(QPoint(left, top), QPoint(right, bottom)) & c.clipBounds();
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double w0 = ((p1.x() - px) * (p2.y() - py) - (p2.x() - px) * (p1.y() - py)) / area;
      const double w1 = ((p2.x() - px) * (p0.y() - py) - (p0.x() - px) * (p2.y() - py)) / area;
      const double w2 = 1.0 - w0 - w1;
      if (w0 < 0 || w1 < 0 || w2 < 0 || !c.visible(x, y)) continue;
      auto ch = [&](COLOR16 c0, COLOR16 c1, COLOR16 c2) {
        return std::clamp(static_cast<int>(w0 * c0 + w1 * c1 + w2 * c2) >> 8, 0, 255);
      };
      const std::uint32_t rgb = MakeRgb(ch(a.Red, b.Red, v.Red), ch(a.Green, b.Green, v.Green),
                                        ch(a.Blue, b.Blue, v.Blue));
      c.write(x, y, c.mono() ? (IsLight(rgb) ? 0xFFFFFF : 0) : rgb);
    }
  }
}
}  // namespace

BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh,
                  ULONG meshCount, ULONG mode) {
  auto c = Canvas::Of(hdc);
  if (!c || !vertices || !mesh) return FALSE;
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
      GradientRect(*c, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight],
                   mode == GRADIENT_FILL_RECT_V);
    }
    return TRUE;
  }
  if (mode == GRADIENT_FILL_TRIANGLE) {
    const auto* tris = static_cast<const GRADIENT_TRIANGLE*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      const GRADIENT_TRIANGLE& t = tris[i];
      if (t.Vertex1 >= vertexCount || t.Vertex2 >= vertexCount || t.Vertex3 >= vertexCount)
        return FALSE;
      GradientTriangle(*c, vertices[t.Vertex1], vertices[t.Vertex2], vertices[t.Vertex3]);
    }
    return TRUE;
  }
  return FALSE;
}

}  // namespace win
