#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <optional>

namespace artgen {

// The key colour that a window region leaves out; only the rounded caption
// corners may carry it.
inline const QColor kKey{255, 0, 255};

// An opaque picture filled with one colour (skin pieces: no alpha, so that the
// key pixels stay exact).
QImage opaqueImage(int width, int height, const QColor& fill);
// A fully transparent picture for icons that sit on any background.
QImage transparentImage(int width, int height);

// a + (b - a) * t per channel, alpha included; t is clamped to 0..1.
QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor c, int alpha);

// A painter that antialiases shapes and text, for drawings whose size rules
// leave room for soft edges.
class SmoothPainter : public QPainter {
 public:
  explicit SmoothPainter(QImage* image);
};

// The fonts the pictures use. Each must resolve to the family asked for, or
// the pictures would silently change with whatever the machine substitutes.
enum class Face { Sans, SansBold, Serif, SerifBold, SerifBoldItalic, SerifItalic };
QFont fontFor(Face face, int pixelSize);
// The first family that does not resolve exactly, if any.
std::optional<QString> missingFontFamily();

}  // namespace artgen
