// Regions and the clipping of device contexts, held as Qt regions.

#include <algorithm>
#include <cmath>
#include <functional>

#include "gdi/canvas.h"
#include "win/gdi.h"

namespace win::detail {

std::optional<QRegion> RegionOf(HRGN region) {
  if (auto* r = Find<RegionObject>(region)) return r->region;
  return std::nullopt;
}

HRGN AdoptRegion(const QRegion& region) {
  return HRGN(AddObject(RegionObject{region}));
}

namespace {

int TypeOf(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect RectOf(int left, int top, int right, int bottom) {
  const int l = std::min(left, right), r = std::max(left, right);
  const int t = std::min(top, bottom), b = std::max(top, bottom);
  return QRect(l, t, r - l, b - t);
}

// A region from a pixel test over a box, one run of pixels at a time.
QRegion RegionFromTest(const QRect& box, const std::function<bool(int, int)>& inside) {
  QRegion region;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    int x = box.left();
    while (x <= box.right()) {
      if (!inside(x, y)) {
        ++x;
        continue;
      }
      int e = x;
      while (e <= box.right() && inside(e, y)) ++e;
      region += QRect(x, y, e - x, 1);
      x = e;
    }
  }
  return region;
}

// The device area a DC can draw on at all, in device coordinates.
QRegion DeviceArea(const DeviceContext& dc) {
  if (!dc.target) return QRegion();
  QRegion area(QRect(0, 0, dc.target->width, dc.target->height));
  if (dc.surfaceClip) area &= *dc.surfaceClip;
  return area.translated(-dc.origin);
}

QRegion CurrentClip(const DeviceContext& dc) {
  return dc.state.clip ? *dc.state.clip : DeviceArea(dc);
}

QRect LogicalToDeviceRect(const DeviceContext& dc, int left, int top, int right, int bottom) {
  const QPoint a = ToDevice(dc.state, std::min(left, right), std::min(top, bottom));
  return QRect(a, QSize(std::abs(right - left), std::abs(bottom - top)));
}

}  // namespace
}  // namespace win::detail

