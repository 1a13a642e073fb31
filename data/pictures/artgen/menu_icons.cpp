#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "canvas.h"
#include "icons.h"
#include "palette.h"

namespace artgen {

namespace {

using namespace palette;

const QColor kWhiteInk{255, 255, 255};

QPen inkPen(double width = 1.0) {
  return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled disc with a dark rim and a white symbol drawn in a font.
void drawLetterDisc(QPainter& p, const QColor& base, const QString& letter, Face face,
                    int pixelSize, double dy) {
  QRadialGradient shade(QPointF(6, 5), 11);
  shade.setColorAt(0, base.lighter(135));
  shade.setColorAt(1, base);
  p.setPen(QPen(base.darker(150), 1.0));
  p.setBrush(shade);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(kWhiteInk);
  p.setFont(fontFor(face, pixelSize));
  p.drawText(QRectF(0, dy, 16, 16), Qt::AlignCenter, letter);
}

void drawBulb(QPainter& p) {
  QPainterPath glass;
  glass.moveTo(5.5, 10.5);
  glass.cubicTo(5.5, 8, 2.5, 7.5, 2.5, 5.5);
  glass.cubicTo(2.5, 2.5, 5, 0.5, 8, 0.5);
  glass.cubicTo(11, 0.5, 13.5, 2.5, 13.5, 5.5);
  glass.cubicTo(13.5, 7.5, 10.5, 8, 10.5, 10.5);
  glass.closeSubpath();
  QRadialGradient glow(QPointF(6.5, 4.5), 7);
  glow.setColorAt(0, QColor(0xff, 0xf6, 0xc8));
  glow.setColorAt(1, kYellow);
  p.setPen(QPen(kOrange.darker(140), 1.0));
  p.setBrush(glow);
  p.drawPath(glass);
  // Screw base.
  p.setPen(Qt::NoPen);
  p.setBrush(kGrey);
  p.drawRect(QRectF(5.5, 11, 5, 1.5));
  p.drawRect(QRectF(5.5, 13, 5, 1.5));
  p.drawRect(QRectF(6.5, 14.5, 3, 1.5));
  // Filament.
  p.setPen(QPen(kOrange, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF(
      {QPointF(6.5, 9), QPointF(7.2, 6), QPointF(8, 8), QPointF(8.8, 6), QPointF(9.5, 9)}));
}

void drawGear(QPainter& p) {
  const QPointF c(8, 8);
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 4; ++i) {
    // Each tooth: two outer points then two inner points.
    const double angle = (i - 0.5) * std::numbers::pi * 2 / (teeth * 4);
    const double r = (i % 4 < 2) ? 7.4 : 5.4;
    const QPointF pt = c + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    if (i == 0)
      gear.moveTo(pt);
    else
      gear.lineTo(pt);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, 2.3, 2.3);
  gear = gear.subtracted(hole);
  QLinearGradient metal(0, 0, 16, 16);
  metal.setColorAt(0, kLightGrey);
  metal.setColorAt(1, kGrey);
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(metal);
  p.drawPath(gear);
}

void drawBookWithPencil(QPainter& p) {
  // Book: blue cover, white page edge at the bottom.
  p.setPen(inkPen());
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(1.5, 1.5, 10, 13), 1, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3, 12, 8, 1.5));
  p.setBrush(kLightBlue);
  p.drawRect(QRectF(4, 4, 5, 1));
  p.drawRect(QRectF(4, 6, 5, 1));
  // Pencil across the lower right corner.
  p.save();
  p.translate(11, 9);
  p.rotate(45);
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(kYellow);
  p.drawRect(QRectF(-1.6, -6.5, 3.2, 9));
  p.setBrush(kRed);
  p.drawRect(QRectF(-1.6, -8, 3.2, 1.5));
  QPainterPath tip;
  tip.moveTo(-1.6, 2.5);
  tip.lineTo(1.6, 2.5);
  tip.lineTo(0, 6);
  tip.closeSubpath();
  p.setBrush(QColor(0xf1, 0xd5, 0xa8));
  p.drawPath(tip);
  p.restore();
}

// Two bars, as on a player's pause button, on a green disc.
void drawPauseDisc(QPainter& p) {
  p.setPen(QPen(kGreen.darker(150), 1.0));
  p.setBrush(kGreen);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(QRectF(5, 4, 2, 8));
  p.drawRect(QRectF(9, 4, 2, 8));
}

// A card of listed words with a green tick: the words already in the book.
void drawWordList(QPainter& p) {
  p.setPen(inkPen());
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(1.5, 1.5, 11, 13), 1, 1);
  p.setPen(QPen(kBlue, 1.0));
  for (double y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(3.5, y), QPointF(10.5, y));
  p.setPen(QPen(kGreen, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(8.5, 11), QPointF(10.5, 13.5), QPointF(14.5, 7.5)}));
}

