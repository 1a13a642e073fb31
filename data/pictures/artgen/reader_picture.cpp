#include "reader_picture.h"

#include <QPainterPath>

#include "canvas.h"
#include "palette.h"
#include "speech_bubble.h"

namespace artgen {

namespace {

using namespace palette;

// The reader's form leaves a 1215 x 2415 twip column for the picture, between
// the character's name above and the check box below.
constexpr int kWidth = 81;
constexpr int kHeight = 161;

constexpr double kSpine = kWidth / 2.0;
constexpr double kPageTop = 84;
constexpr double kPageHeight = 46;
// How far the pages sag towards the spine.
constexpr double kSag = 6;

// One page from the spine out to `outerX`, its top and bottom edges curving
// down into the fold.
QPainterPath pagePath(double outerX) {
  const double middle = (outerX + kSpine) / 2;
  QPainterPath page;
  page.moveTo(outerX, kPageTop);
  page.quadTo(middle, kPageTop - kSag, kSpine, kPageTop + kSag);
  page.lineTo(kSpine, kPageTop + kSag + kPageHeight);
  page.quadTo(middle, kPageTop + kPageHeight - kSag, outerX, kPageTop + kPageHeight);
  page.closeSubpath();
  return page;
}

// Lines of text that follow the curve of a page.
void drawPageLines(QPainter& p, double outerX) {
  const double inset = outerX < kSpine ? 5 : -5;
  const double from = outerX + inset;
  const double to = kSpine - inset;
  const double middle = (from + to) / 2;
  for (int i = 0; i < 6; ++i) {
    const double y = kPageTop + 9 + i * 6.2;
    // The first line is a heading.
    QPainterPath line;
    line.moveTo(from, y);
    line.quadTo(middle, y - kSag * 0.9, to, y + kSag * 0.8);
    p.setPen(QPen(i == 0 ? kBlue : withAlpha(kGrey, 170), i == 0 ? 2.0 : 1.4, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(line);
  }
}

void drawBook(QPainter& p) {
  const double left = 5;
  const double right = kWidth - 5;
  const QPainterPath pages = pagePath(left).united(pagePath(right));

  // A soft shadow on the ground, then the cover and the stacked page edges.
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(QColor(0, 0, 0), 40));
  p.drawEllipse(QPointF(kSpine, kPageTop + kPageHeight + 9), 37, 4);
  p.setPen(QPen(kBlue.darker(125), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kBlue.darker(125));
  p.drawPath(pages.translated(0, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(kLightGrey);
  p.drawPath(pages.translated(0, 2));

  // Pages: white, shaded into the fold.
  for (double outer : {left, right}) {
    QLinearGradient paper(outer, 0, kSpine, 0);
    paper.setColorAt(0, kPaper);
    paper.setColorAt(0.75, kPaper);
    paper.setColorAt(1, mix(kPaper, kLightGrey, 0.8));
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(paper);
    p.drawPath(pagePath(outer));
    drawPageLines(p, outer);
  }
}

// A tricolore ribbon marking the page, hanging out of the fold.
void drawBookmark(QPainter& p) {
  const double top = kPageTop + kSag + kPageHeight - 2;
  const double bottom = top + 20;
  const double width = 9;
  const double left = kSpine - width / 2;
  QPainterPath ribbon;
  ribbon.moveTo(left, top);
  ribbon.lineTo(left + width, top);
  ribbon.lineTo(left + width, bottom);
  ribbon.lineTo(kSpine, bottom - 4);
  ribbon.lineTo(left, bottom);
  ribbon.closeSubpath();
  p.save();
  p.setClipPath(ribbon);
  p.fillRect(QRectF(left, top, width / 3, 30), kGreen);
  p.fillRect(QRectF(left + width / 3, top, width / 3, 30), kWhite);
  p.fillRect(QRectF(left + 2 * width / 3, top, width / 3, 30), kRed);
  p.restore();
  p.setPen(QPen(withAlpha(kInk, 150), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(ribbon);
}

// The bubble over the book, with the sound of the words read aloud.
void drawVoice(QPainter& p) {
  const QRectF body(9, 8, 66, 46);
  fillWithShadow(p, bubblePath(body, true), kPaper);
  p.setPen(QPen(kInk, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(bubblePath(body, true));

  // The dot and the widest arc centred in the body.
  const QPointF source(body.center().x() - 11, body.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(source, 3.5, 3.5);
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    const double r = 9 + i * 8;
    p.setPen(QPen(i == 2 ? kLightBlue : kBlue, 3.0, Qt::SolidLine, Qt::RoundCap));
    // Arcs open to the right, 100 degrees wide (Qt counts in sixteenths).
    p.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
  }
}

}  // namespace

QImage readerPicture() {
  QImage image = transparentImage(kWidth, kHeight);
  SmoothPainter p(&image);
  drawBook(p);
  drawBookmark(p);
  drawVoice(p);
  return image;
}

}  // namespace artgen
