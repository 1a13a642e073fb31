#include <QPainterPath>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "painters.h"

namespace strokes {

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
}

QPointF Hand(QPointF shoulder, double length, double angle, int side) {
  return shoulder +
         QPointF(side * std::sin(angle * kDeg) * length, std::cos(angle * kDeg) * length);
}

void Arm(QPainter& p, QPointF shoulder, QPointF hand, double width, const QColor& sleeve,
         const QColor& handColor, double handRadius) {
  p.save();
  p.setPen(QPen(sleeve.darker(140), width + 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(shoulder, hand);
  p.setPen(QPen(sleeve, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(shoulder, hand);
  p.setPen(QPen(handColor.darker(150), 1));
  p.setBrush(handColor);
  p.drawEllipse(hand, handRadius, handRadius);
  p.restore();
}

void Star(QPainter& p, QPointF centre, double radius, const QColor& color) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2 == 0) ? radius : radius * 0.42;
    const double a = (-90 + i * 36) * kDeg;
    const QPointF pt = centre + QPointF(std::cos(a) * r, std::sin(a) * r);
    if (i == 0)
      star.moveTo(pt);
    else
      star.lineTo(pt);
  }
  star.closeSubpath();
  p.save();
  p.setPen(QPen(color.darker(130), 0.8));
  p.setBrush(color);
  p.drawPath(star);
  p.restore();
}

void Sparkles(QPainter& p, QPointF centre, int count, double phase, const QColor& color) {
  for (int i = 0; i < count; ++i) {
    const double a = (phase * 40 + i * 360.0 / count) * kDeg;
    const double r = 11 + 4 * ((i + static_cast<int>(phase)) % 2);
    Star(p, centre + QPointF(std::cos(a) * r, std::sin(a) * r), 3.2 + (i % 2), color);
  }
}

void Book(QPainter& p, QPointF centre, double width, const QColor& cover) {
  p.save();
  const double h = width * 0.55;
  const double x = centre.x(), y = centre.y();
  p.setPen(QPen(cover.darker(160), 1));
  p.setBrush(cover);
  p.drawRoundedRect(QRectF(x - width / 2 - 2, y - h / 2 - 1, width + 4, h + 4), 2, 2);
  p.setBrush(QColor(250, 246, 230));
  QPolygonF left{{x, y - h / 2 + 2},
                 {x - width / 2, y - h / 2},
                 {x - width / 2, y + h / 2},
                 {x, y + h / 2 + 2}};
  QPolygonF right{{x, y - h / 2 + 2},
                  {x + width / 2, y - h / 2},
                  {x + width / 2, y + h / 2},
                  {x, y + h / 2 + 2}};
  p.drawPolygon(left);
  p.drawPolygon(right);
  p.setPen(QPen(QColor(120, 120, 140), 0.8));
  for (int i = 1; i <= 4; ++i) {
    const double ly = y - h / 2 + i * h / 5.5;
    p.drawLine(QPointF(x - width / 2 + 3, ly), QPointF(x - 3, ly + 1));
    p.drawLine(QPointF(x + 3, ly + 1), QPointF(x + width / 2 - 3, ly));
  }
  p.restore();
}

void Eye(QPainter& p, QPointF centre, double rx, double ry, double open, double lookX, double lookY,
         const QColor& white, const QColor& iris, double irisRadius) {
  p.save();
  if (open < 0.15) {
    p.setPen(QPen(QColor(40, 30, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(centre.x() - rx, centre.y() - ry * 0.6, 2 * rx, ry * 1.2), 200 * 16, 140 * 16);
    p.restore();
    return;
  }
  const double h = ry * std::min(open, 1.35);
  p.setPen(QPen(QColor(40, 30, 30), 0.9));
  p.setBrush(white);
  p.drawEllipse(centre, rx * std::min(1.0, 0.85 + open * 0.15), h);
  QPainterPath clip;
  clip.addEllipse(centre, rx, h);
  p.setClipPath(clip);
  const QPointF pupil =
      centre + QPointF(lookX * (rx - irisRadius * 0.7), lookY * (h - irisRadius * 0.5));
  p.setPen(Qt::NoPen);
  p.setBrush(iris);
  p.drawEllipse(pupil, irisRadius, irisRadius);
  p.setBrush(QColor(15, 10, 10));
  p.drawEllipse(pupil, irisRadius * 0.55, irisRadius * 0.55);
  p.setBrush(Qt::white);
  p.drawEllipse(pupil + QPointF(-irisRadius * 0.3, -irisRadius * 0.35), irisRadius * 0.22,
                irisRadius * 0.22);
  p.restore();
}

void Mouth(QPainter& p, QPointF centre, double width, double open, double smile,
           const QColor& line) {
  p.save();
  if (open > 0.05) {
    const double h = 1.5 + open * width * 0.55;
    QPainterPath m;
    m.moveTo(centre.x() - width / 2, centre.y() - smile * 1.5);
    m.quadTo(centre.x(), centre.y() - 1.5 + smile, centre.x() + width / 2,
             centre.y() - smile * 1.5);
    m.quadTo(centre.x(), centre.y() + h + smile * 1.5, centre.x() - width / 2,
             centre.y() - smile * 1.5);
    p.setPen(QPen(line, 1));
    p.setBrush(QColor(110, 30, 40));
    p.drawPath(m);
    // The tongue.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 110, 120));
    p.drawEllipse(QPointF(centre.x(), centre.y() + h * 0.55), width * 0.22, h * 0.25);
  } else {
    QPainterPath m;
    m.moveTo(centre.x() - width / 2, centre.y() - smile * 2);
    m.quadTo(centre.x(), centre.y() + smile * 4, centre.x() + width / 2, centre.y() - smile * 2);
    p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(m);
  }
  p.restore();
}

}  // namespace strokes

QImage PaintCharacter(const QString& kind, const Pose& pose, const Palette& palette, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 128.0, size / 128.0);
  // Feet stay on the ground; a bow turns the body about them.
  p.translate(64, 124 - pose.bounce);
  p.rotate(-pose.lean * 0.5);
  if (kind == "wizard")
    PaintWizard(p, pose, palette);
  else if (kind == "fox")
    PaintFox(p, pose, palette);
  else if (kind == "owl")
    PaintOwl(p, pose, palette);
  else
    throw std::runtime_error("unknown kind of character " + kind.toStdString());
  return image;
}