void drawSpeaking(QPainter& p) {
  // A bubble with sound waves: the reader speaks the text aloud.
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(0.5, 2.5, 10, 8), 2.5, 2.5);
  QPainterPath tail;
  tail.moveTo(2.5, 9.5);
  tail.lineTo(1.5, 13.5);
  tail.lineTo(6, 9.5);
  tail.closeSubpath();
  const QPainterPath shape = bubble.united(tail).simplified();
  p.setPen(inkPen());
  p.setBrush(kPaper);
  p.drawPath(shape);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(3.5, 6.5), 1, 1);
  p.setBrush(kGrey);
  p.drawEllipse(QPointF(5.5, 6.5), 1, 1);
  p.setBrush(kRed);
  p.drawEllipse(QPointF(7.5, 6.5), 1, 1);
  p.setPen(QPen(kBlue, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(8, 3, 5, 7), -60 * 16, 120 * 16);
  p.drawArc(QRectF(8, 1, 8, 11), -60 * 16, 120 * 16);
}

void drawGlobe(QPainter& p) {
  const QRectF ball(0.5, 0.5, 15, 15);
  QRadialGradient sea(QPointF(5.5, 5), 11);
  sea.setColorAt(0, kLightBlue);
  sea.setColorAt(1, kBlue);
  p.setPen(Qt::NoPen);
  p.setBrush(sea);
  p.drawEllipse(ball);
  p.setPen(QPen(withAlpha(kWhiteInk, 200), 0.9));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(4.5, 0.5, 7, 15));
  p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
  p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
  p.drawLine(QPointF(2, 4.5), QPointF(14, 4.5));
  p.drawLine(QPointF(2, 11.5), QPointF(14, 11.5));
  p.setPen(QPen(kInk, 1.0));
  p.drawEllipse(ball);
}

void drawEnvelope(QPainter& p) {
  const QRectF body(0.5, 3.5, 15, 10);
  p.setPen(inkPen());
  p.setBrush(kPaper);
  p.drawRect(body);
  p.setBrush(QColor(0xe4, 0xec, 0xf7));
  QPainterPath flap;
  flap.moveTo(0.5, 3.5);
  flap.lineTo(8, 9.5);
  flap.lineTo(15.5, 3.5);
  p.drawPath(flap);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(0.5, 13.5), QPointF(6, 8.5));
  p.drawLine(QPointF(15.5, 13.5), QPointF(10, 8.5));
  // A red stamp corner for an Italian touch.
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawRect(QRectF(12, 5, 2, 2));
}

void drawExit(QPainter& p) {
  // Door frame with an open door and an arrow leaving through it.
  p.setPen(inkPen());
  p.setBrush(QColor(0x3a, 0x3a, 0x46));
  p.drawRect(QRectF(1.5, 1.5, 8, 13));
  QPainterPath door;
  door.moveTo(1.5, 1.5);
  door.lineTo(6.5, 3.5);
  door.lineTo(6.5, 15.5);
  door.lineTo(1.5, 14.5);
  door.closeSubpath();
  p.setBrush(kBrown);
  p.drawPath(door);
  p.setPen(Qt::NoPen);
  p.setBrush(kYellow);
  p.drawEllipse(QPointF(5.2, 9.2), 0.8, 0.8);

  QPainterPath arrow;
  arrow.moveTo(8, 7);
  arrow.lineTo(11.5, 7);
  arrow.lineTo(11.5, 4.5);
  arrow.lineTo(15.5, 8.5);
  arrow.lineTo(11.5, 12.5);
  arrow.lineTo(11.5, 10);
  arrow.lineTo(8, 10);
  arrow.closeSubpath();
  p.setPen(QPen(kInk, 0.9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(kPlayGreen);
  p.drawPath(arrow);
}

}  // namespace

QImage menuIcon(MenuIcon icon) {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);
  switch (icon) {
    case MenuIcon::HowToUse:
      drawBulb(p);
      break;
    case MenuIcon::Settings:
      drawGear(p);
      break;
    case MenuIcon::WordBook:
      drawBookWithPencil(p);
      break;
    case MenuIcon::Reader:
      drawSpeaking(p);
      break;
    case MenuIcon::Help:
      drawLetterDisc(p, kBlue, QStringLiteral("?"), Face::SansBold, 12, 0);
      break;
    case MenuIcon::WebPage:
      drawGlobe(p);
      break;
    case MenuIcon::Email:
      drawEnvelope(p);
      break;
    case MenuIcon::Exit:
      drawExit(p);
      break;
    case MenuIcon::Pause:
      drawPauseDisc(p);
      break;
    case MenuIcon::WordList:
      drawWordList(p);
      break;
    case MenuIcon::About:
      drawLetterDisc(p, QColor(0x1c, 0x8a, 0x9e), QStringLiteral("i"), Face::SerifBold, 13, 0);
      break;
  }
  return image;
}

}  // namespace artgen
