#include "trainer_panels.h"

#include <QPainterPath>

#include "canvas.h"
#include "palette.h"
#include "speech_bubble.h"

namespace artgen {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
// The splash stands upright: the bar's start-up centres a 2000 x 3600 twip
// picture on the screen.
constexpr int kSplashWidth = 133;
constexpr int kSplashHeight = 240;
constexpr int kBandHeight = 6;

const QColor kDeepBlue{0x17, 0x3f, 0x7f};
const QColor kNightBlue{0x10, 0x2c, 0x5c};
const QColor kSoftText{0xc9, 0xdc, 0xf5};

// A deep blue ground with a faint sheen, a tricolore band along the bottom
// and a thin light rule above it.
void drawGround(QPainter& p, int width = kWidth, int height = kHeight) {
  QLinearGradient ground(0, 0, width * 0.35, height);
  ground.setColorAt(0, kDeepBlue.lighter(118));
  ground.setColorAt(1, kNightBlue);
  p.fillRect(QRect(0, 0, width, height), ground);

  // Large soft circles, barely visible, give the ground some life.
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(QColor(255, 255, 255), 10));
  p.drawEllipse(QPointF(width - 30, 20), 120, 120);
  p.setBrush(withAlpha(QColor(255, 255, 255), 8));
  p.drawEllipse(QPointF(20, height + 10), 110, 110);

  const int y = height - kBandHeight;
  const int third = width / 3;
  p.fillRect(QRect(0, y, third, kBandHeight), palette::kGreen);
  p.fillRect(QRect(third, y, width - 2 * third, kBandHeight), palette::kWhite);
  p.fillRect(QRect(width - third, y, third, kBandHeight), palette::kRed);
}

void drawBubble(QPainter& p, const QRectF& body, bool tailLeft, const QColor& fill,
                const QColor& ink, const QString& text, const QFont& font) {
  fillWithShadow(p, bubblePath(body, tailLeft), fill);
  p.setFont(font);
  p.setPen(ink);
  p.drawText(body, Qt::AlignCenter, text);
}

// The two bubbles of a conversation: Italian in front, English behind.
void drawConversation(QPainter& p, QPointF origin) {
  drawBubble(p, QRectF(origin + QPointF(34, 0), QSizeF(92, 42)), false, QColor(0x8e, 0xc0, 0xf5),
             kNightBlue, QStringLiteral("Hello!"), fontFor(Face::SansBold, 16));
  drawBubble(p, QRectF(origin + QPointF(0, 38), QSizeF(104, 50)), true, palette::kPaper, kDeepBlue,
             QStringLiteral("Ciao!"), fontFor(Face::SerifBoldItalic, 28));
  // The tricolore as a small ribbon on the front bubble.
  const QPointF r = origin + QPointF(12, 79);
  p.fillRect(QRectF(r, QSizeF(8, 3)), palette::kGreen);
  p.fillRect(QRectF(r + QPointF(8, 0), QSizeF(8, 3)), QColor(0xdd, 0xe2, 0xea));
  p.fillRect(QRectF(r + QPointF(16, 0), QSizeF(8, 3)), palette::kRed);
}

void drawText(QPainter& p, const QRectF& box, int flags, const QFont& font, const QColor& colour,
              const QString& text) {
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, flags, text);
}

}  // namespace

QImage splashPanel() {
  QImage image = opaqueImage(kSplashWidth, kSplashHeight, kDeepBlue);
  SmoothPainter p(&image);
  drawGround(p, kSplashWidth, kSplashHeight);
  drawConversation(p, QPointF(4, 18));

  drawText(p, QRectF(0, 116, kSplashWidth, 36), Qt::AlignHCenter | Qt::AlignVCenter,
           fontFor(Face::SerifBold, 27), QColor(255, 255, 255), QStringLiteral("Tavrinel"));
  const double rule = (kSplashWidth - 84) / 2.0;
  p.fillRect(QRectF(rule, 154, 28, 2), palette::kGreen);
  p.fillRect(QRectF(rule + 28, 154, 28, 2), palette::kWhite);
  p.fillRect(QRectF(rule + 56, 154, 28, 2), palette::kRed);
  drawText(p, QRectF(6, 160, kSplashWidth - 12, 36), Qt::AlignHCenter | Qt::TextWordWrap,
           fontFor(Face::Sans, 11), kSoftText, QStringLiteral("Italian conversation trainer"));
  drawText(p, QRectF(0, 200, kSplashWidth, 16), Qt::AlignHCenter | Qt::AlignVCenter,
           fontFor(Face::SerifItalic, 11), withAlpha(kSoftText, 200),
           QStringLiteral("Parliamo italiano!"));
  drawText(p, QRectF(0, 216, kSplashWidth, 14), Qt::AlignHCenter | Qt::AlignVCenter,
           fontFor(Face::Sans, 9), withAlpha(kSoftText, 220), QStringLiteral("Version 2.6"));
  return image;
}

QImage aboutPanel() {
  QImage image = opaqueImage(kWidth, kHeight, kDeepBlue);
  SmoothPainter p(&image);
  drawGround(p);

  // A small emblem: the window icon's bubble, drawn large.
  QPainterPath emblem = bubblePath(QRectF(22, 24, 56, 40), true);
  fillWithShadow(p, emblem, palette::kPaper);
  p.save();
  p.setClipPath(emblem);
  p.fillRect(QRectF(0, 0, 40, 90), palette::kGreen);
  p.fillRect(QRectF(60, 0, 40, 90), palette::kRed);
  p.restore();

  drawText(p, QRectF(96, 18, 210, 40), Qt::AlignLeft | Qt::AlignVCenter,
           fontFor(Face::SerifBold, 34), QColor(255, 255, 255), QStringLiteral("Tavrinel"));
  drawText(p, QRectF(98, 56, 210, 18), Qt::AlignLeft | Qt::AlignVCenter, fontFor(Face::Sans, 12),
           kSoftText, QStringLiteral("Version 2.6"));

  p.fillRect(QRectF(22, 88, kWidth - 44, 1), withAlpha(kSoftText, 90));
  drawText(p, QRectF(22, 96, kWidth - 44, 20), Qt::AlignLeft | Qt::AlignVCenter,
           fontFor(Face::SansBold, 13), QColor(255, 255, 255),
           QStringLiteral("Italian for English speakers"));
  drawText(p, QRectF(22, 118, kWidth - 44, 18), Qt::AlignLeft | Qt::AlignVCenter,
           fontFor(Face::Sans, 12), kSoftText, QStringLiteral("Sentences, speech and word books"));
  p.fillRect(QRectF(22, 146, kWidth - 44, 1), withAlpha(kSoftText, 90));
  drawText(p, QRectF(22, 158, kWidth - 44, 20), Qt::AlignLeft | Qt::AlignVCenter,
           fontFor(Face::SerifItalic, 13), withAlpha(kSoftText, 220),
           QStringLiteral("Made by the Tavrinel project"));
  return image;
}

}  // namespace artgen
