#include "skin_frame.h"

#include <QPainterPath>
#include <array>

#include "canvas.h"
#include "palette.h"

namespace artgen {

namespace {

constexpr int kBarWidth = 66;
constexpr int kBarHeight = 29;
constexpr int kEdge = 5;

struct FrameColours {
  QColor outline;
  QColor highlight;
  QColor top;
  QColor frame;
};

FrameColours coloursFor(Activation activation) {
  if (activation == Activation::Active)
    return {palette::kActiveOutline, palette::kActiveHighlight, palette::kActiveTop,
            palette::kActiveFrame};
  return {palette::kInactiveOutline, palette::kInactiveHighlight, palette::kInactiveTop,
          palette::kInactiveFrame};
}

// The colour of a caption row away from the ends: outline on top, a one-pixel
// highlight, then a gradient that ends in the frame colour, so that the bar's
// bottom row runs on into the side edges without a seam.
QColor rowColour(const FrameColours& c, int row) {
  if (row == 0) return c.outline;
  if (row == 1) return c.highlight;
  const double t = static_cast<double>(row - 2) / (kBarHeight - 3);
  return mix(c.top, c.frame, t);
}

// Key pixels per corner row, counted from the outer edge.
constexpr std::array<int, 5> kKeyRun{5, 3, 2, 1, 1};

// Pixels of one corner, addressed from the outer edge (x = 0 is the leftmost
// column of the left corner and the rightmost of the right one).
QColor cornerPixel(const FrameColours& c, Corners corners, int x, int y) {
  if (corners == Corners::Rounded && y < static_cast<int>(kKeyRun.size())) {
    const int keys = kKeyRun[y];
    if (x < keys) return kKey;
    // The outline follows the curve: two pixels where the curve is shallow.
    if (y == 1 && x < 5) return c.outline;
    if (y >= 2 && x == keys) return c.outline;
    // The highlight bends with the outline for a smooth inner edge.
    if (y == 2 && x <= 4) return c.highlight;
    if (y == 3 && x == 2) return mix(c.highlight, rowColour(c, y), 0.5);
  }
  if (x == 0) return c.outline;
  return rowColour(c, y);
}

}  // namespace

QImage captionBar(Activation activation, Corners corners) {
  const FrameColours c = coloursFor(activation);
  QImage image = opaqueImage(kBarWidth, kBarHeight, c.frame);
  for (int y = 0; y < kBarHeight; ++y) {
    for (int x = 0; x < kBarWidth; ++x) {
      const int fromEdge = std::min(x, kBarWidth - 1 - x);
      const QColor colour =
          fromEdge < kEdge ? cornerPixel(c, corners, fromEdge, y) : rowColour(c, y);
      image.setPixelColor(x, y, colour);
    }
  }
  return image;
}

QImage leftEdge(Activation activation) {
  const FrameColours c = coloursFor(activation);
  QImage image = opaqueImage(kEdge, 31, c.frame);
  for (int y = 0; y < image.height(); ++y) image.setPixelColor(0, y, c.outline);
  return image;
}

QImage rightEdge(Activation activation) {
  return leftEdge(activation).mirrored(true, false);
}

QImage bottomEdge(Activation activation) {
  const FrameColours c = coloursFor(activation);
  QImage image = opaqueImage(49, kEdge, c.frame);
  for (int x = 0; x < image.width(); ++x) image.setPixelColor(x, kEdge - 1, c.outline);
  return image;
}

QImage windowIcon() {
  QImage image = transparentImage(16, 16);
  SmoothPainter p(&image);

  // A bubble with its tail at the lower left, the flag's bands inside.
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(0.5, 1.5, 15, 10.5), 3, 3);
  QPainterPath tail;
  tail.moveTo(3, 11);
  tail.lineTo(2.5, 15.5);
  tail.lineTo(8, 11);
  tail.closeSubpath();
  const QPainterPath shape = bubble.united(tail).simplified();

  p.setPen(Qt::NoPen);
  p.setBrush(palette::kPaper);
  p.drawPath(shape);
  p.save();
  p.setClipPath(shape);
  p.fillRect(QRectF(0, 0, 5.5, 12), palette::kGreen);
  p.fillRect(QRectF(10.5, 0, 6, 12), palette::kRed);
  p.restore();
  p.setPen(QPen(palette::kInk, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shape);
  return image;
}

}  // namespace artgen
