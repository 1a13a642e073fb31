#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>

#include "pose.h"

// Colours a character's JSON may set; each painter has its own defaults.
struct Palette {
  QColor main, dark, light, accent, skin;
};

// The character drawn in `pose` on a transparent square of `size` pixels.
// `kind` is "wizard", "fox" or "owl".
QImage PaintCharacter(const QString& kind, const Pose& pose, const Palette& palette, int size);

// Shared strokes, in the 128-unit square that every painter draws in, feet
// at the bottom centre.
namespace strokes {

// The hand's position for an arm from `shoulder` of `length` at `angle`
// degrees from hanging down, outwards on `side` (-1 left, +1 right).
QPointF Hand(QPointF shoulder, double length, double angle, int side);
void Arm(QPainter& p, QPointF shoulder, QPointF hand, double width, const QColor& sleeve,
         const QColor& handColor, double handRadius);
void Sparkles(QPainter& p, QPointF centre, int count, double phase, const QColor& color);
void Star(QPainter& p, QPointF centre, double radius, const QColor& color);
void Book(QPainter& p, QPointF centre, double width, const QColor& cover);
// Eyes with pupils; `open` 0 draws closed lids.
void Eye(QPainter& p, QPointF centre, double rx, double ry, double open, double lookX, double lookY,
         const QColor& white, const QColor& iris, double irisRadius);
void Mouth(QPainter& p, QPointF centre, double width, double open, double smile,
           const QColor& line);

}  // namespace strokes

void PaintWizard(QPainter& p, const Pose& pose, const Palette& c);
void PaintFox(QPainter& p, const Pose& pose, const Palette& c);
void PaintOwl(QPainter& p, const Pose& pose, const Palette& c);
