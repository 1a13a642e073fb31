#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// The suite's speech bubble: a rounded body with a curved tail, laid on a
// soft drop shadow. The splash, the about picture and the reader's picture
// all draw it.
namespace artgen {

// A bubble whose tail points down to the left or right.
QPainterPath bubblePath(const QRectF& body, bool tailLeft);
// Fills `path` in `fill` over its shadow, offset down and to the right.
void fillWithShadow(QPainter& p, const QPainterPath& path, const QColor& fill);

}  // namespace artgen
