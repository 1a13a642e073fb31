#include "core/screen_overlay.h"

#include <algorithm>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "core/screen_picture.h"
#include "gdi/surface.h"
#include "win/testing.h"

namespace win::detail {

namespace {

class OverlayWidget : public QWidget {
 public:
  OverlayWidget()
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
  }
  QImage image;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : e->region()) p.drawImage(r, image, r);
  }
};

struct Overlay {
  QPointer<OverlayWidget> widget;
};

Overlay& overlay() {
  static Overlay o;
  return o;
}

OverlayWidget& Widget(QSize size) {
  Overlay& o = overlay();
  if (!o.widget) {
    o.widget = new OverlayWidget;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { delete overlay().widget; });
  }
  if (o.widget->image.size() != size) {
    o.widget->image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    o.widget->image.fill(Qt::transparent);
  }
  return *o.widget;
}

}  // namespace

void ScreenDrawn(const ScreenPicture& picture) {
  // Only what was drawn on is compared; the rest of the picture is the screen.
  const QRect drawn = picture.drawn();
  if (!qApp || drawn.isEmpty()) return;
  const PixelBuffer& screen = *picture.buffer();
  const QImage& pristine = picture.pristine();
  const auto differs = [&](int x, int y) {
    const auto* a = reinterpret_cast<const QRgb*>(screen.row(y));
    const auto* b = reinterpret_cast<const QRgb*>(pristine.constScanLine(y));
    return ((a[x] ^ b[x]) & 0xFFFFFFu) != 0;
  };
  int left = drawn.right() + 1, top = drawn.bottom() + 1, right = -1, bottom = -1;
  for (int y = drawn.top(); y <= drawn.bottom(); ++y)
    for (int x = drawn.left(); x <= drawn.right(); ++x)
      if (differs(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = y;
      }
  if (right < 0) return;
  const QRect changed(QPoint(left, top), QPoint(right, bottom));
  OverlayWidget& w = Widget(picture.size());
  for (int y = changed.top(); y <= changed.bottom(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(screen.row(y));
    auto* out = reinterpret_cast<QRgb*>(w.image.scanLine(y));
    for (int x = changed.left(); x <= changed.right(); ++x)
      if (differs(x, y)) out[x] = a[x] | 0xFF000000u;
  }
  if (QScreen* s = QGuiApplication::primaryScreen()) w.setGeometry(s->geometry());
  w.show();
  w.raise();
  w.update(changed);
}

void ClearScreenOverlay() {
  Overlay& o = overlay();
  if (!o.widget) return;
  o.widget->image.fill(Qt::transparent);
  o.widget->hide();
}

QImage ScreenOverlayImage() {
  Overlay& o = overlay();
  return o.widget ? o.widget->image : QImage();
}

}  // namespace win::detail

namespace win::testing {

std::optional<COLORREF> ScreenOverlayPixel(int x, int y) {
  const QImage img = detail::ScreenOverlayImage();
  if (img.isNull() || !img.rect().contains(x, y)) return std::nullopt;
  const QRgb p = img.pixel(x, y);
  if (qAlpha(p) == 0) return std::nullopt;
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace win::testing