namespace win {
using namespace detail;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return AdoptRegion(QRegion(RectOf(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return HRGN();
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  const QRect box = RectOf(left, top, right, bottom);
  const double cx = box.left() + box.width() / 2.0, cy = box.top() + box.height() / 2.0;
  const double rx = box.width() / 2.0, ry = box.height() / 2.0;
  return AdoptRegion(RegionFromTest(box, [&](int x, int y) {
    const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
    return u * u + v * v <= 1.0;
  }));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  const QRect box = RectOf(left, top, right, bottom);
  const double rx = std::min(std::abs(width), box.width()) / 2.0;
  const double ry = std::min(std::abs(height), box.height()) / 2.0;
  const double l = box.left(), t = box.top(), r = l + box.width(), b = t + box.height();
  return AdoptRegion(RegionFromTest(box, [&](int x, int y) {
    if (rx <= 0 || ry <= 0) return true;
    const double px = x + 0.5, py = y + 0.5;
    const double ccx = std::clamp(px, l + rx, r - rx), ccy = std::clamp(py, t + ry, b - ry);
    const double u = (px - ccx) / rx, v = (py - ccy) / ry;
    return u * u + v * v <= 1.0;
  }));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 3) return HRGN();
  QRect box;
  for (int i = 0; i < count; ++i) box |= QRect(points[i].x, points[i].y, 1, 1);
  return AdoptRegion(RegionFromTest(box, [&](int x, int y) {
    const double px = x + 0.5, py = y + 0.5;
    int wind = 0, crossings = 0;
    for (int i = 0; i < count; ++i) {
      const POINT a = points[i], b = points[(i + 1) % count];
      if ((a.y <= py) != (b.y <= py)) {
        const double cx = a.x + (py - a.y) * (b.x - a.x) / double(b.y - a.y);
        if (cx < px) {
          ++crossings;
          wind += b.y > a.y ? 1 : -1;
        }
      }
    }
    return fillMode == WINDING ? wind != 0 : (crossings & 1) != 0;
  }));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  auto* d = Find<RegionObject>(dest);
  auto* a = Find<RegionObject>(src1);
  if (!d || !a) return ERROR;
  QRegion result;
  if (mode == RGN_COPY) {
    result = a->region;
  } else {
    auto* b = Find<RegionObject>(src2);
    if (!b) return ERROR;
    switch (mode) {
      case RGN_AND:
        result = a->region.intersected(b->region);
        break;
      case RGN_OR:
        result = a->region.united(b->region);
        break;
      case RGN_XOR:
        result = a->region.xored(b->region);
        break;
      case RGN_DIFF:
        result = a->region.subtracted(b->region);
        break;
      default:
        return ERROR;
    }
  }
  d->region = result;
  return TypeOf(result);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  auto* r = Find<RegionObject>(region);
  if (!r) return FALSE;
  r->region = QRegion(RectOf(left, top, right, bottom));
  return TRUE;
}

int OffsetRgn(HRGN region, int dx, int dy) {
  auto* r = Find<RegionObject>(region);
  if (!r) return ERROR;
  r->region.translate(dx, dy);
  return TypeOf(r->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  auto* r = Find<RegionObject>(region);
  return r && r->region.contains(QPoint(x, y)) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  auto* r = Find<RegionObject>(region);
  if (!r || !rect) return FALSE;
  return r->region.intersects(RectOf(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE
                                                                                        : FALSE;
}

int GetRgnBox(HRGN region, RECT* rect) {
  auto* r = Find<RegionObject>(region);
  if (!r || !rect) return ERROR;
  const QRect b = r->region.boundingRect();
  *rect = r->region.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  return TypeOf(r->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto* ra = Find<RegionObject>(a);
  auto* rb = Find<RegionObject>(b);
  if (!ra || !rb) return ERROR;
  return ra->region == rb->region ? TRUE : FALSE;
}

namespace {
BOOL PaintRegion(HDC hdc, const QRegion& logical, const Pattern* pattern, std::uint8_t code) {
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  const Pattern p = pattern ? *pattern : c->brushPattern();
  for (const QRect& r : logical.translated(c->offset())) c->fillRect(r, p, code);
  return TRUE;
}
}  // namespace

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
  auto c = Canvas::Of(hdc);
  auto r = RegionOf(region);
  auto b = BrushFromHandle(brush);
  if (!c || !r || !b) return FALSE;
  const Pattern p = c->patternOf(*b);
  return PaintRegion(hdc, *r, &p, 0xF0);
}

BOOL PaintRgn(HDC hdc, HRGN region) {
  auto r = RegionOf(region);
  auto c = Canvas::Of(hdc);
  if (!r || !c) return FALSE;
  return PaintRegion(hdc, *r, nullptr, Rop2AsRop3(c->dc().state.rop2));
}

BOOL InvertRgn(HDC hdc, HRGN region) {
  auto r = RegionOf(region);
  if (!r) return FALSE;
  const Pattern none = Pattern::Solid(0);
  return PaintRegion(hdc, *r, &none, 0x55);
}

BOOL FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height) {
  auto c = Canvas::Of(hdc);
  auto r = RegionOf(region);
  auto b = BrushFromHandle(brush);
  if (!c || !r || !b || width <= 0 || height <= 0) return FALSE;
  QRegion inner = *r;
  for (int k = 1; k <= width; ++k) inner &= r->translated(k, 0) & r->translated(-k, 0);
  for (int k = 1; k <= height; ++k) inner &= r->translated(0, k) & r->translated(0, -k);
  const Pattern p = c->patternOf(*b);
  return PaintRegion(hdc, r->subtracted(inner), &p, 0xF0);
}

// ---- Clipping ---------------------------------------------------------------

int SelectClipRgn(HDC hdc, HRGN region) {
  return ExtSelectClipRgn(hdc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN region, int mode) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return ERROR;
  auto r = RegionOf(region);
  if (!region) {
    if (mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();
    return TypeOf(DeviceArea(*dc));
  }
  if (!r) return ERROR;
  const QRegion current = CurrentClip(*dc);
  QRegion result;
  switch (mode) {
    case RGN_COPY:
      result = *r;
      break;
    case RGN_AND:
      result = current & *r;
      break;
    case RGN_OR:
      result = current | *r;
      break;
    case RGN_XOR:
      result = current ^ *r;
      break;
    case RGN_DIFF:
      result = current - *r;
      break;
    default:
      return ERROR;
  }
  dc->state.clip = result;
  return TypeOf(result & DeviceArea(*dc));
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return ERROR;
  dc->state.clip = CurrentClip(*dc) & LogicalToDeviceRect(*dc, left, top, right, bottom);
  return TypeOf(*dc->state.clip & DeviceArea(*dc));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return ERROR;
  dc->state.clip = CurrentClip(*dc) - LogicalToDeviceRect(*dc, left, top, right, bottom);
  return TypeOf(*dc->state.clip & DeviceArea(*dc));
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return ERROR;
  dc->state.clip = CurrentClip(*dc).translated(dx, dy);
  return TypeOf(*dc->state.clip & DeviceArea(*dc));
}

int GetClipBox(HDC hdc, RECT* rect) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !rect) return ERROR;
  const QRegion visible = CurrentClip(*dc) & DeviceArea(*dc);
  if (visible.isEmpty()) {
    *rect = RECT{};
    return NULLREGION;
  }
  const QRect b = visible.boundingRect();
  const QPoint shift(dc->state.viewportOrg.x - dc->state.windowOrg.x,
                     dc->state.viewportOrg.y - dc->state.windowOrg.y);
  *rect = RECT{b.left() - shift.x(), b.top() - shift.y(), b.right() + 1 - shift.x(),
               b.bottom() + 1 - shift.y()};
  return TypeOf(visible);
}

int GetClipRgn(HDC hdc, HRGN region) {
  DeviceContext* dc = FindDc(hdc);
  auto* r = Find<RegionObject>(region);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  const QPoint t = c->toTarget(x, y);
  return c->visible(t.x(), t.y()) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  auto c = Canvas::Of(hdc);
  if (!c || !rect) return FALSE;
  const QPoint a = c->toTarget(rect->left, rect->top);
  const QRect r(a, QSize(rect->right - rect->left, rect->bottom - rect->top));
  for (const ClipRect& k : c->clip())
    if (r.intersects(QRect(k.left, k.top, k.right - k.left, k.bottom - k.top))) return TRUE;
  return FALSE;
}

}  // namespace win
