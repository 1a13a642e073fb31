#include "core/screen_overlay.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>

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
  QImage pristine;
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

void NoteScreenPicture(const QImage& pristine) {
  overlay().pristine = pristine.convertToFormat(QImage::Format_RGB32);
}

void ScreenDrawn(const PixelBuffer& screen) {
  Overlay& o = overlay();
  if (!qApp || o.pristine.isNull()) return;
  const QImage now = ToQImage(screen).convertToFormat(QImage::Format_RGB32);
  if (now.size() != o.pristine.size()) return;
  QRect changed;
  for (int y = 0; y < now.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(now.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(o.pristine.constScanLine(y));
    for (int x = 0; x < now.width(); ++x)
      if ((a[x] ^ b[x]) & 0xFFFFFFu) changed |= QRect(x, y, 1, 1);
  }
  if (changed.isEmpty()) return;
  OverlayWidget& w = Widget(now.size());
  for (int y = changed.top(); y <= changed.bottom(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(now.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(o.pristine.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(w.image.scanLine(y));
    for (int x = changed.left(); x <= changed.right(); ++x)
      if ((a[x] ^ b[x]) & 0xFFFFFFu) out[x] = a[x] | 0xFF000000u;
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
