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

// The device area a DC can draw on at all, in device coordinates.
QRegion DeviceArea(const DeviceContext& dc) {
  if (!dc.target) return QRegion();
  QRegion area(QRect(0, 0, dc.target->width, dc.target->height));
  if (dc.surfaceClip) area &= *dc.surfaceClip;
  return area.translated(-dc.origin);
}

}  // namespace
}  // namespace win::detail

namespace win {
using namespace detail;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return AdoptRegion(QRegion(RectOf(left, top, right, bottom)));
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

BOOL PtInRegion(HRGN region, int x, int y) {
  auto* r = Find<RegionObject>(region);
  return r && r->region.contains(QPoint(x, y)) ? TRUE : FALSE;
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

namespace {}  // namespace

// ---- Clipping ---------------------------------------------------------------

int SelectClipRgn(HDC hdc, HRGN region) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return ERROR;
  if (!region) {
    dc->state.clip.reset();
    return TypeOf(DeviceArea(*dc));
  }
  auto r = RegionOf(region);
  if (!r) return ERROR;
  dc->state.clip = *r;
  return TypeOf(*r & DeviceArea(*dc));
}

}  // namespace win
