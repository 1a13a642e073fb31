// Three-dimensional edges and the frame controls (check marks, bullets,
// arrows, buttons, caption glyphs) in the classic look.

#include <algorithm>
#include <cmath>

#include "gdi/canvas.h"
#include "gdi/shapes.h"
#include "win/gdi.h"

namespace win {
using namespace detail;

namespace {

void Fill(const Canvas& c, const QRect& r, COLORREF colour) {
  c.fillRect(r, Pattern::Solid(c.domain(colour)), 0xF0);
}

// One ring of an edge: top-left colour first, the bottom-right colour over it,
// so the bottom-right owns the top-right and bottom-left corners.
void Ring(const Canvas& c, const QRect& r, UINT sides, COLORREF tl, COLORREF br) {
  if (r.isEmpty()) return;
  const int l = r.left(), t = r.top(), w = r.width(), h = r.height();
  if (sides & BF_TOP) Fill(c, QRect(l, t, w - 1, 1), tl);
  if (sides & BF_LEFT) Fill(c, QRect(l, t, 1, h - 1), tl);
  if (sides & BF_BOTTOM) Fill(c, QRect(l, t + h - 1, w, 1), br);
  if (sides & BF_RIGHT) Fill(c, QRect(l + w - 1, t, 1, h), br);
}

COLORREF Sys(int index) {
  return GetSysColor(index);
}

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags) {
  auto c = Canvas::Of(hdc);
  if (!c || !rect) return FALSE;
  QRect r(c->toTarget(rect->left, rect->top),
          QSize(rect->right - rect->left, rect->bottom - rect->top));
  const UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  const bool soft = flags & BF_SOFT;
  const bool flat = flags & BF_FLAT, mono = flags & BF_MONO;
  if (flags & BF_DIAGONAL) {
    // A diagonal edge is a line of the outer shadow colour across the box.
    const QPoint a = (flags & BF_LEFT) ? r.bottomLeft() : r.topLeft();
    const QPoint b = (flags & BF_LEFT) ? r.topRight() : r.bottomRight();
    const HPEN pen = CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
    const HGDIOBJ old = SelectObject(hdc, pen);
    const int rop = SetROP2(hdc, R2_COPYPEN);
    DrawPolyline(*c, {a, b}, false);
    SetROP2(hdc, rop);
    SelectObject(hdc, old);
    DeleteObject(pen);
    return TRUE;
  }
  const UINT sides = flags & BF_RECT;
  if (outer) {
    COLORREF tl, br;
    if (mono) {
      tl = br = Sys(COLOR_WINDOWFRAME);
    } else if (flat) {
      tl = br = Sys(COLOR_BTNSHADOW);
    } else if (outer & BDR_RAISEDOUTER) {
      tl = soft ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_3DLIGHT);
      br = Sys(COLOR_3DDKSHADOW);
    } else {
      tl = Sys(COLOR_BTNSHADOW);
      br = Sys(COLOR_BTNHIGHLIGHT);
    }
    Ring(*c, r, sides, tl, br);
    if (sides & BF_LEFT) r.adjust(1, 0, 0, 0);
    if (sides & BF_TOP) r.adjust(0, 1, 0, 0);
    if (sides & BF_RIGHT) r.adjust(0, 0, -1, 0);
    if (sides & BF_BOTTOM) r.adjust(0, 0, 0, -1);
  }
  if (inner) {
    COLORREF tl, br;
    if (mono) {
      tl = br = Sys(COLOR_WINDOW);
    } else if (flat) {
      tl = br = Sys(COLOR_BTNFACE);
    } else if (inner & BDR_RAISEDINNER) {
      tl = soft ? Sys(COLOR_3DLIGHT) : Sys(COLOR_BTNHIGHLIGHT);
      br = Sys(COLOR_BTNSHADOW);
    } else {
      tl = soft ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_3DDKSHADOW);
      br = Sys(COLOR_3DLIGHT);
    }
    Ring(*c, r, sides, tl, br);
    if (sides & BF_LEFT) r.adjust(1, 0, 0, 0);
    if (sides & BF_TOP) r.adjust(0, 1, 0, 0);
    if (sides & BF_RIGHT) r.adjust(0, 0, -1, 0);
    if (sides & BF_BOTTOM) r.adjust(0, 0, 0, -1);
  }
  if (flags & BF_MIDDLE) Fill(*c, r, mono ? Sys(COLOR_WINDOW) : Sys(COLOR_BTNFACE));
  if (flags & BF_ADJUST) {
    const QPoint shift = c->toTarget(0, 0);
    *rect = RECT{r.left() - shift.x(), r.top() - shift.y(), r.left() + r.width() - shift.x(),
                 r.top() + r.height() - shift.y()};
  }
  return TRUE;
}

