#include "canvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>

namespace artgen {

QImage opaqueImage(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage transparentImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

QColor mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
  return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

SmoothPainter::SmoothPainter(QImage* image) : QPainter(image) {
  setRenderHint(QPainter::Antialiasing);
  setRenderHint(QPainter::TextAntialiasing);
  setRenderHint(QPainter::SmoothPixmapTransform);
}

namespace {

struct FaceInfo {
  const char* family;
  bool bold;
  bool italic;
};

FaceInfo infoFor(Face face) {
  switch (face) {
    case Face::Sans:
      return {"DejaVu Sans", false, false};
    case Face::SansBold:
      return {"DejaVu Sans", true, false};
    case Face::Serif:
      return {"Liberation Serif", false, false};
    case Face::SerifBold:
      return {"Liberation Serif", true, false};
    case Face::SerifBoldItalic:
      return {"Liberation Serif", true, true};
    case Face::SerifItalic:
      return {"Liberation Serif", false, true};
  }
  return {"DejaVu Sans", false, false};
}

}  // namespace

QFont fontFor(Face face, int pixelSize) {
  const FaceInfo info = infoFor(face);
  QFont font(QString::fromLatin1(info.family));
  font.setPixelSize(pixelSize);
  font.setBold(info.bold);
  font.setItalic(info.italic);
  // Full hinting would move glyphs by the machine's settings; unhinted
  // outlines give the same pixels wherever the fonts are the same.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

std::optional<QString> missingFontFamily() {
  for (Face face : {Face::Sans, Face::Serif}) {
    const QFont font = fontFor(face, 12);
    if (QFontInfo(font).family() != font.family()) return font.family();
  }
  return std::nullopt;
}

}  // namespace artgen
