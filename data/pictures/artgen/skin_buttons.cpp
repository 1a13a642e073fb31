#include "skin_buttons.h"

#include <QPainterPath>

#include "canvas.h"
#include "palette.h"

namespace artgen {

namespace {

constexpr int kCellWidth = 18;
constexpr int kCellHeight = 21;

// How one push-button cell is built, from the outside in. Each ring is one
// pixel wide; the face fills the rest, with a shade row just above the bottom
// border (or just below the top one when pressed) for a hint of depth.
struct ButtonLook {
  QColor border;
  QColor ring1;  // second pixel from the edge
  QColor ring2;  // third pixel from the edge
  QColor face;
  QColor topRow;    // row 1 when no ring is drawn
  QColor shadeRow;  // row 19 (or row 2 when pressed) when no ring is drawn
  bool hasRings;
  bool pressed;
};

ButtonLook lookFor(int cell) {
  using namespace palette;
  const QColor white(255, 255, 255);
  switch (cell) {
    case 1:  // pressed: greyer face, shade at the top as if sunk in
      return {kButtonBorder,
              kButtonPressedFace,
              kButtonPressedFace,
              kButtonPressedFace,
              kButtonPressedShade,
              kButtonPressedFace,
              false,
              true};
    case 2:  // disabled
      return {kButtonDisabledBorder,
              kButtonDisabledFace,
              kButtonDisabledFace,
              kButtonDisabledFace,
              kButtonDisabledFace,
              kButtonDisabledFace,
              false,
              false};
    case 3:  // hot: orange frame inside the border
      return {kButtonBorder, kHotOuter, kHotInner, kButtonFace, white, kButtonShade, true, false};
    case 4:  // highlighted: blue frame inside the border
      return {kButtonBorder, kFocusOuter,  kFocusInner, kButtonFace,
              white,         kButtonShade, true,        false};
    default:  // normal
      return {kButtonBorder, kButtonFace,  kButtonFace, kButtonFace,
              white,         kButtonShade, false,       false};
  }
}

// One pixel of a cell. d is the distance to the nearest edge, which makes the
// rings follow the border all round and keeps every edge uniform along its
// length.
QColor cellPixel(const ButtonLook& look, int x, int y) {
  const int dx = std::min(x, kCellWidth - 1 - x);
  const int dy = std::min(y, kCellHeight - 1 - y);
  const int d = std::min(dx, dy);

  // Rounded corners: the very corner is empty, its two neighbours are half
  // covered by the border.
  if (dx == 0 && dy == 0) return Qt::transparent;
  if ((dx == 0 && dy == 1) || (dx == 1 && dy == 0)) return withAlpha(look.border, 110);
  if (dx == 1 && dy == 1) return look.hasRings ? mix(look.border, look.ring1, 0.5) : look.border;
  if (d == 0) return look.border;

  if (look.hasRings) {
    if (dx == 2 && dy == 2) return mix(look.ring1, look.ring2, 0.5);
    if (d == 1) return look.ring1;
    if (d == 2) return look.ring2;
    return look.face;
  }
  // Plain looks: a light row under the top border and a shade row above the
  // bottom one; pressed swaps them so the face seems sunk in.
  const int lightRow = look.pressed ? kCellHeight - 2 : 1;
  const int shadeRow = look.pressed ? 1 : kCellHeight - 2;
  if (y == lightRow && dx >= 1) return look.pressed ? look.face : look.topRow;
  if (y == shadeRow && dx >= 1) return look.pressed ? look.topRow : look.shadeRow;
  return look.face;
}

constexpr int kCaptionCell = 21;

struct CaptionLook {
  QColor base;
  QColor glyph;
  int glyphAlpha;
  int rimAlpha;
};

CaptionLook captionLookFor(CaptionGlyph glyph, int cell) {
  const QColor base =
      glyph == CaptionGlyph::Close ? palette::kCloseBase : palette::kCaptionButtonBase;
  const QColor white(255, 255, 255);
  switch (cell) {
    case 1:  // hot: lighter
      return {mix(base, white, 0.25), white, 255, 235};
    case 2:  // pressed: darker
      return {mix(base, QColor(0, 0, 0), 0.28), QColor(0xe8, 0xee, 0xf6), 255, 170};
    case 3: {  // disabled: faded towards grey
      const int grey = qGray(base.rgb());
      return {mix(base, QColor(grey, grey, grey), 0.7).lighter(115), QColor(0xe4, 0xe8, 0xee), 150,
              120};
    }
    default:
      return {base, white, 255, 200};
  }
}

void drawGlyph(QPainter& p, CaptionGlyph glyph, const QColor& ink, QPoint origin) {
  p.save();
  p.translate(origin);
  switch (glyph) {
    case CaptionGlyph::Close: {
      QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap);
      p.setPen(pen);
      p.drawLine(QPointF(6.5, 6.5), QPointF(14.5, 14.5));
      p.drawLine(QPointF(14.5, 6.5), QPointF(6.5, 14.5));
      break;
    }
    case CaptionGlyph::Maximise:
      // One window: thick title bar, thin sides, pixel-exact.
      p.fillRect(QRect(5, 5, 11, 3), ink);
      p.fillRect(QRect(5, 8, 1, 7), ink);
      p.fillRect(QRect(15, 8, 1, 7), ink);
      p.fillRect(QRect(5, 15, 11, 1), ink);
      break;
    case CaptionGlyph::Minimise:
      p.fillRect(QRect(7, 13, 7, 3), ink);
      break;
    case CaptionGlyph::Restore:
      // The back window shows only where the front one does not cover it.
      p.fillRect(QRect(8, 4, 9, 2), ink);
      p.fillRect(QRect(16, 6, 1, 6), ink);
      p.fillRect(QRect(14, 11, 2, 1), ink);
      p.fillRect(QRect(8, 6, 1, 2), ink);
      // Front window.
      p.fillRect(QRect(4, 8, 10, 3), ink);
      p.fillRect(QRect(4, 11, 1, 5), ink);
      p.fillRect(QRect(13, 11, 1, 5), ink);
      p.fillRect(QRect(4, 16, 10, 1), ink);
      break;
  }
  p.restore();
}

}  // namespace