namespace {

// Glyphs are drawn on a square centred in the box, in units of its side.
struct Glyph {
  const Canvas& c;
  QRect box;  // target coordinates, square
  double unit() const { return box.width() / 16.0; }
  QPoint at(double gx, double gy) const {
    return QPoint(box.left() + static_cast<int>(std::lround(gx * unit())),
                  box.top() + static_cast<int>(std::lround(gy * unit())));
  }
  void polygon(std::initializer_list<QPointF> pts, COLORREF colour) const {
    std::vector<QPointF> p;
    for (const QPointF& q : pts)
      p.emplace_back(box.left() + q.x() * unit(), box.top() + q.y() * unit());
    const QRect area = box & c.clipBounds();
    if (area.isEmpty()) return;
    PixelMask mask(area);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        bool in = false;
        const double px = x + 0.5, py = y + 0.5;
        for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
          if ((p[i].y() > py) != (p[j].y() > py) &&
              px < (p[j].x() - p[i].x()) * (py - p[i].y()) / (p[j].y() - p[i].y()) + p[i].x())
            in = !in;
        }
        if (in) mask.set(x, y);
      }
    mask.paint(c, Pattern::Solid(c.domain(colour)), 0xF0);
  }
  void line(double x0, double y0, double x1, double y1, double thickness, COLORREF colour) const {
    const QRect area = box & c.clipBounds();
    if (area.isEmpty()) return;
    PixelMask mask(area);
    const double ax = box.left() + x0 * unit(), ay = box.top() + y0 * unit();
    const double bx = box.left() + x1 * unit(), by = box.top() + y1 * unit();
    const double half = std::max(0.5, thickness * unit() / 2);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const double px = x + 0.5, py = y + 0.5, dx = bx - ax, dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        const double t =
            len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
        const double qx = ax + t * dx - px, qy = ay + t * dy - py;
        if (qx * qx + qy * qy <= half * half) mask.set(x, y);
      }
    mask.paint(c, Pattern::Solid(c.domain(colour)), 0xF0);
  }
  void disc(double cx, double cy, double r, COLORREF colour) const {
    const QRect area = box & c.clipBounds();
    if (area.isEmpty()) return;
    PixelMask mask(area);
    const double ox = box.left() + cx * unit(), oy = box.top() + cy * unit(), rr = r * unit();
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const double dx = x + 0.5 - ox, dy = y + 0.5 - oy;
        if (dx * dx + dy * dy <= rr * rr) mask.set(x, y);
      }
    mask.paint(c, Pattern::Solid(c.domain(colour)), 0xF0);
  }
};

