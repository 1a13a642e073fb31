#include "core/pointer_watch.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

namespace win::detail {

namespace {

// Watches the pointer events the display sends to the program's windows.
// While the pointer is over one of them, every move reaches the program and
// the last one says where it is; once it leaves, the display is asked again.
class PointerWatch : public QObject {
 public:
  explicit PointerWatch(QGuiApplication& app) : QObject(&app) { app.installEventFilter(this); }

  std::optional<QPoint> Position() const {
    if (!over_ || !over_->isVisible() || over_->windowState() == Qt::WindowMinimized ||
        !over_->geometry().contains(at_))
      return std::nullopt;
    return at_;
  }
  void Forget() { over_ = nullptr; }

 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (!target->isWindowType()) return false;
    auto* window = static_cast<QWindow*>(target);
    switch (e->type()) {
      // An entry alone is no proof: a window shown under a resting pointer
      // may be told of it by the toolkit rather than by the server. A move
      // the server sent is: from then on it sends every move until the
      // pointer leaves.
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        // While a button is held or the pointer is grabbed, moves outside
        // the window reach it too: Position() then finds the point outside
        // the window and sends the caller to the display.
        if (e->spontaneous()) {
          over_ = window;
          at_ = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
        }
        break;
      case QEvent::Leave:
        if (window == over_) over_ = nullptr;
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QPointer<QWindow> over_;
  QPoint at_;
};

PointerWatch* Watch() {
  // The application owns its watch: a new application (tests make one after
  // another) gets a new one.
  static QPointer<PointerWatch> watch;
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  if (!watch || watch->parent() != app) watch = std::make_unique<PointerWatch>(*app).release();
  return watch;
}

}  // namespace

std::optional<QPoint> PointerFromEvents() {
  PointerWatch* w = Watch();
  return w ? w->Position() : std::nullopt;
}

void ForgetPointer() {
  if (PointerWatch* w = Watch()) w->Forget();
}

}  // namespace win::detail
