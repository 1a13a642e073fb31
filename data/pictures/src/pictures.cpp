#include "pictures/pictures.h"

namespace tavrinel::pictures {

QString path(QStringView group, QStringView name) {
  return QStringLiteral(":/pictures/%1/%2.png").arg(group, name);
}

std::optional<QImage> load(QStringView group, QStringView name) {
  QImage image(path(group, name));
  if (image.isNull()) return std::nullopt;
  return image;
}

std::optional<QImage> cell(const QImage& strip, QSize cellSize, int index) {
  if (strip.isNull() || cellSize.isEmpty() || index < 0) return std::nullopt;
  if (cellSize.height() > strip.height()) return std::nullopt;
  const int count = strip.width() / cellSize.width();
  if (index >= count) return std::nullopt;
  return strip.copy(index * cellSize.width(), 0, cellSize.width(), cellSize.height());
}

}  // namespace tavrinel::pictures
