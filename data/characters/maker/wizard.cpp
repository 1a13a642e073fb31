// Merlin, the wizard: blue robe and pointed hat with stars, white beard,
// a staff with a glowing stone.
#include <QPainterPath>
#include <cmath>

#include "painters.h"

void PaintWizard(QPainter& p, const Pose& pose, const Palette& c) {
  using namespace strokes;
  const QPointF shoulderL(-12, -56), shoulderR(12, -56);
  const bool reading = pose.book > 0.5;
  const QPointF handL = reading ? QPointF(-15, -40) : Hand(shoulderL, 24, pose.armLeft, -1);
  const QPointF handR = reading ? QPointF(15, -40) : Hand(shoulderR, 24, pose.armRight, +1);

  // The staff stands beside him while the left hand is low.
  if (!reading && pose.armLeft < 70) {
    p.setPen(QPen(QColor(110, 72, 38), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(handL.x() - 1, handL.y() - 38), QPointF(handL.x() - 1, -1));
    QRadialGradient glow(QPointF(handL.x() - 1, handL.y() - 42), 7);
    glow.setColorAt(0, Qt::white);
    glow.setColorAt(0.5, c.accent.lighter(130));
    glow.setColorAt(1, QColor(c.accent.red(), c.accent.green(), c.accent.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(handL.x() - 1, handL.y() - 42), 7, 7);
  }

  // Shoes and robe.
  p.setPen(QPen(QColor(50, 30, 20), 1));
  p.setBrush(QColor(92, 58, 34));
  p.drawEllipse(QPointF(-9, -3), 7, 3.5);
  p.drawEllipse(QPointF(9, -3), 7, 3.5);
  QPainterPath robe;
  robe.moveTo(-13, -60);
  robe.lineTo(13, -60);
  robe.cubicTo(18, -40, 24, -20, 27, -4);
  robe.quadTo(0, 1, -27, -4);
  robe.cubicTo(-24, -20, -18, -40, -13, -60);
  QLinearGradient robeShade(-27, 0, 27, 0);
  robeShade.setColorAt(0, c.main.darker(125));
  robeShade.setColorAt(0.45, c.main);
  robeShade.setColorAt(1, c.main.darker(145));
  p.setPen(QPen(c.dark, 1.2));
  p.setBrush(robeShade);
  p.drawPath(robe);
  Star(p, QPointF(-12, -18), 3.5, c.accent);
  Star(p, QPointF(10, -30), 2.8, c.accent);
  Star(p, QPointF(15, -10), 2.2, c.accent);
  Star(p, QPointF(-6, -36), 2.0, c.accent);
  p.setPen(QPen(c.accent, 2.2));
  p.drawLine(QPointF(-14.5, -44), QPointF(14.5, -44));

  // Head, turned about the neck.
  p.save();
  p.translate(0, -60);
  p.rotate(pose.tilt);
  p.translate(0, 60);
  p.setPen(QPen(c.skin.darker(140), 1));
  p.setBrush(c.skin);
  p.drawEllipse(QPointF(0, -72), 12.5, 13.5);
  if (pose.blush > 0) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 120, 130, static_cast<int>(110 * pose.blush)));
    p.drawEllipse(QPointF(-8, -68), 3.2, 2.2);
    p.drawEllipse(QPointF(8, -68), 3.2, 2.2);
  }
  // Beard.
  QPainterPath beard;
  beard.moveTo(-12, -71);
  beard.cubicTo(-13, -56, -7, -44, 0, -38);
  beard.cubicTo(7, -44, 13, -56, 12, -71);
  beard.cubicTo(8, -63, -8, -63, -12, -71);
  p.setPen(QPen(QColor(190, 190, 200), 1));
  p.setBrush(QColor(247, 247, 250));
  p.drawPath(beard);
  p.setPen(QPen(QColor(200, 200, 210), 0.8));
  p.drawLine(QPointF(-5, -58), QPointF(-3, -47));
  p.drawLine(QPointF(5, -58), QPointF(3, -47));
  Mouth(p, QPointF(0, -63), 7, pose.mouth, pose.smile, QColor(90, 60, 60));
  // Moustache, nose, eyes, brows.
  p.setPen(QPen(QColor(190, 190, 200), 0.8));
  p.setBrush(QColor(250, 250, 252));
  p.drawEllipse(QPointF(-4.2, -66.5), 4.6, 2.2);
  p.drawEllipse(QPointF(4.2, -66.5), 4.6, 2.2);
  p.setPen(Qt::NoPen);
  p.setBrush(c.skin.darker(112));
  p.drawEllipse(QPointF(0, -69.5), 2.6, 2.4);
  Eye(p, QPointF(-5, -75), 3.1, 3.2, pose.eyes, pose.lookX, pose.lookY, Qt::white,
      QColor(60, 90, 160), 1.9);
  Eye(p, QPointF(5, -75), 3.1, 3.2, pose.eyes, pose.lookX, pose.lookY, Qt::white,
      QColor(60, 90, 160), 1.9);
  p.setPen(QPen(QColor(235, 235, 240), 2.2, Qt::SolidLine, Qt::RoundCap));
  const double brow = pose.eyes > 1.05 ? -2 : 0;
  p.drawLine(QPointF(-8, -79 + brow), QPointF(-2.5, -80 + brow));
  p.drawLine(QPointF(2.5, -80 + brow), QPointF(8, -79 + brow));

  // Hat.
  QPainterPath cone;
  cone.moveTo(-13, -83);
  cone.cubicTo(-8, -95, -3, -108, 9, -121);
  cone.cubicTo(6, -110, 8, -96, 13, -83);
  cone.closeSubpath();
  p.setPen(QPen(c.dark, 1.2));
  p.setBrush(c.main.darker(112));
  p.drawPath(cone);
  Star(p, QPointF(1, -96), 3.6, c.accent);
  Star(p, QPointF(5, -109), 2.0, c.accent);
  p.setBrush(c.main.darker(135));
  p.drawEllipse(QPointF(0, -83), 20, 4.2);
  p.restore();

  // Arms, the book between them.
  Arm(p, shoulderL, handL, 8, c.main.darker(110), c.skin, 3.4);
  if (reading) Book(p, QPointF(0, -42), 30, QColor(140, 40, 40));
  Arm(p, shoulderR, handR, 8, c.main.darker(110), c.skin, 3.4);
  if (reading) {
    p.setPen(QPen(c.skin.darker(150), 1));
    p.setBrush(c.skin);
    p.drawEllipse(handL, 3.4, 3.4);
    p.drawEllipse(handR, 3.4, 3.4);
  }
  if (pose.sparkle > 0)
    Sparkles(p, handR, static_cast<int>(pose.sparkle), pose.phase, c.accent.lighter(115));
}
