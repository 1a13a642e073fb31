// Pixels, lines and filled shapes with the platform's pixel rules: a line
// leaves out its end point, a shape covers its bounding box less the right
// column and the bottom row.

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "gdi/canvas.h"
#include "gdi/layer_calls.h"
#include "gdi/shapes.h"
#include "win/gdi.h"

namespace win::detail {
namespace {

// On/off run lengths of the styled cosmetic pens.
std::vector<int> DashesOf(UINT style) {
  switch (style) {
    case PS_DASH:
      return {18, 6};
    case PS_DOT:
      return {3, 3};
    case PS_DASHDOT:
      return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double qx = ax + t * dx - px, qy = ay + t * dy - py;
  return std::sqrt(qx * qx + qy * qy);
}

}  // namespace

void DrawPolyline(const Canvas& c, const std::vector<QPoint>& pts, bool closed) {
  if (pts.size() < 2) return;
  const PenInfo pen = c.pen();
  if (pen.null()) return;
  const std::uint8_t code = Rop2AsRop3(c.dc().state.rop2);
  const std::uint32_t colour = c.domain(pen.colour);
  std::vector<QPoint> path = pts;
  if (closed) path.push_back(pts.front());
  if (pen.width > 1) {
    // Geometric pens: round caps and joins, every pixel painted once.
    const double half = pen.width / 2.0;
    QRect bounds;
    for (const QPoint& p : path) bounds |= QRect(p, QSize(1, 1));
    const int grow = pen.width / 2 + 1;
    bounds.adjust(-grow, -grow, grow, grow);
    bounds &= c.clipBounds();
    PixelMask mask(bounds);
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
      const QPoint a = path[i], b = path[i + 1];
      QRect seg = QRect(a, b).normalized().adjusted(-grow, -grow, grow, grow) & bounds;
      for (int y = seg.top(); y <= seg.bottom(); ++y)
        for (int x = seg.left(); x <= seg.right(); ++x)
          if (SegmentDistance(x + 0.5, y + 0.5, a.x() + 0.5, a.y() + 0.5, b.x() + 0.5,
                              b.y() + 0.5) <= half)
            mask.set(x, y);
    }
    mask.paint(c, Pattern::Solid(colour), code);
    return;
  }
  const std::vector<int> dashes = DashesOf(pen.style);
  const bool opaqueGaps = c.dc().state.bkMode == OPAQUE;
  const std::uint32_t gapColour = c.domain(c.dc().state.bkColour);
  const QRect limits = c.clipBounds();
  std::size_t dashIndex = 0;
  int dashLeft = dashes.empty() ? 0 : dashes[0];
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    int x = path[i].x(), y = path[i].y();
    const int x1 = path[i + 1].x(), y1 = path[i + 1].y();
    const long long dx = std::llabs(static_cast<long long>(x1) - x);
    const long long dy = -std::llabs(static_cast<long long>(y1) - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    long long err = dx + dy;
    while (x != x1 || y != y1) {
      // Past the clipping in the direction of travel nothing more can show.
      if (dashes.empty() && ((sx > 0 && x > limits.right()) || (sx < 0 && x < limits.left()) ||
                             (sy > 0 && y > limits.bottom()) || (sy < 0 && y < limits.top())))
        break;
      bool on = true;
      if (!dashes.empty()) {
        on = (dashIndex % 2) == 0;
        if (--dashLeft <= 0) {
          dashIndex = (dashIndex + 1) % dashes.size();
          dashLeft = dashes[dashIndex];
        }
      }
      if (on)
        c.plot(x, y, colour, code);
      else if (opaqueGaps)
        c.plot(x, y, gapColour, code);
      const long long e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
}

QRect TargetBox(const Canvas& c, int left, int top, int right, int bottom) {
  const QPoint a = c.toTarget(std::min(left, right), std::min(top, bottom));
  const QPoint b = c.toTarget(std::max(left, right), std::max(top, bottom));
  return QRect(a, QSize(b.x() - a.x(), b.y() - a.y()));
}

}  // namespace win::detail

namespace win {
using namespace detail;

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
  auto c = Canvas::Of(hdc);
  if (!c) return CLR_INVALID;
  const QPoint t = c->toTarget(x, y);
  if (!c->visible(t.x(), t.y())) return CLR_INVALID;
  c->write(t.x(), t.y(), c->domain(colour));
  return RefOf(c->read(t.x(), t.y()));
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF colour) {
  return SetPixel(hdc, x, y, colour) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto c = Canvas::Of(hdc);
  if (!c) return CLR_INVALID;
  const QPoint t = c->toTarget(x, y);
  if (!c->visible(t.x(), t.y())) return CLR_INVALID;
  return RefOf(c->read(t.x(), t.y()));
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.current;
  dc->state.current = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return FALSE;
  const POINT from = dc->state.current;
  dc->state.current = POINT{x, y};
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  DrawPolyline(*c, {c->toTarget(from.x, from.y), c->toTarget(x, y)}, false);
  return TRUE;
}

namespace {
// The alternate rule: inside where a ray to the left crosses an odd number of edges.
bool InsidePolygons(const std::vector<std::vector<QPoint>>& polys, double px, double py) {
  int crossings = 0;
  for (const auto& poly : polys) {
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i) {
      const QPoint a = poly[i], b = poly[(i + 1) % n];
      if ((a.y() <= py) != (b.y() <= py)) {
        const double x = a.x() + (py - a.y()) * (b.x() - a.x()) / double(b.y() - a.y());
        if (x < px) ++crossings;
      }
    }
  }
  return (crossings & 1) != 0;
}
}  // namespace

namespace {
BOOL PolyPolygon(HDC hdc, const POINT* points, const int* counts, int polygons) {
  auto c = Canvas::Of(hdc);
  if (!c || !points || !counts || polygons <= 0) return FALSE;
  std::vector<std::vector<QPoint>> polys;
  QRect bounds;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return FALSE;
    std::vector<QPoint> poly;
    for (int k = 0; k < counts[i]; ++k) {
      poly.push_back(c->toTarget(points->x, points->y));
      bounds |= QRect(poly.back(), QSize(1, 1));
      ++points;
    }
    polys.push_back(std::move(poly));
  }
  const QRect area = bounds & c->clipBounds();
  if (!area.isEmpty()) {
    PixelMask fill(area);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (InsidePolygons(polys, x + 0.5, y + 0.5)) fill.set(x, y);
    fill.paint(*c, c->brushPattern(), Rop2AsRop3(c->dc().state.rop2));
  }
  for (const auto& poly : polys) DrawPolyline(*c, poly, true);
  return TRUE;
}
}  // namespace

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  return PolyPolygon(hdc, points, &count, 1);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  QRect box = TargetBox(*c, left, top, right, bottom);
  if (box.isEmpty()) return TRUE;
  const PenInfo pen = c->pen();
  const std::uint8_t code = Rop2AsRop3(c->dc().state.rop2);
  if (pen.null()) {
    c->fillRect(box, c->brushPattern(), code);
    return TRUE;
  }
  const int w = std::max(pen.width, 1);
  if (w > 1 && pen.style != PS_INSIDEFRAME) {
    // A wide pen is centred on the outline of the one-pixel frame.
    const int out = (w - 1) / 2;
    box.adjust(-out, -out, out, out);
  }
  const QRect inner = box.adjusted(w, w, -w, -w);
  c->fillRect(inner, c->brushPattern(), code);
  const std::vector<int> dashes = DashesOf(pen.style);
  if (w == 1 && !dashes.empty()) {
    const QPoint tl = box.topLeft(), br = box.bottomRight();
    DrawPolyline(*c, {tl, QPoint(br.x(), tl.y()), br, QPoint(tl.x(), br.y())}, true);
    return TRUE;
  }
  const Pattern p = Pattern::Solid(c->domain(pen.colour));
  PixelMask frame(box & c->clipBounds());
  for (int y = frame.bounds().top(); y <= frame.bounds().bottom(); ++y)
    for (int x = frame.bounds().left(); x <= frame.bounds().right(); ++x)
      if (!inner.contains(x, y)) frame.set(x, y);
  frame.paint(*c, p, code);
  return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  const QRect box = TargetBox(*c, left, top, right, bottom);
  if (box.isEmpty()) return TRUE;
  const double cx = box.left() + box.width() / 2.0, cy = box.top() + box.height() / 2.0;
  const double rx = box.width() / 2.0, ry = box.height() / 2.0;
  const QPoint s = c->toTarget(xs, ys), e = c->toTarget(xe, ye);
  // Angles measured with y pointing up, so counter-clockwise is increasing.
  auto angle = [&](double px, double py) { return std::atan2(cy - py, px - cx); };
  const double a0 = angle(s.x(), s.y()), a1 = angle(e.x(), e.y());
  const double twoPi = 2 * std::numbers::pi;
  auto wrap = [&](double a) { return std::fmod(std::fmod(a, twoPi) + twoPi, twoPi); };
  // Arcs run counter-clockwise.
  double sweep = wrap(a1 - a0);
  if (sweep == 0) sweep = twoPi;  // start and end on one radial: the whole ellipse
  auto onSweep = [&](double px, double py) {
    const double a = angle(px, py);
    return wrap(a - a0) <= sweep;
  };
  auto inEllipse = [&](int x, int y) {
    const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
    return u * u + v * v <= 1.0;
  };
  // Only the outline, and only the part on the sweep.
  const PenInfo pen = c->pen();
  if (pen.null()) return TRUE;
  PixelMask mask(box & c->clipBounds());
  const int w = std::max(pen.width, 1);
  auto nearEdge = [&](int x, int y) {
    for (int k = 1; k <= w; ++k)
      if (!inEllipse(x - k, y) || !inEllipse(x + k, y) || !inEllipse(x, y - k) ||
          !inEllipse(x, y + k))
        return true;
    return false;
  };
  for (int y = mask.bounds().top(); y <= mask.bounds().bottom(); ++y)
    for (int x = mask.bounds().left(); x <= mask.bounds().right(); ++x)
      if (inEllipse(x, y) && nearEdge(x, y) && onSweep(x + 0.5, y + 0.5)) mask.set(x, y);
  mask.paint(*c, Pattern::Solid(c->domain(pen.colour)), Rop2AsRop3(c->dc().state.rop2));
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto c = Canvas::Of(hdc);
  auto b = BrushFromHandle(brush);
  if (!c || !rect || !b) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
  const QPoint a = c->toTarget(rect->left, rect->top);
  c->fillRect(QRect(a, QSize(rect->right - rect->left, rect->bottom - rect->top)), c->patternOf(*b),
              0xF0);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto c = Canvas::Of(hdc);
  auto b = BrushFromHandle(brush);
  if (!c || !rect || !b) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 1;
  const QPoint a = c->toTarget(rect->left, rect->top);
  const QRect box(a, QSize(rect->right - rect->left, rect->bottom - rect->top));
  const QRect inner = box.adjusted(1, 1, -1, -1);
  PixelMask frame(box & c->clipBounds());
  for (int y = frame.bounds().top(); y <= frame.bounds().bottom(); ++y)
    for (int x = frame.bounds().left(); x <= frame.bounds().right(); ++x)
      if (!inner.contains(x, y)) frame.set(x, y);
  frame.paint(*c, c->patternOf(*b), 0xF0);
  return 1;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  auto c = Canvas::Of(hdc);
  if (!c || !rect) return FALSE;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  const QPoint a = c->toTarget(rect->left, rect->top);
  const QRect box(a, QSize(rect->right - rect->left, rect->bottom - rect->top));
  const QRect inner = box.adjusted(1, 1, -1, -1);
  // Every other pixel of the frame inverted: drawing it twice removes it.
  PixelMask dots(box & c->clipBounds());
  for (int y = dots.bounds().top(); y <= dots.bounds().bottom(); ++y)
    for (int x = dots.bounds().left(); x <= dots.bounds().right(); ++x)
      if (!inner.contains(x, y) && ((x - c->dc().origin.x() + y - c->dc().origin.y()) & 1) == 0)
        dots.set(x, y);
  dots.paint(*c, Pattern::Solid(0), 0x55);
  return TRUE;
}

}  // namespace win
