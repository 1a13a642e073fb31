#include "gdi/canvas.h"

#include <algorithm>
#include <cstring>

namespace win::detail {

std::uint8_t Rop2AsRop3(int rop2) {
  const int table = (rop2 - 1) & 0x0F;
  std::uint8_t code = 0;
  for (int i = 0; i < 8; ++i) {
    const int p = (i >> 2) & 1, d = i & 1;
    if ((table >> ((p << 1) | d)) & 1) code = static_cast<std::uint8_t>(code | (1 << i));
  }
  return code;
}

namespace {
bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL:
      return y == 7;
    case HS_VERTICAL:
      return x == 7;
    case HS_FDIAGONAL:
      return x == y;
    case HS_BDIAGONAL:
      return x + y == 7;
    case HS_CROSS:
      return x == 7 || y == 7;
    case HS_DIAGCROSS:
      return x == y || x + y == 7;
    default:
      return false;
  }
}
int Wrap(int v, int n) {
  const int r = v % n;
  return r < 0 ? r + n : r;
}
}  // namespace

Pattern Pattern::Solid(std::uint32_t value) {
  Pattern p;
  p.kind_ = Kind::Solid;
  p.fg_ = value;
  return p;
}

Pattern::Pattern(const DeviceContext& dc, const BrushObject& brush, const PixelBuffer& dest) {
  const bool destMono = dest.isMonoDevice();
  auto domain = [&](COLORREF c) -> std::uint32_t {
    const std::uint32_t rgb = RgbOf(c);
    return destMono ? (IsLight(rgb) ? 0xFFFFFF : 0) : rgb;
  };
  orgX_ = dc.origin.x();
  orgY_ = dc.origin.y();
  if (brush.dcBrush) {
    kind_ = Kind::Solid;
    fg_ = domain(dc.state.dcBrushColour);
    return;
  }
  switch (brush.style) {
    case BS_SOLID:
      kind_ = Kind::Solid;
      fg_ = domain(brush.colour);
      break;
    case BS_HATCHED:
      kind_ = Kind::Hatch;
      hatch_ = brush.hatch;
      fg_ = domain(brush.colour);
      bg_ = domain(dc.state.bkColour);
      bgTransparent_ = dc.state.bkMode == TRANSPARENT;
      break;
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
      if (!brush.pattern) break;
      kind_ = Kind::Bitmap;
      bitmap_ = brush.pattern;
      monoToColour_ = bitmap_->isMonoDevice() && !destMono;
      colourToMono_ = !bitmap_->isMonoDevice() && destMono;
      // A monochrome pattern takes the DC's text colour for 0 and background for 1.
      fg_ = domain(dc.state.textColour);
      bg_ = domain(dc.state.bkColour);
      break;
    default:
      break;
  }
}

bool Pattern::at(int tx, int ty, std::uint32_t& value) const {
  switch (kind_) {
    case Kind::None:
      return false;
    case Kind::Solid:
      value = fg_;
      return true;
    case Kind::Hatch: {
      const bool on = HatchBit(hatch_, Wrap(tx - orgX_, 8), Wrap(ty - orgY_, 8));
      if (!on && bgTransparent_) return false;
      value = on ? fg_ : bg_;
      return true;
    }
    case Kind::Bitmap: {
      const int px = Wrap(tx - orgX_, bitmap_->width), py = Wrap(ty - orgY_, bitmap_->height);
      if (monoToColour_) {
        value = bitmap_->bit(px, py) ? bg_ : fg_;
      } else if (bitmap_->isMonoDevice()) {
        value = bitmap_->bit(px, py) ? 0xFFFFFF : 0;
      } else if (colourToMono_) {
        value = IsLight(bitmap_->rgb(px, py)) ? 0xFFFFFF : 0;
      } else {
        value = bitmap_->rgb(px, py);
      }
      return true;
    }
  }
  return false;
}

std::optional<Canvas> Canvas::Of(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !dc->target) return std::nullopt;
  Canvas c;
  c.dc_ = dc;
  c.buf_ = dc->target.get();
  QRegion region(QRect(0, 0, c.buf_->width, c.buf_->height));
  if (dc->surfaceClip) region &= *dc->surfaceClip;
  if (dc->state.clip) region &= dc->state.clip->translated(dc->origin);
  for (const QRect& r : region)
    c.clip_.push_back(ClipRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  return c;
}

