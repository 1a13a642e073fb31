#include "contact_sheet.h"

#include <algorithm>

#include "canvas.h"

namespace artgen {

namespace {

constexpr int kMaxWidth = 2600;
constexpr int kGap = 24;
constexpr int kLabel = 22;

void fillChecker(QPainter& p, const QRect& area) {
  constexpr int kSquare = 8;
  for (int y = area.top(); y <= area.bottom(); y += kSquare)
    for (int x = area.left(); x <= area.right(); x += kSquare) {
      const bool dark = ((x - area.left()) / kSquare + (y - area.top()) / kSquare) % 2;
      p.fillRect(QRect(x, y, kSquare, kSquare).intersected(area),
                 dark ? QColor(0xcc, 0xcc, 0xcc) : QColor(0xf4, 0xf4, 0xf4));
    }
}

}  // namespace

QImage contactSheet(const std::vector<Picture>& pictures, int scale) {
  struct Placed {
    QImage image;
    QString label;
    QPoint at;
  };
  std::vector<Placed> placed;
  int x = kGap;
  int y = kGap;
  int rowHeight = 0;
  int width = 0;
  for (const Picture& picture : pictures) {
    const QImage image = picture.draw();
    const QSize size = image.size() * scale;
    const int cellWidth = std::max(size.width(), 150);
    if (x > kGap && x + cellWidth > kMaxWidth) {
      x = kGap;
      y += rowHeight + kLabel + kGap;
      rowHeight = 0;
    }
    placed.push_back({image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                      picture.group + "/" + picture.name, QPoint(x, y)});
    x += cellWidth + kGap;
    width = std::max(width, x);
    rowHeight = std::max(rowHeight, size.height());
  }
  QImage sheet = opaqueImage(width, y + rowHeight + kLabel + kGap, QColor(0x60, 0x66, 0x70));
  SmoothPainter p(&sheet);
  p.setFont(fontFor(Face::Sans, 13));
  for (const Placed& item : placed) {
    const QRect area(item.at, item.image.size());
    fillChecker(p, area);
    p.drawImage(item.at, item.image);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(item.at.x(), area.bottom() + 4, 400, kLabel), Qt::AlignLeft | Qt::AlignTop,
               item.label);
  }
  return sheet;
}

}  // namespace artgen
