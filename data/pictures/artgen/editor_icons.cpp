#include <QPainterPath>

#include "canvas.h"
#include "icons.h"
#include "palette.h"

namespace artgen {

namespace {

// A triangle pointing right from x, centred on the icon's middle row.
QPainterPath rightTriangle(double x, double width) {
  QPainterPath path;
  path.moveTo(x, 2.5);
  path.lineTo(x + width, 8);
  path.lineTo(x, 13.5);
  path.closeSubpath();
  return path;
}

void fillArrowShape(QPainter& p, const QPainterPath& shape) {
  QLinearGradient fill(0, 2, 0, 14);
  fill.setColorAt(0, palette::kBlue.lighter(130));
  fill.setColorAt(1, palette::kBlue);
  p.setPen(QPen(palette::kInk, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawPath(shape);
}

}  // namespace

QImage editorIcon(EditorIcon icon) {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);
  QPainterPath shape;
  bool mirrored = false;
  switch (icon) {
    case EditorIcon::Add: {
      // A green plus, crisp on the pixel grid.
      p.setPen(Qt::NoPen);
      p.setBrush(palette::kInk);
      p.drawRect(QRect(5, 1, 6, 14));
      p.drawRect(QRect(1, 5, 14, 6));
      p.setBrush(palette::kPlayGreen);
      p.drawRect(QRect(6, 2, 4, 12));
      p.drawRect(QRect(2, 6, 12, 4));
      p.setBrush(palette::kPlayGreen.lighter(135));
      p.drawRect(QRect(6, 2, 4, 1));
      p.drawRect(QRect(2, 6, 4, 1));
      p.drawRect(QRect(10, 6, 4, 1));
      return image;
    }
    case EditorIcon::First:
      mirrored = true;
      [[fallthrough]];
    case EditorIcon::Last:
      shape.addRect(QRectF(11.5, 2.5, 2, 11));
      shape = shape.united(rightTriangle(2.5, 8.5));
      break;
    case EditorIcon::Previous:
      mirrored = true;
      [[fallthrough]];
    case EditorIcon::Next:
      shape = rightTriangle(4.5, 8.5);
      break;
  }
  if (mirrored) p.setTransform(QTransform(-1, 0, 0, 1, 16, 0));
  fillArrowShape(p, shape.simplified());
  return image;
}

}  // namespace artgen
