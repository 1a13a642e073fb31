#include <QPainterPath>

#include "canvas.h"
#include "icons.h"
#include "palette.h"

namespace artgen {

namespace {

// A round button with a faint rim, the shape that play and pause share.
void drawDisc(QPainter& p, const QColor& base) {
  QRadialGradient shade(QPointF(6, 5), 10);
  shade.setColorAt(0, base.lighter(125));
  shade.setColorAt(1, base);
  p.setPen(QPen(base.darker(130), 1.0));
  p.setBrush(shade);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
}

}  // namespace

QImage barMenuButton() {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);
  p.setPen(QPen(palette::kBlue.darker(130), 1.0));
  p.setBrush(palette::kBlue);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  // Three crisp lines.
  const QColor white(255, 255, 255);
  for (int y : {4, 7, 10}) p.fillRect(QRect(4, y, 8, 2), white);
  return image;
}

QImage barPlay() {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);
  drawDisc(p, palette::kPlayGreen);
  QPainterPath triangle;
  triangle.moveTo(6, 4);
  triangle.lineTo(12, 8);
  triangle.lineTo(6, 12);
  triangle.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255));
  p.drawPath(triangle);
  return image;
}

QImage barPause() {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);
  drawDisc(p, palette::kPauseRed);
  const QColor white(255, 255, 255);
  p.fillRect(QRect(5, 4, 2, 8), white);
  p.fillRect(QRect(9, 4, 2, 8), white);
  return image;
}

}  // namespace artgen
