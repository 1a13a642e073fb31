#include "forms/shape.h"

#include <QPainter>
#include <algorithm>

#include "light_widget.h"

namespace forms {

Shape::Shape(const ControlSite& site) : GraphicControl(site) {
  widget_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::ShapeKind(int s) {
  shape_ = s;
  widget_->update();
}
void Shape::BackColor(win::COLORREF c) {
  backColor_ = c;
  widget_->update();
}
void Shape::BackStyle(int s) {
  backStyle_ = s;
  widget_->update();
}
void Shape::BorderColor(win::COLORREF c) {
  borderColor_ = c;
  widget_->update();
}
void Shape::BorderStyle(int s) {
  borderStyle_ = s;
  widget_->update();
}
void Shape::BorderWidth(int w) {
  borderWidth_ = std::max(1, w);
  widget_->update();
}
void Shape::FillColor(win::COLORREF c) {
  fillColor_ = c;
  widget_->update();
}
void Shape::FillStyle(int s) {
  fillStyle_ = s;
  widget_->update();
}

void Shape::PaintOn(QPainter& p) {
  QRectF r = widget_->rect();
  if (shape_ == 1 || shape_ == 3 || shape_ == 5) {
    const double side = std::min(r.width(), r.height());
    r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
  }
  const double inset = borderWidth_ / 2.0;
  const QRectF inner = r.adjusted(inset, inset, -inset, -inset);
  auto draw = [&](const QBrush& brush, const QPen& pen) {
    p.setBrush(brush);
    p.setPen(pen);
    if (shape_ == 2 || shape_ == 3)
      p.drawEllipse(inner);
    else if (shape_ == 4 || shape_ == 5)
      p.drawRoundedRect(inner, inner.width() / 10, inner.height() / 10);
    else
      p.drawRect(inner);
  };
  if (backStyle_ == 1) draw(ToQColor(backColor_), Qt::NoPen);
  if (fillStyle_ == 0) draw(ToQColor(fillColor_), Qt::NoPen);
  const QRect whole = widget_->rect();
  if (shape_ == 0 && borderStyle_ == 1 && borderWidth_ == 1 && whole.width() >= 2 &&
      whole.height() >= 2 && !p.deviceTransform().isScaling()) {
    // The same pixels as the outline a pen draws, filled as four edges: a
    // border around a whole form is drawn again for every label repainted
    // beneath it, and filling only what the repaint shows costs far less
    // than drawing the line along the whole border.
    const QColor c = ToQColor(borderColor_);
    const int w = whole.width(), h = whole.height();
    p.fillRect(QRect(0, 0, w, 1), c);
    p.fillRect(QRect(0, h - 1, w, 1), c);
    p.fillRect(QRect(0, 0, 1, h), c);
    p.fillRect(QRect(w - 1, 0, 1, h), c);
    return;
  }
  if (borderStyle_ != 0) {
    QPen pen(ToQColor(borderColor_), borderWidth_);
    if (borderStyle_ == 2)
      pen.setStyle(Qt::DashLine);
    else if (borderStyle_ == 3)
      pen.setStyle(Qt::DotLine);
    draw(Qt::NoBrush, pen);
  }
}

void Shape::SetProperty(std::string_view name, const Value& v) {
  if (name == "Shape")
    ShapeKind(v.ToLong());
  else if (name == "BackColor")
    BackColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "BackStyle")
    BackStyle(v.ToLong());
  else if (name == "BorderColor")
    BorderColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else if (name == "BorderWidth")
    BorderWidth(v.ToLong());
  else if (name == "FillColor")
    FillColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "FillStyle")
    FillStyle(v.ToLong());
  else
    GraphicControl::SetProperty(name, v);
}

}  // namespace forms