QRect Square(const QRect& r) {
  const int side = std::min(r.width(), r.height());
  return QRect(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
}

void CheckMark(const Glyph& g, COLORREF colour) {
  g.line(3.5, 8.5, 6.5, 11.5, 2.2, colour);
  g.line(6.5, 11.5, 12.5, 4.5, 2.2, colour);
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
  auto c = Canvas::Of(hdc);
  if (!c || !rect) return FALSE;
  const QRect box(c->toTarget(rect->left, rect->top),
                  QSize(rect->right - rect->left, rect->bottom - rect->top));
  if (box.isEmpty()) return TRUE;
  const bool inactive = state & DFCS_INACTIVE, pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
  const COLORREF ink = inactive ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
  switch (type) {
    case DFC_MENU:
    case DFC_POPUPMENU: {
      // Menu glyphs come black on white, ready to serve as a mask.
      Fill(*c, box, RGB(255, 255, 255));
      const Glyph g{*c, Square(box)};
      switch (state & 0xFF) {
        case DFCS_MENUCHECK:
          CheckMark(g, RGB(0, 0, 0));
          break;
        case DFCS_MENUBULLET:
          g.disc(8, 8, 2.6, RGB(0, 0, 0));
          break;
        case DFCS_MENUARROWRIGHT:
          g.polygon({{10, 4}, {10, 12}, {6, 8}}, RGB(0, 0, 0));
          break;
        default:
          g.polygon({{6, 4}, {6, 12}, {10, 8}}, RGB(0, 0, 0));
          break;
      }
      return TRUE;
    }
    case DFC_BUTTON: {
      const UINT kind = state & 0x1F;
      if (kind & DFCS_BUTTONPUSH) {
        RECT r = *rect;
        DrawEdge(hdc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : 0) |
                     ((state & DFCS_ADJUSTRECT) ? BF_ADJUST : 0));
        if (state & DFCS_ADJUSTRECT) *rect = r;
        return TRUE;
      }
      const Glyph g{*c, Square(box)};
      const bool radio = kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK);
      const bool checked = state & DFCS_CHECKED;
      const COLORREF face = (inactive || (state & DFCS_PUSHED)) ? GetSysColor(COLOR_BTNFACE)
                                                                : GetSysColor(COLOR_WINDOW);
      if (radio) {
        if (kind & DFCS_BUTTONRADIOMASK) {
          Fill(*c, box, RGB(255, 255, 255));
          g.disc(8, 8, 6, RGB(0, 0, 0));
          return TRUE;
        }
        g.disc(8, 8, 6.5, GetSysColor(COLOR_BTNSHADOW));
        g.disc(8.5, 8.5, 6, GetSysColor(COLOR_BTNHIGHLIGHT));
        g.disc(8, 8, 5, face);
        if (checked) g.disc(8, 8, 2, ink);
        return TRUE;
      }
      RECT r{rect->left, rect->top, rect->right, rect->bottom};
      const QPoint shift = c->toTarget(0, 0);
      const QRect sq = Square(box);
      r = RECT{sq.left() - shift.x(), sq.top() - shift.y(), sq.left() + sq.width() - shift.x(),
               sq.top() + sq.height() - shift.y()};
      DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0));
      Fill(*c, QRect(c->toTarget(r.left, r.top), QSize(r.right - r.left, r.bottom - r.top)), face);
      if (checked) CheckMark(g, ink);
      return TRUE;
    }
    case DFC_CAPTION: {
      RECT r = *rect;
      DrawEdge(hdc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
      const QRect sq =
          Square(box.adjusted(2, 2, -2, -2)).translated(pushed ? 1 : 0, pushed ? 1 : 0);
      const Glyph g{*c, sq};
      switch (state & 0xFF) {
        case DFCS_CAPTIONCLOSE:
          g.line(3.5, 3.5, 12.5, 12.5, 2.2, ink);
          g.line(12.5, 3.5, 3.5, 12.5, 2.2, ink);
          break;
        case DFCS_CAPTIONMIN:
          g.line(3.5, 12, 11.5, 12, 2.2, ink);
          break;
        case DFCS_CAPTIONMAX:
          g.line(2.5, 3.5, 13.5, 3.5, 2.5, ink);
          g.line(2.5, 3, 2.5, 13.5, 1.2, ink);
          g.line(13.5, 3, 13.5, 13.5, 1.2, ink);
          g.line(2.5, 13.5, 13.5, 13.5, 1.2, ink);
          break;
        case DFCS_CAPTIONRESTORE:
          g.line(5.5, 2.5, 13.5, 2.5, 2.2, ink);
          g.line(13.5, 2.5, 13.5, 9.5, 1.2, ink);
          g.line(2.5, 6.5, 10.5, 6.5, 2.2, ink);
          g.line(2.5, 6.5, 2.5, 13.5, 1.2, ink);
          g.line(10.5, 6.5, 10.5, 13.5, 1.2, ink);
          g.line(2.5, 13.5, 10.5, 13.5, 1.2, ink);
          break;
        case DFCS_CAPTIONHELP:
          g.line(5.5, 5, 8, 3, 1.8, ink);
          g.line(8, 3, 10.5, 5, 1.8, ink);
          g.line(10.5, 5, 8, 8.5, 1.8, ink);
          g.line(8, 8.5, 8, 10, 1.8, ink);
          g.disc(8, 12.8, 1.1, ink);
          break;
        default:
          break;
      }
      return TRUE;
    }
    case DFC_SCROLL: {
      RECT r = *rect;
      DrawEdge(hdc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
      const Glyph g{*c, Square(box.adjusted(2, 2, -2, -2))};
      switch (state & 0xFF) {
        case DFCS_SCROLLUP:
          g.polygon({{4, 10}, {12, 10}, {8, 5}}, ink);
          break;
        case DFCS_SCROLLDOWN:
        case DFCS_SCROLLCOMBOBOX:
          g.polygon({{4, 6}, {12, 6}, {8, 11}}, ink);
          break;
        case DFCS_SCROLLLEFT:
          g.polygon({{10, 4}, {10, 12}, {5, 8}}, ink);
          break;
        case DFCS_SCROLLRIGHT:
          g.polygon({{6, 4}, {6, 12}, {11, 8}}, ink);
          break;
        case DFCS_SCROLLSIZEGRIP:
          for (int k = 0; k < 3; ++k)
            g.line(15 - 4 * k, 15, 15, 15 - 4 * k, 1, GetSysColor(COLOR_BTNSHADOW));
          break;
        default:
          break;
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace win