QRect Canvas::clipBounds() const {
  QRect bounds;
  for (const ClipRect& r : clip_)
    bounds |= QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  return bounds;
}

bool Canvas::visible(int tx, int ty) const {
  for (const ClipRect& r : clip_)
    if (tx >= r.left && tx < r.right && ty >= r.top && ty < r.bottom) return true;
  return false;
}

Pattern Canvas::patternOf(const BrushObject& brush) const {
  return Pattern(*dc_, brush, *buf_);
}

Pattern Canvas::brushPattern() const {
  if (auto* b = Find<BrushObject>(dc_->state.brush)) return patternOf(*b);
  return Pattern();
}

PenInfo Canvas::pen() const {
  PenInfo info;
  if (auto* p = Find<PenObject>(dc_->state.pen)) {
    info.style = p->style;
    info.width = p->width;
    info.colour = p->dcPen ? dc_->state.dcPenColour : p->colour;
  }
  return info;
}

void Canvas::span(int ty, int x0, int x1, const Pattern& p, std::uint8_t code) const {
  if (x0 >= x1 || p.empty()) return;
  // A solid brush that ignores what is under it gives one word for the whole
  // run: a true-colour buffer in memory takes it by rows, not pixel by pixel.
  std::uint32_t value = 0;
  const bool wordRun =
      p.solid(value) && !RopUsesDest(code) && buf_->bitsPerPixel == 32 && !buf_->source;
  const std::uint32_t word = 0xFF000000u | ApplyRop3(code, value, 0, 0);
  for (const ClipRect& r : clip_) {
    if (ty < r.top || ty >= r.bottom) continue;
    const int a = std::max(x0, r.left), b = std::min(x1, r.right);
    if (wordRun) {
      std::uint8_t* row = buf_->row(ty);
      for (int x = a; x < b; ++x) std::memcpy(row + 4 * static_cast<std::ptrdiff_t>(x), &word, 4);
      continue;
    }
    for (int x = a; x < b; ++x) {
      std::uint32_t pv;
      if (!p.at(x, ty, pv)) continue;
      if (code == 0xF0) {
        write(x, ty, pv);
      } else {
        write(x, ty, ApplyRop3(code, pv, 0, read(x, ty)));
      }
    }
  }
}

void Canvas::fillRect(const QRect& rect, const Pattern& p, std::uint8_t code) const {
  if (rect.isEmpty()) return;
  const int top = std::max(rect.top(), 0), bottom = std::min(rect.bottom() + 1, buf_->height);
  for (int y = top; y < bottom; ++y) span(y, rect.left(), rect.right() + 1, p, code);
}

void Canvas::plot(int tx, int ty, std::uint32_t value, std::uint8_t code) const {
  if (!visible(tx, ty)) return;
  write(tx, ty, code == 0xF0 ? value : ApplyRop3(code, value, 0, read(tx, ty)));
}

PixelMask::PixelMask(QRect bounds) : bounds_(bounds) {
  if (bounds_.isEmpty()) bounds_ = QRect();
  bits_.assign(static_cast<std::size_t>(std::max(bounds_.width(), 0)) *
                   static_cast<std::size_t>(std::max(bounds_.height(), 0)),
               0);
}

void PixelMask::set(int tx, int ty) {
  if (!bounds_.contains(tx, ty)) return;
  bits_[static_cast<std::size_t>(ty - bounds_.top()) * static_cast<std::size_t>(bounds_.width()) +
        static_cast<std::size_t>(tx - bounds_.left())] = 1;
}

bool PixelMask::get(int tx, int ty) const {
  if (!bounds_.contains(tx, ty)) return false;
  return bits_[static_cast<std::size_t>(ty - bounds_.top()) *
                   static_cast<std::size_t>(bounds_.width()) +
               static_cast<std::size_t>(tx - bounds_.left())] != 0;
}

void PixelMask::paint(const Canvas& c, const Pattern& p, std::uint8_t code) const {
  if (bounds_.isEmpty()) return;
  for (int y = bounds_.top(); y <= bounds_.bottom(); ++y) {
    int x = bounds_.left();
    while (x <= bounds_.right()) {
      if (!get(x, y)) {
        ++x;
        continue;
      }
      int e = x;
      while (e <= bounds_.right() && get(e, y)) ++e;
      c.span(y, x, e, p, code);
      x = e;
    }
  }
}

}  // namespace win::detail
