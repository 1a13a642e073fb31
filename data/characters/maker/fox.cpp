// Volpina, the fox: orange fur, white chest and tail tip, a teal scarf.
#include <QPainterPath>
#include <cmath>

#include "painters.h"

void PaintFox(QPainter& p, const Pose& pose, const Palette& c) {
  using namespace strokes;
  const QPointF shoulderL(-14, -50), shoulderR(14, -50);
  const bool reading = pose.book > 0.5;
  const QPointF handL = reading ? QPointF(-15, -36) : Hand(shoulderL, 20, pose.armLeft, -1);
  const QPointF handR = reading ? QPointF(15, -36) : Hand(shoulderR, 20, pose.armRight, +1);

  // The tail, behind everything, swishing with the phase.
  p.save();
  p.translate(12, -14);
  p.rotate(std::sin(pose.phase * 1.3) * 12);
  QPainterPath tail;
  tail.moveTo(0, 0);
  tail.cubicTo(22, 4, 42, -14, 36, -44);
  tail.cubicTo(30, -52, 22, -48, 24, -40);
  tail.cubicTo(26, -24, 14, -10, -2, -8);
  tail.closeSubpath();
  p.setPen(QPen(c.dark, 1.1));
  p.setBrush(c.main);
  p.drawPath(tail);
  QPainterPath tip;
  tip.moveTo(33, -33);
  tip.cubicTo(40, -40, 38, -50, 30, -50);
  tip.cubicTo(24, -48, 22, -44, 25, -38);
  tip.closeSubpath();
  p.setBrush(c.light);
  p.drawPath(tip);
  p.restore();

  // Feet, body, chest.
  p.setPen(QPen(c.dark.darker(130), 1));
  p.setBrush(c.dark);
  p.drawEllipse(QPointF(-8, -3), 6.5, 3.5);
  p.drawEllipse(QPointF(8, -3), 6.5, 3.5);
  p.setPen(QPen(c.dark, 1.1));
  p.setBrush(c.main);
  p.drawEllipse(QPointF(0, -30), 18, 27);
  p.setPen(Qt::NoPen);
  p.setBrush(c.light);
  p.drawEllipse(QPointF(0, -27), 10.5, 19);

  // Scarf.
  p.setPen(QPen(c.accent.darker(140), 1));
  p.setBrush(c.accent);
  p.drawRoundedRect(QRectF(-15, -60, 30, 7), 3, 3);
  QPainterPath end;
  end.moveTo(5, -55);
  end.lineTo(11, -38);
  end.lineTo(16, -40);
  end.lineTo(11, -55);
  end.closeSubpath();
  p.drawPath(end);

  // Head, turned about the neck.
  p.save();
  p.translate(0, -58);
  p.rotate(pose.tilt);
  p.translate(0, 58);
  p.setPen(QPen(c.dark, 1.1));
  p.setBrush(c.main);
  for (int side : {-1, 1}) {
    QPolygonF ear{{side * 6.0, -86}, {side * 19.0, -107}, {side * 20.0, -80}};
    p.drawPolygon(ear);
  }
  p.setBrush(QColor(70, 40, 35));
  for (int side : {-1, 1}) {
    QPolygonF inner{{side * 9.0, -86}, {side * 18.0, -101}, {side * 18.0, -83}};
    p.setPen(Qt::NoPen);
    p.drawPolygon(inner);
  }
  p.setPen(QPen(c.dark, 1.1));
  p.setBrush(c.main);
  QPainterPath head;
  head.moveTo(-21, -78);
  head.cubicTo(-20, -94, 20, -94, 21, -78);
  head.cubicTo(20, -68, 10, -60, 0, -58);
  head.cubicTo(-10, -60, -20, -68, -21, -78);
  p.drawPath(head);
  // White cheeks and muzzle.
  QPainterPath cheeks;
  cheeks.moveTo(-20, -74);
  cheeks.cubicTo(-12, -72, -6, -70, 0, -73);
  cheeks.cubicTo(6, -70, 12, -72, 20, -74);
  cheeks.cubicTo(17, -66, 9, -60, 0, -58.5);
  cheeks.cubicTo(-9, -60, -17, -66, -20, -74);
  p.setPen(Qt::NoPen);
  p.setBrush(c.light);
  p.drawPath(cheeks);
  if (pose.blush > 0) {
    p.setBrush(QColor(240, 110, 120, static_cast<int>(120 * pose.blush)));
    p.drawEllipse(QPointF(-12, -70), 3.4, 2.2);
    p.drawEllipse(QPointF(12, -70), 3.4, 2.2);
  }
  Eye(p, QPointF(-8, -80), 3.6, 4.2, pose.eyes, pose.lookX, pose.lookY, Qt::white,
      QColor(200, 130, 30), 2.3);
  Eye(p, QPointF(8, -80), 3.6, 4.2, pose.eyes, pose.lookX, pose.lookY, Qt::white,
      QColor(200, 130, 30), 2.3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 20, 20));
  p.drawEllipse(QPointF(0, -71), 2.8, 2.1);
  Mouth(p, QPointF(0, -65.5), 7, pose.mouth, pose.smile, QColor(60, 30, 30));
  p.restore();

  // Arms, the book between them.
  Arm(p, shoulderL, handL, 6.5, c.main, c.dark, 3.3);
  if (reading) Book(p, QPointF(0, -38), 28, QColor(40, 90, 150));
  Arm(p, shoulderR, handR, 6.5, c.main, c.dark, 3.3);
  if (reading) {
    p.setPen(QPen(c.dark.darker(140), 1));
    p.setBrush(c.dark);
    p.drawEllipse(handL, 3.3, 3.3);
    p.drawEllipse(handR, 3.3, 3.3);
  }
  if (pose.sparkle > 0)
    Sparkles(p, handR, static_cast<int>(pose.sparkle), pose.phase, QColor(255, 215, 80));
}
