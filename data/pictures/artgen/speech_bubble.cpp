#include "speech_bubble.h"

#include "canvas.h"

namespace artgen {

QPainterPath bubblePath(const QRectF& body, bool tailLeft) {
  QPainterPath path;
  path.addRoundedRect(body, body.height() * 0.32, body.height() * 0.32);
  QPainterPath tail;
  const double baseY = body.bottom() - 2;
  if (tailLeft) {
    const double x = body.left() + body.width() * 0.22;
    tail.moveTo(x, baseY);
    tail.quadTo(x - 4, baseY + 10, x - 14, baseY + 16);
    tail.quadTo(x + 6, baseY + 12, x + 16, baseY);
  } else {
    const double x = body.right() - body.width() * 0.22;
    tail.moveTo(x, baseY);
    tail.quadTo(x + 4, baseY + 10, x + 14, baseY + 16);
    tail.quadTo(x - 6, baseY + 12, x - 16, baseY);
  }
  tail.closeSubpath();
  return path.united(tail).simplified();
}

void fillWithShadow(QPainter& p, const QPainterPath& path, const QColor& fill) {
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(QColor(0, 0, 0), 60));
  p.drawPath(path.translated(2, 3));
  p.setBrush(fill);
  p.drawPath(path);
}

}  // namespace artgen