QImage pushButtonStrip() {
  QImage image = transparentImage(kCellWidth * 5, kCellHeight);
  for (int cell = 0; cell < 5; ++cell) {
    const ButtonLook look = lookFor(cell);
    for (int y = 0; y < kCellHeight; ++y)
      for (int x = 0; x < kCellWidth; ++x)
        image.setPixelColor(cell * kCellWidth + x, y, cellPixel(look, x, y));
  }
  return image;
}

QImage captionButtonStrip(CaptionGlyph glyph) {
  QImage image = transparentImage(kCaptionCell * 4, kCaptionCell);
  SmoothPainter p(&image);
  for (int cell = 0; cell < 4; ++cell) {
    const CaptionLook look = captionLookFor(glyph, cell);
    const int x0 = cell * kCaptionCell;
    const QRectF body(x0 + 0.5, 0.5, kCaptionCell - 1, kCaptionCell - 1);

    // A rounded square with a soft white rim, so that it stands off the
    // caption gradient, and a slightly lighter top half for a little depth.
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, look.base.lighter(112));
    fill.setColorAt(0.5, look.base);
    fill.setColorAt(1, look.base.darker(108));
    p.setPen(QPen(withAlpha(QColor(255, 255, 255), look.rimAlpha), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, 3.5, 3.5);

    p.setOpacity(look.glyphAlpha / 255.0);
    // The glyphs are white on every base; a thin dark copy one pixel down
    // keeps them legible on the pale hot and disabled faces.
    p.setRenderHint(QPainter::Antialiasing, glyph == CaptionGlyph::Close);
    drawGlyph(p, glyph, withAlpha(look.base.darker(160), 90), QPoint(x0, 1));
    drawGlyph(p, glyph, look.glyph, QPoint(x0, 0));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setOpacity(1.0);
  }
  return image;
}

}  // namespace artgen
