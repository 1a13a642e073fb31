// Gufo, the owl: round brown body, scalloped chest, big yellow eyes and a
// scholar's cap with a tassel.
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "painters.h"

namespace {

// A wing from the shoulder, `angle` degrees from hanging down, outwards.
QPointF Wing(QPainter& p, QPointF shoulder, double angle, int side, const Palette& c) {
  const double length = 27;
  p.save();
  p.translate(shoulder);
  p.rotate(side * -angle);
  QPainterPath wing;
  wing.moveTo(0, -4);
  wing.cubicTo(side * 9, 2, side * 8, length * 0.7, side * 1, length);
  wing.cubicTo(side * -4, length * 0.6, side * -5, 4, 0, -4);
  p.setPen(QPen(c.dark.darker(130), 1));
  p.setBrush(c.dark);
  p.drawPath(wing);
  p.setPen(QPen(c.dark.lighter(140), 0.8));
  for (int i = 1; i <= 3; ++i)
    p.drawLine(QPointF(side * 1.0, i * 6.0), QPointF(side * 5.0, i * 6.0 + 6));
  p.restore();
  const double a = angle * std::numbers::pi / 180.0;
  return shoulder + QPointF(side * std::sin(a) * length, std::cos(a) * length);
}

}  // namespace

void PaintOwl(QPainter& p, const Pose& pose, const Palette& c) {
  using namespace strokes;
  const bool reading = pose.book > 0.5;

  // Feet and body.
  p.setPen(QPen(c.accent.darker(140), 1));
  p.setBrush(c.accent);
  for (int side : {-1, 1})
    for (int toe = -1; toe <= 1; ++toe) p.drawEllipse(QPointF(side * 9 + toe * 3.2, -3), 1.8, 3.2);
  QPainterPath body;
  body.moveTo(0, -96);
  body.cubicTo(26, -96, 32, -62, 30, -40);
  body.cubicTo(28, -14, 16, -4, 0, -4);
  body.cubicTo(-16, -4, -28, -14, -30, -40);
  body.cubicTo(-32, -62, -26, -96, 0, -96);
  p.setPen(QPen(c.dark.darker(120), 1.2));
  p.setBrush(c.main);
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(c.light);
  p.drawEllipse(QPointF(0, -32), 19, 25);
  p.setPen(QPen(c.main.lighter(110), 1));
  p.setBrush(Qt::NoBrush);
  for (int row = 0; row < 4; ++row)
    for (int k = -2; k <= 2; ++k) {
      const double x = k * 7 + (row % 2) * 3.5, y = -46 + row * 9;
      if (std::abs(x) < 15 - row) p.drawArc(QRectF(x - 3, y - 2, 6, 5), 200 * 16, 140 * 16);
    }

  // Head: ear tufts, facial discs, eyes and beak, turned about the neck.
  p.save();
  p.translate(0, -56);
  p.rotate(pose.tilt);
  p.translate(0, 56);
  p.setPen(QPen(c.dark.darker(120), 1));
  p.setBrush(c.main);
  for (int side : {-1, 1}) {
    QPolygonF tuft{{side * 12.0, -90}, {side * 24.0, -104}, {side * 24.0, -84}};
    p.drawPolygon(tuft);
  }
  p.setPen(QPen(c.main.darker(115), 1));
  p.setBrush(c.light.lighter(108));
  p.drawEllipse(QPointF(-11, -72), 12.5, 12);
  p.drawEllipse(QPointF(11, -72), 12.5, 12);
  if (pose.blush > 0) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 120, 130, static_cast<int>(120 * pose.blush)));
    p.drawEllipse(QPointF(-17, -63), 3.4, 2.2);
    p.drawEllipse(QPointF(17, -63), 3.4, 2.2);
  }
  Eye(p, QPointF(-11, -72), 8, 8, pose.eyes, pose.lookX, pose.lookY, QColor(255, 214, 60),
      QColor(255, 170, 20), 4.6);
  Eye(p, QPointF(11, -72), 8, 8, pose.eyes, pose.lookX, pose.lookY, QColor(255, 214, 60),
      QColor(255, 170, 20), 4.6);
  // The beak opens as it speaks.
  const double gap = pose.mouth * 4.5;
  p.setPen(QPen(c.accent.darker(150), 0.9));
  if (gap > 0.3) {
    p.setBrush(QColor(110, 30, 40));
    p.drawEllipse(QPointF(0, -62 + gap / 2), 3.2, gap / 2 + 1);
  }
  p.setBrush(c.accent);
  p.drawPolygon(QPolygonF{{-4.5, -66 - gap / 3}, {4.5, -66 - gap / 3}, {0, -58 - gap / 3}});
  if (gap > 0.3) p.drawPolygon(QPolygonF{{-3, -60 + gap / 2}, {3, -60 + gap / 2}, {0, -56 + gap}});
  // Scholar's cap with its tassel.
  p.setPen(QPen(QColor(10, 10, 20), 1));
  p.setBrush(QColor(35, 35, 50));
  p.drawRect(QRectF(-11, -96, 22, 7));
  p.drawPolygon(QPolygonF{{-24, -99}, {0, -107}, {24, -99}, {0, -92}});
  p.setPen(QPen(c.accent.lighter(110), 1.4));
  const double swing = std::sin(pose.phase) * 3;
  p.drawLine(QPointF(0, -100), QPointF(16, -98));
  p.drawLine(QPointF(16, -98), QPointF(17 + swing, -86));
  p.restore();

  // Wings, the book between them.
  if (reading) {
    Wing(p, QPointF(-25, -62), 25, -1, c);
    Wing(p, QPointF(25, -62), 25, +1, c);
    Book(p, QPointF(0, -38), 32, QColor(60, 110, 60));
    p.setPen(QPen(c.dark.darker(130), 1));
    p.setBrush(c.dark);
    p.drawEllipse(QPointF(-17, -38), 4, 5);
    p.drawEllipse(QPointF(17, -38), 4, 5);
  } else {
    Wing(p, QPointF(-25, -62), pose.armLeft - 15, -1, c);
    const QPointF tip = Wing(p, QPointF(25, -62), pose.armRight - 15, +1, c);
    if (pose.sparkle > 0)
      Sparkles(p, tip, static_cast<int>(pose.sparkle), pose.phase, QColor(255, 225, 90));
  }
}
